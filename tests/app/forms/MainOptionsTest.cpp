// The main window's editor options, module defaults and chip document: the
// real program on a copy of the program folder, the dialog answered from a
// timer with a ceiling, message boxes through the platform's handler.
#include "app/forms/Main.h"
#include "app/forms/MainProgram.h"
#include "app/forms/uColorsAndFonts.h"
#include "app/forms/HotLabel.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "engine/Modules.h"
#include "engine/forms/uChipOptions.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "Screenshot.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

constexpr int ModalCeilingMs = 30000;
const char* const Entry24C02 = "Serial EEPROM\\I2C 8 bit address\\24C02";
const char* const Module24C02 = "scripts/24C02.chl";

// Takes the desktop's file opening, so that no test starts a viewer.
class TOpened : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> Urls;
public slots:
    void open(const QUrl& url) { Urls.push_back(url); }
};

class MainOptions : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    std::vector<std::string> boxes_;
    std::deque<int> answers_;
    QObject guard_;
    TMainForm* form_ = nullptr;
    TOpened opened_;

    void SetUp() override
    {
        std::filesystem::copy(testsupport::DataPath(""), dir_.path(), std::filesystem::copy_options::recursive);
        SetProgramFolder(dir_.path());
        previous_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned flags) {
            boxes_.push_back(Cp1251ToUtf8(text));
            if (!answers_.empty()) {
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            }
            if ((flags & 0xF) != MB_OK)
                ADD_FAILURE() << "unexpected question: " << text;
            return (flags & 0xF) == MB_OK ? int{IDOK} : int{IDCANCEL};
        });
        QDesktopServices::setUrlHandler("file", &opened_, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("file");
        if (form_)
            FinishProgram();
        SetMessageBoxHandler(previous_);
        SetProgramFolder(savedFolder_);
    }

    // Starts with the 24C02's module loaded.
    void StartWithModule()
    {
        WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nChipName=" + std::string(Entry24C02) +
                                                   "\r\n[Dump]\r\nEditorMode=0\r\n");
        form_ = StartProgram({});
        form_->show();
        ASSERT_EQ(form_->hlChipName->text(), "24C02");
    }
    void Start()
    {
        form_ = StartProgram({});
        form_->show();
    }

    // The editor parameters dialog, once it shows, gets `act`; one still
    // open after the ceiling is rejected and fails the test.
    void AnswerOptions(std::function<void(TfmcolorsAndFonts&)> act)
    {
        QTimer::singleShot(0, &guard_, [this, act] {
            auto* dialog = qobject_cast<TfmcolorsAndFonts*>(QApplication::activeModalWidget());
            if (!dialog) {
                AnswerOptions(act);
                return;
            }
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "editor parameters left open";
                dialog->reject();
            });
            act(*dialog);
        });
    }
    void Trigger(const char* command)
    {
        QAction* action = form_->Command(command);
        ASSERT_TRUE(action->isEnabled()) << command;
        action->trigger();
    }
    void CtrlClick(QWidget* widget, QPoint at)
    {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::ControlModifier, at);
    }
    std::string Settings() const { return ReadFileBytes(dir_.file("TARKU.INI")); }
    std::string ModuleText() const { return ReadFileBytes(dir_.file(Module24C02)); }
};

