#include "buffer/forms/uPrint.h"

#include "Screenshot.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/uPrintCanvas.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"
#include "ModalAnswer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

class PrintDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousHandler = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return IDOK;
        });
        PrintFolder = dir.path() + "/Print/";
        view.SetSize(20);
        for (int i = 0; i < 20; ++i)
            view.Buffer().Data[size_t(i)] = uint8_t(0x40 + i);
    }
    void TearDown() override { SetMessageBoxHandler(previousHandler); }

    // Runs the dialog modally; `answer` is played once it shows. A dialog
    // still open after the ceiling is rejected and fails the test.
    int ExecAnswered(TfmPrint& form, const std::function<void()>& answer)
    {
        return testsupport::RunModalAnswered(form, answer);
    }

    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
    MessageBoxHandler previousHandler;
    std::vector<std::string> messages;
    THexDump view;
};

// The language group of a tag, filled from the shipped Russian file.
void AddRussianGroup(const std::string& tag, const std::string& section, const std::vector<const char*>& keys)
{
    const TIniFile ini(testsupport::DataPath("Languages/ru.lng"));
    AddLanguageTag(LanguageTexts, tag);
    for (const char* key : keys)
        LanguageTexts.Add(ini.ReadString(section, key, "?"));
}

void AddRussianTables()
{
    AddRussianGroup("[COMMON_BUTTONS]", "Common buttons",
                    {"Apply", "Cancel", "Help", "Close", "Select", "Change", "Browse", "Copy", "Continue",
                     "Use config", "Insert", "Find", "Cancel", "Find next", "Save", "Refresh"});
    AddRussianGroup("[PRINT]", "Print",
                    {"Caption", "Parameters", "Whole file", "Selected area", "Editor screen", "Address area",
                     "Add description", "Print", "To printer", "To file", "Folder", "File name", "Printer setup",
                     "Print button", "Wrong address area", "Show grid"});
}

int PdfPages(const std::string& bytes)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).count(page));
}

struct ParameterCase {
    int32_t bits;
    int combo;
    bool description, grid;
    int range;
};

class PrintParametersOnCreation : public PrintDialog, public ::testing::WithParamInterface<ParameterCase> {};

TEST_P(PrintParametersOnCreation, SetTheControls)
{
    const ParameterCase& c = GetParam();
    PrintParameters = c.bits;
    TfmPrint form;
    EXPECT_EQ(form.ComboBox1->currentIndex(), c.combo);
    EXPECT_EQ(form.CheckBox1->isChecked(), c.description);
    EXPECT_EQ(form.Memo1->isEnabled(), c.description);
    EXPECT_EQ(form.cbShowGrid->isChecked(), c.grid);
    EXPECT_EQ(int(form.Range()), c.range);
    EXPECT_EQ(form.Edit2->isEnabled(), c.range == prAddressArea);
    EXPECT_EQ(form.GroupBox2->isVisibleTo(&form), c.combo == 1);
    EXPECT_EQ(form.btPrintSetup->isVisibleTo(&form), c.combo == 0);
    EXPECT_EQ(form.StaticText1->isVisibleTo(&form), c.combo == 0);
}

INSTANTIATE_TEST_SUITE_P(Bits, PrintParametersOnCreation,
                         ::testing::Values(ParameterCase{0, 0, false, false, 0},
                                           ParameterCase{ppToFile | 2, 1, false, false, 2},
                                           ParameterCase{ppAddDescription | 1, 0, true, false, 1},
                                           ParameterCase{ppShowGrid | ppToFile | 3, 1, false, true, 3},
                                           ParameterCase{0x3B, 1, true, true, 3}));

TEST_F(PrintDialog, EnglishCaptionsAndEmptyFolderDefault)
{
    PrintFolder.clear();
    TfmPrint form;
    EXPECT_EQ(form.windowTitle(), "Print");
    EXPECT_EQ(form.rbAllEditor->text(), "The whole file");
    EXPECT_EQ(form.ComboBox1->itemText(1), "To file (text dump)");
    EXPECT_EQ(form.SpeedButton1->text(), "Cancel");
    EXPECT_EQ(form.WrongAreaText, "Wrong address area.");
    EXPECT_EQ(PrintFolder, DefaultPrintFolder());
}

