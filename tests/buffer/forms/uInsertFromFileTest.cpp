#include "buffer/forms/uInsertFromFile.h"

#include "DialogTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using dialogtest::DialogTest;

TEST_F(DialogTest, InsertFromFileChecksTheCustomAddress)
{
    TfmInsertFromFile form;
    form.show();
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_FALSE(form.Edit1->isEnabled());
    form.RadioButton3->setChecked(true);
    EXPECT_TRUE(form.Edit1->isEnabled());

    // Mended: a negative offset used to be accepted.
    for (const char* bad : {"", "abc", "-1", "-5"}) {
        messages.clear();
        form.Edit1->setText(bad);
        form.SpeedButton2Click();
        ASSERT_EQ(messages.size(), 1u) << bad;
        EXPECT_EQ(messages[0].Text, "Incorrect address");
        EXPECT_EQ(messages[0].Caption, "Morvane");
        EXPECT_EQ(messages[0].Flags, unsigned(MB_OK | MB_ICONWARNING));
        EXPECT_TRUE(form.isVisible()) << bad;
    }
    messages.clear();
    form.Edit1->setText("0x20");
    form.SpeedButton2Click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(form.CustomAddress, 32);
    EXPECT_EQ(form.result(), QDialog::Accepted);

    form.RadioButton2->setChecked(true);
    EXPECT_FALSE(form.Edit1->isEnabled());
}

TEST_F(DialogTest, InsertFromFileOffersTheRecentSourceFiles)
{
    TfmInsertFromFile form;
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] {
        EXPECT_EQ(form.ComboBox1->count(), 0);
        EXPECT_EQ(form.SourceFileName(), "");
        form.SpeedButton1->click();
    }), QDialog::Rejected);

    RecentSourceFiles = {"/d/a.bin", "/d/b.bin", "/d/c.bin"};
    form.show();
    EXPECT_EQ(form.SourceFileName(), "/d/a.bin");
    form.ComboBox1->setCurrentIndex(2);
    form.hide();
    form.show(); // the previous choice stays while it is inside the list
    EXPECT_EQ(form.SourceFileName(), "/d/c.bin");
    form.hide();
    RecentSourceFiles = {"/d/a.bin"};
    form.show();
    EXPECT_EQ(form.SourceFileName(), "/d/a.bin");

    form.AddSourceFile("/d/new.bin");
    EXPECT_EQ(form.ComboBox1->count(), 2);
    EXPECT_EQ(RecentSourceFiles.Count(), 2);
    EXPECT_EQ(form.SourceFileName(), "/d/new.bin");
    form.AddSourceFile("/d/a.bin");
    EXPECT_EQ(form.ComboBox1->count(), 2);
    EXPECT_EQ(form.SourceFileName(), "/d/a.bin");

    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton2->click(); }), QDialog::Accepted);
}

TEST_F(DialogTest, InsertFromFileTakesItsTextsFromTheTables)
{
    RecentSourceFiles = {"/home/user/dumps/24c02.bin", "/home/user/dumps/25f16.bin"};
    {
        TfmInsertFromFile form;
        dialogtest::Grab(form, "copy_area_en");
    }
    dialogtest::LoadRussianTables();
    TfmInsertFromFile form;
    auto text = [](const char* key) { return dialogtest::RussianText("Copy area from file", key); };
    EXPECT_EQ(form.windowTitle(), text("Caption"));
    EXPECT_EQ(form.GroupBox1->title(), text("Source file"));
    EXPECT_EQ(form.GroupBox2->title(), text("Addressing"));
    EXPECT_EQ(form.RadioButton1->text(), text("Copy same"));
    EXPECT_EQ(form.RadioButton3->text(), text("Copy custom"));
    EXPECT_EQ(form.Button1->text(), dialogtest::RussianText("Common buttons", "Browse"));
    EXPECT_EQ(form.SpeedButton2->text(), dialogtest::RussianText("Common buttons", "Copy"));
    EXPECT_EQ(form.SpeedButton1->text(), dialogtest::RussianText("Common buttons", "Cancel"));
    form.RadioButton3->setChecked(true);
    dialogtest::Grab(form, "copy_area_ru");
}
