// The chip selection dialog on a program folder of its own: what a chip and
// a folder show, preselection, the modal road, Save and the catalogue box.
#include "app/ChipSel.h"
#include "app/forms/ChipSel.h"
#include "app/forms/HotLabel.h"
#include "app/uLoadLanguages.h"

#include "Screenshot.h"
#include "AppStateGuard.h"
#include "TestSupport.h"
#include "engine/Global.h"
#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "ModalAnswer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace fs = std::filesystem;

namespace {

const char* const PictureModule = "[DESCRIPTION]\r\n"
                                  "LOCATION = Memory\\24Cxx\\24C02, Memory\\24Cxx\\24C04;\r\n"
                                  "INFO = \"Serial EEPROM\", \"Pin 8 supply\";\r\n"
                                  "PICTURE = dip8.bmp;\r\n"
                                  "VOLTAGE = 3.3;\r\n"
                                  "PINTEST = 11111100;\r\n";
const char* const LostPictureModule = "[DESCRIPTION]\r\n"
                                      "LOCATION = Flash\\24C02;\r\n"
                                      "PICTURE = gone.bmp;\r\n";

class SelectWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedFolder_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        fs::create_directories(dir_.file("scripts/flash"));
        fs::create_directories(dir_.file("bmps"));
        WriteFileBytes(dir_.file("scripts/mem.chl"), PictureModule);
        WriteFileBytes(dir_.file("scripts/flash/lost.chl"), LostPictureModule);
        QImage picture(120, 60, QImage::Format_RGB32);
        picture.fill(QColor(30, 30, 30));
        picture.save(QString::fromStdString(dir_.file("bmps/dip8.bmp")));
        WorkParam &= ~wpUseConfigFile;
        previousHandler_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages_.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previousHandler_);
        SetProgramFolder(savedFolder_);
    }

    static void Select(TSelectForm& form, const std::string& entry)
    {
        form.PreselectEntry(entry);
        ASSERT_NE(form.TreeView1->currentItem(), nullptr) << entry;
    }

    // Runs SelectChip with `answer` played once the dialog shows. A dialog
    // that is not closed by then is closed after a ceiling that only a hang
    // reaches, and the test fails instead of hanging.
    std::string SelectChipAnswered(TSelectForm& form, const std::string& preselect,
                                   const std::function<void()>& answer)
    {
        std::string chosen = "unchanged";
        testsupport::RunModalAnswered(form, answer, [&] {
            form.SelectChip(preselect, chosen);
            return 0;
        });
        return chosen;
    }

    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::vector<std::string> messages_;

private:
    std::string savedFolder_;
    MessageBoxHandler previousHandler_;
};

TEST_F(SelectWindow, AChipShowsItsInformationPictureVoltageAndPins)
{
    BuildChipList();
    TSelectForm form;
    Select(form, "Memory\\24Cxx\\24C04");
    EXPECT_EQ(form.SelectedEntry, "Memory\\24Cxx\\24C04");
    EXPECT_EQ(form.Memo1->toPlainText(), "Module file: \\mem.chl\n\nSerial EEPROM\nPin 8 supply");
    EXPECT_EQ(form.ModulePath, ModuleFilePath("\\mem.chl"));
    EXPECT_TRUE(form.BitBtn1->isEnabled());
    EXPECT_TRUE(form.HotLabel1->isEnabled());
    EXPECT_EQ(form.PicturePath, NativePath(dir_.file("bmps/dip8.bmp")));
    EXPECT_FALSE(form.ScrollBox1->isHidden());
    EXPECT_TRUE(form.Label1->isHidden());
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(120, 60));
    EXPECT_EQ(form.ComboBox1->currentText(), "3.3 V");
    for (size_t i = 0; i < form.PinBoxes.size(); ++i)
        EXPECT_EQ(form.PinBoxes[i]->isChecked(), i >= 2) << "line " << i + 1;

    // The next chip's picture is missing: the previous one goes.
    Select(form, "Flash\\24C02");
    EXPECT_TRUE(form.PicturePath.empty());
    EXPECT_TRUE(form.ScrollBox1->isHidden());
    EXPECT_FALSE(form.Label1->isHidden());
    EXPECT_EQ(form.Label1->text(), "No picture");
    EXPECT_TRUE(form.Image1->pixmap().isNull());
    EXPECT_EQ(form.ComboBox1->currentText(), "2.8 V"); // the module names none
    for (QCheckBox* box : form.PinBoxes)
        EXPECT_TRUE(box->isChecked());
}