TEST_F(PrintDialog, RussianCaptions)
{
    AddRussianTables();
    TfmPrint form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Печать"));
    EXPECT_EQ(form.RadioButton1->text(), QString::fromUtf8("Область адресов"));
    EXPECT_EQ(form.cbShowGrid->text(), QString::fromUtf8("Показывать сетку"));
    EXPECT_EQ(Cp1251ToQString(form.WrongAreaText), QString::fromUtf8("Неверная область адресов"));
    EXPECT_EQ(form.SpeedButton1->text(), QString::fromUtf8("Отмена"));
}

TEST_F(PrintDialog, ShowFillsDescriptionAndFileName)
{
    PrintParameters = prSelectedArea;
    TfmPrint form;
    form.ChipText = "24C02";
    form.FormShow();
    // Without a selection the selected area cannot be chosen.
    EXPECT_FALSE(form.rbSelectedArea->isEnabled());
    EXPECT_TRUE(form.rbAllEditor->isChecked());
    const QStringList memo = form.Memo1->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(memo.size(), 2);
    EXPECT_TRUE(memo[0].startsWith(QStringLiteral(" CHIP: 24C02, Date: "))) << memo[0].toStdString();
    EXPECT_EQ(memo[1], QStringLiteral(" ") + QString(51, QLatin1Char('-')));
    const QString name = form.Edit1->text();
    EXPECT_TRUE(name.startsWith(QString::fromStdString(PrintFolder + "24C02 "))) << name.toStdString();
    EXPECT_TRUE(name.endsWith(QStringLiteral(" dump.txt")));
    EXPECT_FALSE(name.mid(int(PrintFolder.size())).contains(QLatin1Char(':')));

    form.HasSelection = true;
    form.FormShow();
    EXPECT_TRUE(form.rbSelectedArea->isEnabled());
}

TEST_F(PrintDialog, PrintKeepsTheChoicesAndRefusesABadArea)
{
    TfmPrint form;
    form.RadioButton1->setChecked(true);
    form.ComboBox1->setCurrentIndex(1);
    form.cbShowGrid->setChecked(true);
    form.Edit2->setText(QStringLiteral("128-0"));
    const int result = ExecAnswered(form, [&] {
        // Showing names the file afresh.
        form.Edit1->setText(QStringLiteral("/x/y.txt"));
        form.SpeedButton2->click();
        EXPECT_TRUE(form.isVisible()) << "a bad area keeps the dialog open";
        form.Edit2->setText(QStringLiteral("0x10-0x20"));
        form.SpeedButton2->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(messages, std::vector<std::string>{"Wrong address area."});
    EXPECT_EQ(form.AreaStart, 16);
    EXPECT_EQ(form.AreaEnd, 32);
    EXPECT_EQ(PrintParameters, prAddressArea | ppToFile | ppShowGrid);
    EXPECT_EQ(PrintFileName, "/x/y.txt");
}

TEST_F(PrintDialog, CancelEndsTheDialog)
{
    TfmPrint form;
    EXPECT_EQ(ExecAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Rejected);
}

TEST_F(PrintDialog, TextFileHoldsTheChosenLines)
{
    TfmPrint form;
    form.FormShow();
    form.ComboBox1->setCurrentIndex(1);
    form.CheckBox1->setChecked(true);
    form.Memo1->setPlainText(QStringLiteral("first\nsecond"));
    form.RadioButton1->setChecked(true);
    form.Edit2->setText(QStringLiteral("0x13-0x15"));
    form.SpeedButton2Click();
    const std::string name = dir.file("out/print.txt");
    form.Edit1->setText(QString::fromStdString(name));
    ASSERT_TRUE(form.PrintDump(view));
    EXPECT_EQ(testsupport::ReadFileBytes(name),
              "first\r\nsecond\r\n \r\n" + PrintHeaderLine(false, false) + "\r\n" + PrintRuleLine(false, false) +
                  "\r\n00010:  .. .. .. 53 .. .. .. .. .. .. .. .. .. .. .. ..   ...S............\r\n");
    EXPECT_TRUE(messages.empty());
}

// Mended: a failed write of the text file was not reported.
TEST_F(PrintDialog, FailedTextFileIsReported)
{
    testsupport::WriteFileBytes(dir.file("plain"), "x");
    TfmPrint form;
    form.FormShow();
    form.ComboBox1->setCurrentIndex(1);
    form.Edit1->setText(QString::fromStdString(dir.file("plain/print.txt")));
    EXPECT_FALSE(form.PrintDump(view));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("plain"), std::string::npos) << messages[0];
}

TEST_F(PrintDialog, PrintsPagesToAPdfFile)
{
    view.SetSize(4096);
    for (int i = 0; i < 4096; ++i)
        view.Buffer().Data[size_t(i)] = uint8_t(i);
    TfmPrint form;
    form.FormShow();
    form.ComboBox1->setCurrentIndex(0);
    form.rbAllEditor->setChecked(true);
    form.Printer().setOutputFormat(QPrinter::PdfFormat);
    form.Edit1->setText(QString::fromStdString(dir.file("pdf/dump.txt")));
    EXPECT_EQ(form.PdfFileName(), dir.file("pdf/dump.pdf"));
    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("dump.pdf"));
    ASSERT_TRUE(form.PrintDump(view));
    const std::string pdf = testsupport::ReadFileBytes(dir.file("pdf/dump.pdf"));
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    // 256 rows do not fit one page.
    EXPECT_GE(PdfPages(pdf), 2);
    // Nobody chose that file: the message names it.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "No printer is installed: the dump was printed to the file \"" + dir.file("pdf/dump.pdf") + "\".");
}

