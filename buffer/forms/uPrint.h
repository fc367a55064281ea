#pragma once
// The print dialog: range, target (printer or text file), description and
// grid; PrintDump then prints the active view's range or writes it as text.
// Where no printer is installed the printer target writes a PDF file beside
// the text dumps (or where the printer setup dialog chose).
#include "buffer/uPrint.h"

#include <QDialog>
#include <QPrinter>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class THexDump;

class TfmPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfmPrint(QWidget* parent = nullptr);

    // Set by the caller before showing.
    bool HasSelection = false;
    std::string ChipText;
    // The parsed address area.
    int64_t AreaStart = -1;
    int64_t AreaEnd = -1;
    std::string WrongAreaText = "Wrong address area.";

    QGroupBox* GroupBox3;
    QLabel* Label1;
    QRadioButton* rbAllEditor;
    QRadioButton* rbSelectedArea;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton1;
    QLineEdit* Edit2;
    QCheckBox* CheckBox1;
    QPlainTextEdit* Memo1;
    QComboBox* ComboBox1;
    QPushButton* btPrintSetup;
    QLabel* StaticText1;
    QGroupBox* GroupBox2;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QCheckBox* cbShowGrid;
    QCheckBox* CheckBox2;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton1;

    void ComboBox1Change();
    void CheckBox1Click();
    void RangeClick();
    void FormShow();
    void btPrintSetupClick();
    void Button1Click();
    void SpeedButton2Click();

    // The range chosen by the radio buttons.
    TPrintRange Range() const;
    bool ToFile() const;
    // What PrintDump would print from the view.
    TPrintJob Job(const THexDump& view) const;
    // Prints or writes the chosen range of the view; false when that failed
    // (the failure was shown) or the user would not have a file replaced.
    bool PrintDump(THexDump& view);

    // The printer the dialog prints on (tests point it at a PDF file).
    QPrinter& Printer() { return printer_; }
    // The PDF file the printer target writes where no printer is installed.
    std::string PdfFileName() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPrinter printer_{QPrinter::HighResolution};
    // The printer setup dialog chose the PDF file itself.
    bool pdfChosen_ = false;

    void BuildControls();
    void ApplyLanguage();
    void ApplyParameters();
    void ShowPrinterName();
    bool PrintToPrinter(const THexDump& view, std::string& error);
};
