// The editor parameters dialog: what OK stores and Cancel discards, through
// the settings file, the chip name sample, the font choice, the labels.
#include "app/forms/uColorsAndFonts.h"

#include "app/IniFile.h"
#include "app/uLoadLanguages.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "ModalAnswer.h"
#include "Screenshot.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using testsupport::ReadFileBytes;
using testsupport::RunModalAnswered;

// Each test has its own program folder for the settings file.
class ColorsAndFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir_.path());
        LoadSettings();
    }
    void TearDown() override { SetProgramFolder(savedFolder_); }

    // Shows the dialog modally while `act` works it; the dialog's result.
    int Show(TfmcolorsAndFonts& form, const std::function<void()>& act)
    {
        return RunModalAnswered(form, act);
    }
    std::string Settings() const { return ReadFileBytes(dir_.file("TARKU.INI")); }

    testsupport::TAppStateGuard state_;
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
};

// The changes every test makes: a new default background, grid off,
// "Disable backup" on, tabs at the bottom, "Do not show tab ..." off,
// dated save names off.
void Change(TfmcolorsAndFonts& form)
{
    form.ChooseColor = [](const QColor&) { return std::optional<QColor>(QColor(0x12, 0x34, 0x56)); };
    form.Buttons[1]->click();
    form.CheckBox8->click();
    form.cbDisableBackup->click();
    form.ComboBox2->setCurrentIndex(1);
    form.CheckBox5->setChecked(false);
    form.ComboBox1->setCurrentIndex(0);
}

