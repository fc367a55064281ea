#include "buffer/forms/uPrint.h"

#include "buffer/FileServFiles.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/uPrintCanvas.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/DateTime.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/forms/ButtonRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString text(const TLanguageGroup& group, int offset, const char* own)
{
    return Cp1251ToQString(group.Text(offset, own));
}

std::vector<std::string> MemoLines(const QPlainTextEdit& memo)
{
    // As a memo's lines: none when empty, no empty line after a last break.
    QString all = memo.toPlainText();
    if (all.endsWith(QLatin1Char('\n')))
        all.chop(1);
    std::vector<std::string> lines;
    if (all.isEmpty() && memo.toPlainText().isEmpty())
        return lines;
    for (const QString& line : all.split(QLatin1Char('\n')))
        lines.push_back(QStringToCp1251(line));
    return lines;
}

} // namespace

TfmPrint::TfmPrint(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmPrint"));
    BuildControls();
    ApplyLanguage();
    ApplyParameters();
    ComboBox1Change();
    CheckBox1Click();
    RangeClick();
    if (PrintFolder.empty())
        PrintFolder = DefaultPrintFolder();
}

void TfmPrint::BuildControls()
{
    setWindowTitle(QStringLiteral("Print"));
    GroupBox3 = new QGroupBox(QStringLiteral("Parameters"), this);
    Label1 = new QLabel(QStringLiteral("Print"), GroupBox3);
    rbAllEditor = new QRadioButton(QStringLiteral("The whole file"), GroupBox3);
    rbSelectedArea = new QRadioButton(QStringLiteral("Selected area"), GroupBox3);
    RadioButton3 = new QRadioButton(QStringLiteral("Editor screen"), GroupBox3);
    RadioButton1 = new QRadioButton(QStringLiteral("Address area"), GroupBox3);
    Edit2 = new QLineEdit(QStringLiteral("0-128"), GroupBox3);
    CheckBox1 = new QCheckBox(QStringLiteral("Add description"), GroupBox3);
    Memo1 = new QPlainTextEdit(GroupBox3);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ComboBox1 = new QComboBox(GroupBox3);
    ComboBox1->addItems({QStringLiteral("To printer"), QStringLiteral("To file (text dump)")});
    btPrintSetup = new QPushButton(QStringLiteral("Printer setup..."), GroupBox3);
    StaticText1 = new QLabel(GroupBox3);
    StaticText1->setAlignment(Qt::AlignCenter);
    GroupBox2 = new QGroupBox(QStringLiteral("File name"), GroupBox3);
    Edit1 = new QLineEdit(GroupBox2);
    Button1 = new QPushButton(QStringLiteral("..."), GroupBox2);
    Button1->setFixedWidth(Button1->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    cbShowGrid = new QCheckBox(QStringLiteral("Show grid"), GroupBox3);
    CheckBox2 = new QCheckBox(QStringLiteral("Merge"), GroupBox3);
    SpeedButton2 = new QPushButton(QStringLiteral("Print"), this);
    SpeedButton2->setDefault(true);
    SpeedButton1 = new QPushButton(QStringLiteral("Cancel"), this);

    auto* file = new QHBoxLayout(GroupBox2);
    file->addWidget(Edit1, 1);
    file->addWidget(Button1);

    auto* range = new QGridLayout;
    range->addWidget(rbAllEditor, 0, 0);
    range->addWidget(rbSelectedArea, 1, 0);
    range->addWidget(RadioButton3, 0, 1);
    range->addWidget(RadioButton1, 1, 1);
    range->addWidget(Edit2, 2, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(cbShowGrid);
    options->addWidget(CheckBox2);
    options->addStretch(1);

    auto* group = new QVBoxLayout(GroupBox3);
    group->addWidget(Label1);
    group->addLayout(range);
    group->addWidget(CheckBox1);
    group->addWidget(Memo1, 1);
    group->addWidget(ComboBox1);
    group->addWidget(btPrintSetup);
    group->addWidget(StaticText1);
    group->addWidget(GroupBox2);
    group->addLayout(options);

    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});
    auto* form = new QVBoxLayout(this);
    form->addWidget(GroupBox3, 1);
    form->addLayout(buttons);
    resize(460, 520);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    for (QRadioButton* button : {rbAllEditor, rbSelectedArea, RadioButton3, RadioButton1})
        connect(button, &QRadioButton::toggled, this, [this] { RangeClick(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { ShowPrinterName(); });
    connect(btPrintSetup, &QPushButton::clicked, this, [this] { btPrintSetupClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { reject(); });
}

void TfmPrint::ApplyLanguage()
{
    const TLanguageGroup group("[PRINT]");
    setWindowTitle(text(group, 1, "Print"));
    GroupBox3->setTitle(text(group, 2, "Parameters"));
    rbAllEditor->setText(text(group, 3, "The whole file"));
    rbSelectedArea->setText(text(group, 4, "Selected area"));
    RadioButton3->setText(text(group, 5, "Editor screen"));
    RadioButton1->setText(text(group, 6, "Address area"));
    CheckBox1->setText(text(group, 7, "Add description"));
    Label1->setText(text(group, 8, "Print"));
    ComboBox1->setItemText(0, text(group, 9, "To printer"));
    ComboBox1->setItemText(1, text(group, 10, "To file (text dump)"));
    GroupBox2->setTitle(text(group, 12, "File name"));
    btPrintSetup->setText(text(group, 13, "Printer setup..."));
    SpeedButton2->setText(text(group, 14, "Print"));
    WrongAreaText = group.Text(15, WrongAreaText);
    cbShowGrid->setText(text(group, 16, "Show grid"));
    SpeedButton1->setText(text(TLanguageGroup("[COMMON_BUTTONS]"), 2, "Cancel"));
}

void TfmPrint::ApplyParameters()
{
    ComboBox1->setCurrentIndex(PrintParameters & ppToFile ? 1 : 0);
    CheckBox1->setChecked(PrintParameters & ppAddDescription);
    cbShowGrid->setChecked(PrintParameters & ppShowGrid);
    QRadioButton* const ranges[] = {rbAllEditor, rbSelectedArea, RadioButton3, RadioButton1};
    ranges[PrintParameters & ppRangeMask]->setChecked(true);
}

void TfmPrint::ComboBox1Change()
{
    const bool toFile = ToFile();
    GroupBox2->setVisible(toFile);
    btPrintSetup->setVisible(!toFile);
    StaticText1->setVisible(!toFile);
}

void TfmPrint::CheckBox1Click()
{
    Memo1->setEnabled(CheckBox1->isChecked());
}

void TfmPrint::RangeClick()
{
    const bool area = RadioButton1->isChecked();
    Edit2->setEnabled(area);
    QPalette palette = Edit2->palette();
    palette.setColor(QPalette::Base, area ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xC0, 0xC0, 0xC0));
    Edit2->setPalette(palette);
}

void TfmPrint::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfmPrint::FormShow()
{
    // Without a printer the printer target writes a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty() && !pdfChosen_)
        printer_.setOutputFormat(QPrinter::PdfFormat);
    rbSelectedArea->setEnabled(HasSelection);
    if (rbSelectedArea->isChecked() && !HasSelection)
        rbAllEditor->setChecked(true);
    const std::string date = DateToStr(QDate::currentDate());
    const std::string time = TimeToStr(QTime::currentTime());
    Memo1->clear();
    for (const std::string& line : PrintDescriptionLines(ChipText, date, time))
        Memo1->appendPlainText(Cp1251ToQString(line));
    Edit1->setText(Cp1251ToQString(DefaultPrintFileName(PrintFolder, ChipText, date, time)));
    ShowPrinterName();
}

std::string TfmPrint::PdfFileName() const
{
    if (pdfChosen_)
        return QStringToPath(printer_.outputFileName());
    return ChangeFileExt(QStringToPath(Edit1->text()), ".pdf");
}

void TfmPrint::ShowPrinterName()
{
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        StaticText1->setText(Cp1251ToQString(ExtractFileName(PdfFileName())));
    else
        StaticText1->setText(printer_.printerName());
}

void TfmPrint::btPrintSetupClick()
{
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        printer_.setOutputFileName(QString::fromStdString(NativePath(PdfFileName())));
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted)
        pdfChosen_ = printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
    ShowPrinterName();
}

void TfmPrint::Button1Click()
{
    QFileDialog dialog(this, QString(), QString::fromStdString(NativePath(PrintFolder)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(DialogFilters("*.txt|*.txt"));
    dialog.selectFile(Cp1251ToQString(ExtractFileName(QStringToPath(Edit1->text()))));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string chosen = QStringToPath(dialog.selectedFiles().first());
    Edit1->setText(Cp1251ToQString(chosen));
    PrintFolder = ExtractFilePath(chosen);
}

TPrintRange TfmPrint::Range() const
{
    if (rbSelectedArea->isChecked())
        return prSelectedArea;
    if (RadioButton3->isChecked())
        return prEditorScreen;
    if (RadioButton1->isChecked())
        return prAddressArea;
    return prWholeBuffer;
}

bool TfmPrint::ToFile() const
{
    return ComboBox1->currentIndex() == 1;
}

void TfmPrint::SpeedButton2Click()
{
    PrintParameters = Range() | (ToFile() ? ppToFile : 0) | (CheckBox1->isChecked() ? ppAddDescription : 0) |
                      (cbShowGrid->isChecked() ? ppShowGrid : 0);
    PrintFileName = QStringToPath(Edit1->text());
    if (Range() == prAddressArea && !ParsePrintArea(QStringToCp1251(Edit2->text()), AreaStart, AreaEnd)) {
        ShowMessageBox(WrongAreaText, "Tarku", MB_OK | MB_ICONWARNING);
        return;
    }
    accept();
}

TPrintJob TfmPrint::Job(const THexDump& view) const
{
    TPrintJob job;
    job.Span = PrintSpan(Range(), view.Buffer(), view.Edit().TopIndex, view.Edit().LastRowIndex, AreaStart, AreaEnd);
    job.WordMode = view.Edit().WordMode;
    job.Grid = cbShowGrid->isChecked();
    job.AddDescription = CheckBox1->isChecked();
    job.Description = MemoLines(*Memo1);
    return job;
}

bool TfmPrint::PrintDump(THexDump& view)
{
    std::string error;
    bool done;
    if (ToFile())
        done = WritePrintFile(QStringToPath(Edit1->text()), CheckBox2->isChecked(), view.Buffer(), Job(view), error);
    else
        done = PrintToPrinter(view, error);
    if (!done) {
        if (!error.empty())
            ShowMessageBox(error, "Tarku", MB_OK | MB_ICONERROR);
    }
    // The target still reads "To printer": where the pages went instead is
    // told, or nobody would look for them.
    else if (!ToFile() && printer_.outputFormat() == QPrinter::PdfFormat && !pdfChosen_)
        ShowMessageBox("No printer is installed: the dump was printed to the file \"" + DisplayPath(PdfFileName()) +
                           "\".",
                       "Tarku", MB_OK | MB_ICONINFORMATION);
    return done;
}

bool TfmPrint::PrintToPrinter(const THexDump& view, std::string& error)
{
    if (printer_.outputFormat() != QPrinter::PdfFormat)
        return PrintOnPrinter(printer_, view.Buffer(), Job(view), error);
    const std::string pdf = PdfFileName();
    if (!pdfChosen_) {
        if (!ForceDirectories(ExtractFilePath(NativePath(pdf)))) {
            error = "Cannot create the folder \"" + ExtractFilePath(pdf) + "\".";
            return false;
        }
        // Nobody chose this name (it follows the text file's): a file of it
        // is replaced only when the user agrees.
        if (FileExists(NativePath(pdf)) && !AskReplaceFile(pdf))
            return false;
    }
    return PrintToPdfFile(pdf, printer_, view.Buffer(), Job(view), error);
}