namespace {

bool HasTemporaries(const std::string& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".tarku~") != std::string::npos)
            return true;
    return false;
}

} // namespace

// The PDF the printer target writes where no printer is installed is saved
// like any file: replaced only whole, only when allowed, and a failure
// names the file and keeps the old one.
TEST_F(PrintDialog, APdfFileIsReplacedOnlyWholeAndWhenAllowed)
{
    using TFault = std::function<void(const std::string& folder, const std::string& pdf)>;
    const TFault none = [](const std::string&, const std::string&) {};
    const struct {
        const char* Name;
        bool Existing;
        int Answer;
        TFault Make, Undo;
        bool Printed;
        bool Failure; // a message names the file
    } cases[] = {
        {"a new file", false, IDYES, none, none, true, false},
        {"an existing file, kept", true, IDNO, none, none, false, false},
        {"an existing file, replaced", true, IDYES, none, none, true, false},
        {"a read-only file", true, IDYES, [](const std::string&, const std::string& p) { ::chmod(p.c_str(), 0444); },
         [](const std::string&, const std::string& p) { ::chmod(p.c_str(), 0644); }, false, true},
        {"a read-only folder", true, IDYES,
         [](const std::string& f, const std::string&) { ::chmod(f.c_str(), 0555); },
         [](const std::string& f, const std::string&) { ::chmod(f.c_str(), 0755); }, false, true},
        {"a full disk", true, IDYES, [](const std::string&, const std::string&) { FailWritesForTest = [] { return true; }; },
         [](const std::string&, const std::string&) { FailWritesForTest = nullptr; }, false, true},
    };
    for (const auto& c : cases) {
        testsupport::TempDir folder;
        const std::string pdf = folder.file("dump.pdf");
        if (c.Existing)
            testsupport::WriteFileBytes(pdf, "old");
        TfmPrint form;
        form.FormShow();
        form.ComboBox1->setCurrentIndex(0);
        form.Printer().setOutputFormat(QPrinter::PdfFormat);
        form.Edit1->setText(QString::fromStdString(folder.file("dump.txt")));
        std::vector<std::string> asked, shown;
        SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned flags) {
            ((flags & MB_YESNO) == MB_YESNO ? asked : shown).push_back(text);
            return c.Answer;
        });
        c.Make(folder.path(), pdf);
        EXPECT_EQ(form.PrintDump(view), c.Printed) << c.Name;
        c.Undo(folder.path(), pdf);
        ASSERT_EQ(asked.size(), c.Existing ? 1u : 0u) << c.Name;
        if (c.Existing) {
            EXPECT_EQ(asked[0].rfind("dump.pdf already exists.", 0), 0u) << c.Name << ": " << asked[0];
        }
        if (c.Failure) {
            ASSERT_EQ(shown.size(), 1u) << c.Name;
            EXPECT_EQ(shown[0], "Cannot write the file \"" + pdf + "\".") << c.Name;
        } else {
            EXPECT_EQ(shown.size(), c.Printed ? 1u : 0u) << c.Name; // where the pages went
        }
        EXPECT_EQ(testsupport::ReadFileBytes(pdf).substr(0, 5), c.Printed ? "%PDF-" : "old") << c.Name;
        EXPECT_FALSE(HasTemporaries(folder.path())) << c.Name;
    }
}