TEST_F(SelectWindow, AFolderCannotBeSelected)
{
    BuildChipList();
    TSelectForm form;
    Select(form, "Memory\\24Cxx");
    EXPECT_EQ(form.Memo1->toPlainText(), "Folder \"Memory\\24Cxx\"");
    EXPECT_FALSE(form.BitBtn1->isEnabled());
    EXPECT_FALSE(form.HotLabel1->isEnabled());
    EXPECT_FALSE(form.GroupBox2->isEnabled());
    EXPECT_TRUE(form.ModulePath.empty());
    EXPECT_FALSE(form.Label1->isHidden());
}

TEST_F(SelectWindow, TheTreeFollowsTheChipList)
{
    BuildChipList();
    TSelectForm form;
    // Sorted: Flash before Memory; one folder branch for both locations.
    ASSERT_EQ(form.TreeView1->topLevelItemCount(), 2);
    EXPECT_EQ(form.TreeView1->topLevelItem(0)->text(0), "Flash");
    QTreeWidgetItem* cxx = form.TreeView1->topLevelItem(1)->child(0);
    ASSERT_EQ(cxx->childCount(), 2);
    EXPECT_EQ(cxx->child(1)->text(0), "24C04");
    EXPECT_EQ(form.windowTitle(), "Select device");
    EXPECT_FALSE(form.SpeedButton3->isEnabled()); // no help file
    EXPECT_FALSE(form.CheckBox1->isEnabled());    // no catalogue
}

TEST_F(SelectWindow, SelectChipPreselectsByTheWholePath)
{
    BuildChipList();
    TSelectForm form;
    // Two chips are named 24C02; the whole path tells them apart.
    std::string shown;
    const std::string chosen = SelectChipAnswered(form, "memory\\24cxx\\24c02", [&] {
        shown = form.SelectedEntry;
        form.BitBtn1->click();
    });
    EXPECT_EQ(shown, "Memory\\24Cxx\\24C02");
    EXPECT_EQ(chosen, "Memory\\24Cxx\\24C02");
    EXPECT_EQ(form.DialogResult, 1);
    EXPECT_FALSE(form.TreeView1->topLevelItem(0)->isExpanded()); // Flash stays collapsed

    // A path that no longer exists falls back to the first chip of that name.
    EXPECT_EQ(SelectChipAnswered(form, "Old\\24C02", [&] { form.BitBtn1->click(); }), "Flash\\24C02");
}

TEST_F(SelectWindow, CancelAndCloseChooseNothing)
{
    BuildChipList();
    TSelectForm form;
    EXPECT_EQ(SelectChipAnswered(form, "Flash\\24C02", [&] { form.BitBtn2->click(); }), "");
    EXPECT_EQ(form.DialogResult, -1);
    EXPECT_EQ(SelectChipAnswered(form, "Flash\\24C02", [&] { form.close(); }), "");
    EXPECT_EQ(form.DialogResult, 0);
}

TEST_F(SelectWindow, NothingShowsDuringStartUp)
{
    BuildChipList();
    TSelectForm form;
    StartupFlag = true;
    std::string chosen = "kept";
    form.SelectChip("Flash\\24C02", chosen);
    EXPECT_EQ(chosen, "kept");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SelectWindow, SaveWritesTheChosenDefaultsIntoTheModule)
{
    BuildChipList();
    TSelectForm form;
    Select(form, "Memory\\24Cxx\\24C02");
    form.ComboBox1->setCurrentText("4.0 V");
    form.PinBoxes[0]->setChecked(true);
    form.PinBoxes[2]->setChecked(false);
    form.HotLabel1Click();
    EXPECT_TRUE(messages_.empty());
    TModuleInfo module;
    ASSERT_EQ(module.LoadFromFile(form.ModulePath), 1);
    EXPECT_EQ(module.Voltage, "4.0");
    EXPECT_EQ(module.PinTestMask, 0xF9);
    EXPECT_NE(testsupport::ReadFileBytes(dir_.file("scripts/mem.chl")).find("VOLTAGE = 4.0;\r\n"), std::string::npos);
}

