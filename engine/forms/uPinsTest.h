#pragma once
// The pin tester window: the result of the pin contact test beside the
// chip's picture, with a button that repeats the test after the chip was
// reseated. Modal, in run mode (Continue and Cancel, shown by a run whose
// pin test failed) or in plain mode (Close).
#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// The result lines of a pin test: one text alone when the high byte is set
// (no chip, or its ground without contact), else one line per pin 1 to 8.
std::vector<std::string> PinTestLines(int16_t result, const std::string& notConnectedText,
                                      const std::string& chipNotInsertedText);

class TfmPinsTest : public QDialog {
    Q_OBJECT
public:
    explicit TfmPinsTest(QWidget* parent = nullptr);

    // Set by the caller before showing.
    int16_t Result = 0;
    uint8_t Mask = 0;
    bool RunMode = false;

    // Texts (code page 1251).
    std::string NotConnectedText = "not connected";
    std::string ChipNotInsertedText = "Chip not inserted or GND pin not connected.";
    std::string Title = "Pin tester";
    std::string CloseText = "Close";
    std::string ContinueText = "Continue";

    // The chip picture from a file (native path); empty or unreadable:
    // no picture.
    void LoadPicture(const std::string& path);

    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Memo1;
    QPushButton* SpeedButton3; // repeat the test
    QPushButton* SpeedButton1; // Close, or Continue in run mode
    QPushButton* SpeedButton2; // Cancel (run mode)

    // Sizes the window to the picture, lays out the buttons and fills the
    // result lines; run by every showing.
    void FormShow();
    void FillMemo();
    void SpeedButton3Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
};