TEST_F(PrintDialog, APdfFileOnAFullFileSystemKeepsTheOldOne)
{
    const std::string mountPoint = dir.file("small");
    std::filesystem::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here; the injected failure stands for it";
    const std::string pdf = mountPoint + "/dump.pdf";
    testsupport::WriteFileBytes(pdf, "old");
    // Two pages of the 64 KiB stay free: far too few for the pages of a
    // buffer of 4096 rows.
    testsupport::WriteFileBytes(mountPoint + "/filler", std::string(13 * 4096, 'f'));
    view.SetSize(65536);
    TfmPrint form;
    form.FormShow();
    form.ComboBox1->setCurrentIndex(0);
    form.rbAllEditor->setChecked(true);
    form.Printer().setOutputFormat(QPrinter::PdfFormat);
    form.Edit1->setText(QString::fromStdString(mountPoint + "/dump.txt"));
    SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
        messages.push_back(text);
        return IDYES;
    });
    EXPECT_FALSE(form.PrintDump(view));
    EXPECT_EQ(testsupport::ReadFileBytes(pdf).substr(0, 16), "old");
    EXPECT_FALSE(HasTemporaries(mountPoint));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "Cannot write the file \"" + pdf + "\".");
    ::umount(mountPoint.c_str());
}

TEST_F(PrintDialog, FirstPageStopsWhereThePageIsFull)
{
    view.SetSize(4096);
    TPrintJob job;
    job.Span = {0, 4095};
    const QImage page = PrintFirstPage(view.Buffer(), job, QSize(400, 300));
    // Something was drawn, and the rows stop before the bottom margin.
    const int h = QFontMetrics(PrintFont(), &page).height();
    bool inked = false, bottomClear = true;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255)) {
                inked = true;
                bottomClear = bottomClear && y < page.height() - 3 * h;
            }
    EXPECT_TRUE(inked);
    EXPECT_TRUE(bottomClear);
}

// The printer shows each byte as the view's character column does, in
// any language of the user interface.
TEST_F(PrintDialog, PrinterTextIsTheCharactersTheViewShows)
{
    const struct {
        const char* Line;
        const char* Shown; // UTF-8
    } cases[] = {
        {"\xC0\xE1\xFF", "Абя"},
        {"00000:  41 \x7F", "00000:  41 \u2302"},
        {"\x98\xAD\xA0", "\uFFFD\u2010\u00A0"},
    };
    for (const bool russian : {false, true}) {
        LanguageName = russian ? "Russian(\xD0\xF3\xF1\xF1\xEA\xE8\xE9)" : "English";
        for (const auto& c : cases)
            EXPECT_EQ(PrintLineText(c.Line), QString::fromUtf8(c.Shown)) << c.Line;
    }
    for (int code = 32; code < 256; ++code) {
        SCOPED_TRACE(code);
        const QString shown = PrintLineText(std::string(1, char(code)));
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].isPrint()) << "every code is drawn";
    }
}

TEST_F(PrintDialog, Screenshots)
{
    for (const bool russian : {false, true}) {
        if (russian) {
            AddRussianTables();
            LanguageName = "Russian(\xD0\xF3\xF1\xF1\xEA\xE8\xE9)";
        }
        PrintParameters = ppAddDescription | ppShowGrid;
        TfmPrint form;
        form.ChipText = "24C02";
        form.HasSelection = true;
        form.show();
        EXPECT_TRUE(SaveScreenshot(form, russian ? "print_dialog_ru" : "print_dialog_en"));
        form.ComboBox1->setCurrentIndex(1);
        EXPECT_TRUE(SaveScreenshot(form, russian ? "print_dialog_file_ru" : "print_dialog_file_en"));
        form.hide();
    }
    view.SetSize(300);
    for (int i = 0; i < 300; ++i)
        view.Buffer().Data[size_t(i)] = uint8_t(i);
    TPrintJob job;
    job.Span = {0, 299};
    job.Grid = true;
    job.AddDescription = true;
    job.Description = PrintDescriptionLines("24C02", "12.08.2026", "12:30:05");
    EXPECT_TRUE(SaveScreenshot(PrintFirstPage(view.Buffer(), job, QSize(794, 1123)), "print_page"));
    job.WordMode = true;
    EXPECT_TRUE(SaveScreenshot(PrintFirstPage(view.Buffer(), job, QSize(794, 1123)), "print_page_words"));
}

} // namespace