TEST_F(ColorsAndFonts, OkStoresThroughTheSettingsFile)
{
    TfmcolorsAndFonts form;
    const int result = Show(form, [&] {
        // The defaults as shown.
        EXPECT_TRUE(form.CheckBox8->isChecked());
        EXPECT_FALSE(form.cbDisableBackup->isChecked()) << "the default makes backups";
        EXPECT_TRUE(form.CheckBox5->isChecked()) << "bit 14 clear by default";
        EXPECT_EQ(form.ComboBox2->currentIndex(), 0);
        EXPECT_EQ(form.ComboBox1->currentIndex(), 1);
        EXPECT_EQ(form.SwatchColor(1), 0xFFFFFFu);
        Change(form);
        EXPECT_EQ(form.SwatchColor(1), 0x563412u);
        form.SpeedButton2->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_TRUE(SaveSettings());

    // A fresh start reads what OK stored.
    ResetAppState();
    SetProgramFolder(dir_.path());
    LoadSettings();
    EXPECT_EQ(DefaultBackGround, 0x563412);
    const uint32_t changed = wpShowGrid | wpBackupControl | wpTabsOnTop | wpAlwaysShowTabs | wpDatedSaveName;
    EXPECT_EQ(WorkParam, (WorkParamDefault & ~changed) | wpAlwaysShowTabs);
    EXPECT_NE(Settings().find("DefaultBackGround=5649426"), std::string::npos) << Settings();

    TfmcolorsAndFonts again;
    Show(again, [&] {
        EXPECT_EQ(again.SwatchColor(1), 0x563412u);
        EXPECT_FALSE(again.CheckBox8->isChecked());
        EXPECT_TRUE(again.cbDisableBackup->isChecked());
        EXPECT_EQ(again.ComboBox2->currentIndex(), 1);
        EXPECT_FALSE(again.CheckBox5->isChecked());
        again.SpeedButton1->click();
    });
}

TEST_F(ColorsAndFonts, CancelDiscardsEverythingAndTheNextShowingShowsTheOldValues)
{
    ASSERT_TRUE(SaveSettings());
    const std::string before = Settings();
    TfmcolorsAndFonts form;
    form.SampleFont = QFont("Monospace", 10);
    EXPECT_EQ(Show(form, [&] {
                  Change(form);
                  form.ChooseFont = [](const QFont&) { return std::optional<QFont>(QFont("Monospace", 17)); };
                  form.Button7->click();
                  form.SpeedButton1->click();
              }),
              QDialog::Rejected);
    EXPECT_EQ(WorkParam, WorkParamDefault);
    EXPECT_EQ(DefaultBackGround, 0xFFFFFF);
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(Settings(), before);

    // The caller presets the font again at every showing.
    form.SampleFont = QFont("Monospace", 10);
    Show(form, [&] {
        EXPECT_EQ(form.SwatchColor(1), 0xFFFFFFu);
        EXPECT_TRUE(form.CheckBox8->isChecked());
        EXPECT_FALSE(form.cbDisableBackup->isChecked());
        EXPECT_EQ(form.ComboBox2->currentIndex(), 0);
        EXPECT_TRUE(form.Label1->text().endsWith(",10")) << form.Label1->text().toStdString();
        form.SpeedButton1->click();
    });
}

TEST_F(ColorsAndFonts, FontChoiceAndChipNameSample)
{
    TfmcolorsAndFonts form;
    form.SampleFont = QFont("Monospace", 10);
    QFont initial;
    form.ChooseFont = [&](const QFont& f) {
        initial = f;
        return std::optional<QFont>(QFont("Monospace", 14));
    };
    form.FormShow();
    form.Button7->click();
    EXPECT_EQ(initial.pointSize(), 10);
    EXPECT_EQ(form.SampleFont.pointSize(), 14);
    EXPECT_EQ(form.Label1->text(), form.SampleFont.family() + ",14");
    // A cancelled font dialog keeps the font and still shows its name.
    form.ChooseFont = [](const QFont&) { return std::optional<QFont>(); };
    form.Button7->click();
    EXPECT_EQ(form.SampleFont.pointSize(), 14);

    QFont chip = form.Label8->font();
    chip.setBold(true);
    chip.setItalic(true);
    chip.setUnderline(false);
    form.Label8->setFont(chip);
    form.FormShow();
    EXPECT_TRUE(form.CheckBox2->isChecked());
    form.CheckBox2->click();
    EXPECT_FALSE(form.Label8->font().bold());
    EXPECT_FALSE(form.Label8->font().italic());
    EXPECT_TRUE(form.Label8->font().underline()) << "underline only";
    form.CheckBox2->click();
    EXPECT_TRUE(form.Label8->font().bold());
    EXPECT_TRUE(form.Label8->font().underline());
}

TEST_F(ColorsAndFonts, TheSampleShowsTheSwatchColours)
{
    TfmcolorsAndFonts form;
    form.SampleFont = QFont("Monospace", 10);
    form.FormShow();
    form.ChooseColor = [](const QColor&) { return std::optional<QColor>(QColor(0, 200, 0)); };
    form.Buttons[1]->click(); // default background
    const QImage sample = form.Image1->pixmap().toImage();
    ASSERT_FALSE(sample.isNull());
    EXPECT_EQ(sample.pixelColor(1, 1), QColor(0, 200, 0));
    EXPECT_EQ(sample.pixelColor(sample.width() - 2, sample.height() - 2), QColor(0, 200, 0));
}

// Screenshots of both pages in English and Russian, for a person to read.
TEST_F(ColorsAndFonts, ReadsWellInEnglishAndRussian)
{
    for (const char* language : {"en", "ru"}) {
        if (std::string(language) == "ru") {
            SetProgramFolder(testsupport::DataPath(""));
            SetUpLanguageTables(Utf8ToCp1251("Russian(Русский)"));
            SetProgramFolder(dir_.path());
        }
        TfmcolorsAndFonts form;
        if (std::string(language) == "ru") {
            EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Параметры редактора"));
            EXPECT_EQ(form.cbDisableBackup->text(), QString::fromUtf8("Отключить резервное копирование"));
            EXPECT_EQ(form.ComboBox1->itemText(1), QString::fromUtf8("Дата + время + тип микросхемы"));
        } else {
            EXPECT_EQ(form.windowTitle(), "Editor parameters");
            EXPECT_EQ(form.SpeedButton1->text(), "Cancel");
            EXPECT_EQ(form.Buttons[5]->text(), "Change");
        }
        form.SampleFont = QFont("Monospace", 10);
        form.show();
        for (int page = 0; page < 2; ++page) {
            form.PageControl1->setCurrentIndex(page);
            EXPECT_TRUE(SaveScreenshot(form, std::string("colors-and-fonts-") + language + "-" +
                                                 std::to_string(page + 1)));
        }
        form.hide();
    }
}

} // namespace
