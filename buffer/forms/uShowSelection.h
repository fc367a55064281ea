#pragma once
// The selection view: the selected bytes as one number in hexadecimal,
// octal and decimal, with byte transformations, an XOR value and a shift.
#include "buffer/uShowSelection.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfmShowSelection : public QDialog {
    Q_OBJECT
public:
    explicit TfmShowSelection(QWidget* parent = nullptr);

    // Set by the caller before showing: the selected bytes, first first.
    std::array<uint8_t, SelectionSourceCapacity> SourceBytes{};
    int SourceCount = 0;
    // Shift chosen with the arrow buttons; negative: to the left.
    int BitShift = 0;
    TShiftTexts ShiftTexts; // "Shift on", "bit(s)", "to the left", "to the right"

    QGroupBox* GroupBox1;
    QLabel* Panel1;
    QGroupBox* GroupBox3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Panel2;
    QLabel* Panel3;
    QLabel* Panel4;
    QGroupBox* GroupBox2;
    QCheckBox* CheckBox1; // swap bytes
    QCheckBox* CheckBox2; // swap nibbles
    QCheckBox* CheckBox3; // mirror bits
    QCheckBox* CheckBox4; // invert
    QCheckBox* CheckBox5; // reverse byte order
    QCheckBox* CheckBox6; // XOR by
    QLineEdit* Edit1;
    QLabel* Label4;
    QPushButton* Button1; // << Left
    QPushButton* Button2; // Right >>
    QPushButton* Button3; // Reset
    QPushButton* SpeedButton1; // OK

    // Fills the source panel and runs the conversion (on show).
    void FormShow();
    // Shows the conversion of the source with the current choices.
    void Convert();
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void relabel();
    QGroupBox* buildResult();
    QGroupBox* buildConversion();
};