TEST_F(SelectWindow, UseConfigFileRebuildsAndKeepsTheSelection)
{
    WriteFileBytes(dir_.file("scripts/scripts.cfg"), "[Catalog\\Memory]\r\n24C02=mem.chl\r\n[Memory\\24Cxx]\r\n24C02=mem.chl\r\n");
    WriteFileBytes(dir_.file("scripts/small.cfg"), "[Small]\r\nX=mem.chl\r\n");
    ConfigFile = "scripts.cfg";
    BuildChipList();
    TSelectForm form;
    EXPECT_TRUE(form.CheckBox1->isEnabled());
    EXPECT_FALSE(form.CheckBox1->isChecked());
    EXPECT_EQ(form.ComboBox2->count(), 2);
    EXPECT_EQ(form.ComboBox2->currentText(), "scripts.cfg");
    Select(form, "Memory\\24Cxx\\24C02");

    form.CheckBox1->setChecked(true);
    EXPECT_NE(WorkParam & wpUseConfigFile, 0u);
    EXPECT_EQ(ChipList.Count(), 2);
    EXPECT_EQ(form.TreeView1->topLevelItem(0)->text(0), "Catalog"); // the catalogue's order
    EXPECT_EQ(form.SelectedEntry, "Memory\\24Cxx\\24C02");

    form.ComboBox2->setCurrentText("small.cfg");
    EXPECT_EQ(ConfigFile, "small.cfg");
    EXPECT_EQ(ChipList.Count(), 1);
    EXPECT_EQ(form.TreeView1->topLevelItemCount(), 1);

    form.CheckBox1->setChecked(false);
    EXPECT_EQ(ChipList.Count(), 3);
    EXPECT_EQ(form.TreeView1->topLevelItemCount(), 2);
}

// The shipped modules in both languages, for a person to look at.
TEST_F(SelectWindow, Screenshots)
{
    fs::remove_all(dir_.file("scripts"));
    fs::copy(testsupport::DataPath("scripts"), dir_.file("scripts"), fs::copy_options::recursive);
    fs::copy(testsupport::DataPath("Languages"), dir_.file("Languages"), fs::copy_options::recursive);
    BuildChipList();
    for (const char* language : {"English", "Russian"}) {
        if (std::string(language) == "Russian") {
            ScanLanguageFiles();
            ASSERT_GE(LanguageList.Count(), 2);
            ASSERT_TRUE(LoadLanguageFile(LanguageList[0]));
        }
        TSelectForm form;
        form.show();
        form.PreselectEntry("Serial EEPROM\\I2C 8 bit address\\24C02");
        for (QTreeWidgetItemIterator it(form.TreeView1); *it; ++it)
            (*it)->setExpanded(true);
        ASSERT_FALSE(form.Memo1->toPlainText().isEmpty());
        if (std::string(language) == "Russian") {
            EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Выбор устройства"));
            EXPECT_EQ(form.BitBtn1->text(), QString::fromUtf8("&Выбрать"));
        }
        SaveScreenshot(form, std::string("ChipSelect-") + language);
        form.PageControl1->setCurrentIndex(2);
        SaveScreenshot(form, std::string("ChipSelect-") + language + "-parameters");
        form.PreselectEntry("Serial EEPROM\\I2C 8 bit address");
        form.PageControl1->setCurrentIndex(1);
        SaveScreenshot(form, std::string("ChipSelect-") + language + "-folder");
    }
}

} // namespace
