#pragma once
// The copy-area dialog: the source file (from the recent source files or
// browsed) and where in it the area starts.
#include <QDialog>

#include <cstdint>
#include <string>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TfmInsertFromFile : public QDialog {
    Q_OBJECT
public:
    explicit TfmInsertFromFile(QWidget* parent = nullptr);

    int32_t CustomAddress = 0; // the custom source offset, set on OK

    QGroupBox* GroupBox1;
    QComboBox* ComboBox1;
    QPushButton* Button1; // Browse
    QGroupBox* GroupBox2;
    QRadioButton* RadioButton1; // the same area as selected
    QRadioButton* RadioButton2; // from the beginning
    QRadioButton* RadioButton3; // from the custom address
    QLineEdit* Edit1;
    QPushButton* SpeedButton2; // Copy
    QPushButton* SpeedButton1; // Cancel

    // The chosen source file (code page 1251), empty when none.
    std::string SourceFileName() const;

    void FormShow();
    // A file name that Browse brought back: listed (and added to the recent
    // source files when new) and chosen.
    void AddSourceFile(const std::string& name);
    void Button1Click();
    // Copy: checks the custom address; OK, or "Incorrect address".
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void relabel();
    void refillFiles();
    void updateEdit1();
};
