#pragma once
// The fill dialog: a pattern of hexadecimal digits and the area to fill
// (whole buffer or selection). Also serves XOR with a pattern.
#include <QDialog>

#include <string>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFillForm : public QDialog {
    Q_OBJECT
public:
    explicit TFillForm(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;
    QGroupBox* GroupBox2;
    QRadioButton* RadioButton3; // "Global"
    QRadioButton* RadioButton4; // "Selected area"
    QPushButton* SpeedButton2;  // OK
    QPushButton* SpeedButton1;  // Cancel

    // Removes the blanks from Edit1 and tells whether it holds a pattern.
    bool VerifyPattern();

    // Before showing: without a selection only "Global" can be chosen.
    void SetSelectionAvailable(bool available);
    // After OK: the pattern, upper-cased, and whether only the selection
    // is filled.
    std::string PatternText() const;
    bool SelectedAreaOnly() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void relabel();
    void Edit1Change();
};
