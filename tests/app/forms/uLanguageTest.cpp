// The language dialog: its list, its selection, OK and Cancel, and its texts
// from the shipped Russian language file.
#include "Screenshot.h"
#include "app/forms/uLanguage.h"
#include "app/uLoadLanguages.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"
#include "ModalAnswer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const std::string russianName = Utf8ToCp1251("Russian(Русский)");

QStringList Items(const TfmLanguage& form)
{
    QStringList items;
    for (int i = 0; i < form.ComboBox1->count(); ++i)
        items << form.ComboBox1->itemText(i);
    return items;
}

// Runs the dialog modally while `act` answers it; a dialog that does not
// close fails the test instead of hanging it.
int RunModal(TfmLanguage& form, const std::function<void()>& act)
{
    return testsupport::RunModalAnswered(form, act);
}

class LanguageDialog : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state;
};

TEST_F(LanguageDialog, WithoutLanguageFilesOnlyEnglish)
{
    LanguageName = "";
    TfmLanguage form;
    EXPECT_EQ(Items(form), QStringList{"English"});
    EXPECT_EQ(form.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form.windowTitle(), "Language select");
    EXPECT_EQ(form.StaticText1->text(), "Restart program after choice of language");
    EXPECT_EQ(form.SpeedButton1->text(), "Cancel");
    EXPECT_EQ(form.SpeedButton2->text(), "OK");
}

TEST_F(LanguageDialog, TheSettingSelectsItsItemElseEnglish)
{
    LanguageList = {russianName, "ru.lng", "Deutsch", "de.lng"};
    const struct {
        std::string name;
        int index;
    } cases[] = {{russianName, 1}, {"Deutsch", 2}, {"English", 0}, {"Klingon", 0}, {"deutsch", 0}};
    for (const auto& c : cases) {
        LanguageName = c.name;
        TfmLanguage form;
        EXPECT_EQ(Items(form), (QStringList{"English", "Russian(Русский)", "Deutsch"}));
        EXPECT_EQ(form.ComboBox1->currentIndex(), c.index) << c.name;
    }
}

TEST_F(LanguageDialog, OkTakesTheChoiceAtOnceButNoTextChanges)
{
    LanguageList = {russianName, "ru.lng"};
    LanguageName = "English";
    TfmLanguage form;
    const QString title = form.windowTitle();
    EXPECT_EQ(RunModal(form, [&] {
                  form.ComboBox1->setCurrentIndex(1);
                  form.SpeedButton2->click();
              }),
              QDialog::Accepted);
    EXPECT_EQ(LanguageName, russianName);
    EXPECT_EQ(form.windowTitle(), title);
    EXPECT_EQ(form.StaticText1->text(), "Restart program after choice of language");
    EXPECT_TRUE(LanguageTexts.Empty());
}

TEST_F(LanguageDialog, CancelChangesNothingAndTheListKeepsTheLastSelection)
{
    LanguageList = {russianName, "ru.lng"};
    LanguageName = "English";
    TfmLanguage form;
    LanguageList.Clear(); // the list was filled at creation
    EXPECT_EQ(RunModal(form, [&] {
                  form.ComboBox1->setCurrentIndex(1);
                  form.SpeedButton1->click();
              }),
              QDialog::Rejected);
    EXPECT_EQ(LanguageName, "English");
    // The next showing keeps the list and the user's last selection.
    EXPECT_EQ(RunModal(form, [&] { form.SpeedButton2->click(); }), QDialog::Accepted);
    EXPECT_EQ(Items(form).size(), 2);
    EXPECT_EQ(LanguageName, russianName);
}

TEST_F(LanguageDialog, ShowsEnglishAndRussianTexts)
{
    SetProgramFolder(testsupport::DataPath(""));
    SetUpLanguageTables("English");
    LanguageName = "English";
    {
        TfmLanguage form;
        EXPECT_EQ(Items(form), (QStringList{"English", "Russian(Русский)"}));
        form.show();
        SaveScreenshot(form, "language_dialog_en");
    }
    SetUpLanguageTables(russianName);
    LanguageName = russianName;
    TfmLanguage form;
    EXPECT_EQ(form.windowTitle(), "Выбор языка");
    EXPECT_EQ(form.StaticText1->text(), "Язык сменится после перезапуска программы");
    EXPECT_EQ(form.SpeedButton1->text(), "Отмена");
    EXPECT_EQ(form.ComboBox1->currentIndex(), 1);
    form.show();
    SaveScreenshot(form, "language_dialog_ru");
}

} // namespace