TEST_F(MainOptions, OkAppliesToBothViewsAndTheChipLabelAndSurvivesTheExit)
{
    Start();
    for (const char* command : {"Editor1", "mmColors"})
        EXPECT_TRUE(form_->Command(command)->isEnabled()) << command;
    const QFont chipBefore = form_->hlChipName->font();
    ASSERT_TRUE(chipBefore.bold()) << "the default chip name style";
    AnswerOptions([](TfmcolorsAndFonts& d) {
        d.ChooseColor = [](const QColor&) { return std::optional<QColor>(QColor(0x10, 0x20, 0x30)); };
        d.Buttons[3]->click(); // selection background
        d.ChooseFont = [](const QFont& f) {
            QFont chosen = f;
            chosen.setPointSize(13);
            return std::optional<QFont>(chosen);
        };
        d.Button7->click();
        d.CheckBox8->click();   // grid off
        d.CheckBox1->click();   // persistent blocks on
        d.cbNoMarkFile->click(); // markers files used
        d.CheckBox2->click();   // chip name not bold
        SaveScreenshot(d, "main-editor-options");
        d.SpeedButton2->click();
    });
    Trigger("Editor1");
    for (THexDump* view : {form_->HexDump1, form_->HexDump2}) {
        EXPECT_EQ(view->Colors.SelectionBackColor, 0x302010u);
        EXPECT_FALSE(view->Edit().ShowGrid);
        EXPECT_TRUE(view->Edit().PersistentBlocks);
        EXPECT_TRUE(view->Buffer().UseMarkersFile);
        EXPECT_EQ(view->font().pointSize(), 13);
    }
    EXPECT_FALSE(form_->hlChipName->font().bold());

    EXPECT_TRUE(form_->close());
    const std::string settings = Settings();
    const uint32_t bits = ((WorkParamDefault & ~wpShowGrid) | wpPersistentBlocks) & ~wpNoMarkerFiles;
    for (const std::string& line : {std::string("SelectionBackGround=3153936"), std::string("FontSize=13"),
                                    std::string("ChipNameFontStyle=0"), "WorkParam=" + std::to_string(bits)})
        EXPECT_NE(settings.find(line), std::string::npos) << line << "\n" << settings;
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainOptions, CancelFromTheEditMenuChangesNothing)
{
    Start();
    const uint32_t color = form_->HexDump1->Colors.SelectionBackColor;
    const int size = form_->HexDump1->font().pointSize();
    AnswerOptions([](TfmcolorsAndFonts& d) {
        d.ChooseColor = [](const QColor&) { return std::optional<QColor>(QColor(1, 2, 3)); };
        d.Buttons[3]->click();
        d.CheckBox8->click();
        d.SpeedButton1->click();
    });
    Trigger("mmColors");
    EXPECT_EQ(form_->HexDump1->Colors.SelectionBackColor, color);
    EXPECT_TRUE(form_->HexDump1->Edit().ShowGrid);
    EXPECT_EQ(form_->HexDump1->font().pointSize(), size);
    EXPECT_EQ(WorkParam, WorkParamDefault);
}

TEST_F(MainOptions, CtrlClickOnThePanelStoresTheDefaultsInTheModule)
{
    StartWithModule();
    const std::string before = ModuleText();
    auto* verify = form_->GroupBox1->findChild<QCheckBox*>("VERIFYWRITE");
    ASSERT_TRUE(verify);
    verify->click();
    form_->vccCombobox->setCurrentIndex(form_->vccCombobox->findText("3.3 V"));

    // No: nothing written; a plain click: no question.
    answers_ = {IDNO};
    CtrlClick(form_->GroupBox1, QPoint(form_->GroupBox1->width() - 3, form_->GroupBox1->height() - 3));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "Save this parameters as default?");
    EXPECT_EQ(ModuleText(), before);
    QTest::mouseClick(form_->GroupBox1, Qt::LeftButton, Qt::NoModifier, QPoint(form_->GroupBox1->width() - 3, 3));
    EXPECT_EQ(boxes_.size(), 1u);

    // Yes, from the strip above the dumps.
    answers_ = {IDYES};
    QWidget* central = form_->centralWidget();
    const QRect voltage = form_->vccCombobox->geometry();
    CtrlClick(central, QPoint(voltage.left() - 2, voltage.center().y()));
    ASSERT_EQ(boxes_.size(), 2u);
    std::string expected = before;
    for (auto [from, to] : {std::pair<std::string, std::string>{"\"Verify after write\", 8, 8, 1);",
                                                                "\"Verify after write\", 8, 8, 0);"},
                            {"VOLTAGE = 5.0;", "VOLTAGE = 3.3;"}}) {
        const size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    }
    EXPECT_EQ(ModuleText(), expected);

    // The next load takes them as its defaults.
    form_->LoadModule(Entry24C02);
    verify = form_->GroupBox1->findChild<QCheckBox*>("VERIFYWRITE");
    ASSERT_TRUE(verify);
    EXPECT_FALSE(verify->isChecked());
    EXPECT_EQ(form_->vccCombobox->currentText(), "3.3 V");
    EXPECT_EQ(boxes_.size(), 2u);
}

