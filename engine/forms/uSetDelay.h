#pragma once
// The device parameters window: power-on delay, USB time-out and the option
// bits of WorkParam that the runs use.
#include "engine/Global.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;

// What the window shows and collects, apart from the widgets.
struct TDeviceParameters {
    std::string PowerOnDelayText; // the text of the delay field, converted on OK
    int32_t UsbTimeOut = 0;
    uint32_t OptionBits = 0;      // WorkParam bits of the check boxes, set when checked
};

// WorkParam bits this window edits; all others are kept as they are.
constexpr uint32_t SetDelayOptionMask = wpAskBeforeWrite | wpParametersOption | wpVerifyAfterWrite |
                                        wpCloseAfterRead | wpCloseAfterWrite | wpCloseAfterVerify |
                                        wpIgnoreOverload | wpPinTestBeforeRun;
// Allowed range of both spin fields.
constexpr int SetDelayMinimum = 1;
constexpr int SetDelayMaximum = 1000;

// Applies the values to PowerOnDelay, UsbTimeOut and WorkParam, all or
// nothing: a delay text that is not an integer from 1 to 1000 changes no
// setting. Returns the error text for the user, empty on success.
std::string ApplyDeviceParameters(const TDeviceParameters& values);

class TfmSetDelay : public QDialog {
    Q_OBJECT
public:
    explicit TfmSetDelay(QWidget* parent = nullptr);

    // What the window would apply now.
    TDeviceParameters Values() const;

    // 1 after OK, 0 otherwise (the window's Tag).
    int Tag = 0;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QLabel* Label1;
    QSpinBox* SpinEdit1;
    QLabel* Label7;
    QLabel* Label3;
    QSpinBox* SpinEdit2;
    QLabel* Label2;
    QCheckBox* CheckBox10;
    QCheckBox* cbAckWrite;
    QCheckBox* cbAckWriteChanges;
    QCheckBox* cbVerify;
    QCheckBox* cbPinTest;
    QGroupBox* GroupBox7;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;

    void FormShow();
    void SpeedButton1Click();
    void SpeedButton2Click();

signals:
    // Help button: the help topic to open.
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void relabel();
    // Each check box with the bit it stands for.
    std::vector<std::pair<QCheckBox*, uint32_t>> bitBoxes() const;
};

// Shows the window modally: 0 after OK, 1 after Cancel.
int ShowSetDelayDialog(TfmSetDelay& form);