// The voltage box offers every module voltage, in the order of the
// programmer's voltage codes, so that a module's VOLTAGE is selected and a
// chosen item is written back as a module voltage.
TEST_F(MainOptions, TheVoltageBoxHoldsEveryModuleVoltage)
{
    Start();
    const TStringList voltages = TModuleInfo().Voltages;
    ASSERT_EQ(form_->vccCombobox->count(), voltages.Count());
    for (int i = 0; i < voltages.Count(); ++i)
        EXPECT_EQ(form_->vccCombobox->itemText(i).toStdString(), voltages[i] + " V");
}

TEST_F(MainOptions, CtrlClickInEditorOnlyModeAsksNothing)
{
    Start();
    CtrlClick(form_->GroupBox1, QPoint(2, 2));
    const QRect voltage = form_->vccCombobox->geometry();
    CtrlClick(form_->centralWidget(), QPoint(voltage.left() - 2, voltage.center().y()));
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainOptions, TheParametersWindowsPanelStoresItsControls)
{
    // The 24C02's controls moved into the parameters window.
    const std::string path = dir_.file(Module24C02);
    std::string text = ReadFileBytes(path);
    text.replace(text.find("[INTERFACE]"), 11, "[INTERFACE WINDOW]");
    WriteFileBytes(path, text);
    StartWithModule();
    ASSERT_NE(form_->ChipOptions, nullptr);
    auto* verify = form_->ChipOptions->Panel1->findChild<QCheckBox*>("VERIFYWRITE");
    ASSERT_NE(verify, nullptr);
    verify->click();
    answers_ = {IDYES};
    emit form_->ChipOptions->Panel1CtrlClick(QPoint(1, 1));
    EXPECT_EQ(boxes_.size(), 1u);
    TModuleInfo module;
    module.LoadFromFile(path);
    const int at = module.Interface.IndexOf("VERIFYWRITE");
    ASSERT_GE(at, 0);
    EXPECT_EQ(module.Interface[at + 4], "0");
}

TEST_F(MainOptions, TheChipLabelsRightButtonOpensOnlyDocumentsOfTheDocFolder)
{
    std::filesystem::create_directories(dir_.file("DOC"));
    WriteFileBytes(dir_.file("DOC/24c02.pdf"), "%PDF-1.4\n");
    WriteFileBytes(dir_.file("secret.pdf"), "%PDF-1.4\n");
    const std::string path = dir_.file(Module24C02);
    const std::string original = ReadFileBytes(path);
    struct Case {
        const char* Picture;
        bool Opens;
    };
    const Case cases[] = {{"!24c02.pdf", true}, {"!..\\secret.pdf", false}, {"!../secret.pdf", false},
                          {"!missing.pdf", false}, {"24c02.bmp", false}};
    bool started = false;
    for (const Case& c : cases) {
        std::string text = original;
        text.insert(text.find("VOLTAGE"), std::string("PICTURE = \"") + c.Picture + "\";\r\n");
        WriteFileBytes(path, text);
        if (!started) {
            StartWithModule();
            started = true;
        }
        opened_.Urls.clear();
        QTest::mouseClick(form_->hlChipName, Qt::RightButton);
        ASSERT_EQ(opened_.Urls.size(), c.Opens ? 1u : 0u) << c.Picture;
        if (c.Opens) {
            EXPECT_EQ(opened_.Urls[0].toLocalFile().toStdString(),
                      std::filesystem::canonical(dir_.file("DOC/24c02.pdf")).string());
        }
    }
    EXPECT_TRUE(boxes_.empty());
}

} // namespace

#include "MainOptionsTest.moc"
