#include "buffer/forms/uFileForCompare.h"

#include "DialogTestSupport.h"

#include <QListWidget>
#include <QPushButton>

using dialogtest::DialogTest;

TEST_F(DialogTest, FileForCompareNeedsAFile)
{
    TfmFileForCompare form;
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    form.show();
    EXPECT_FALSE(form.Button2->isEnabled());
    form.AddCompareFile("/d/a.bin");
    EXPECT_TRUE(form.Button2->isEnabled());
    EXPECT_EQ(form.ListBox1->currentRow(), 0);
    EXPECT_EQ(RecentSourceFiles.Count(), 1);
    form.hide();
}

TEST_F(DialogTest, FileForCompareSelectsABrowsedFileOnce)
{
    RecentSourceFiles = {"/d/a.bin", "/d/b.bin"};
    TfmFileForCompare form;
    const int result = dialogtest::ExecAnswered(form, [&] {
        EXPECT_EQ(form.ListBox1->currentRow(), 0);
        EXPECT_TRUE(form.Button2->isEnabled());
        form.AddCompareFile("/d/b.bin");
        EXPECT_EQ(form.ListBox1->count(), 2);
        EXPECT_EQ(form.ListBox1->currentRow(), 1);
        form.Button2->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.CompareFileName, "/d/b.bin");
    EXPECT_EQ(RecentSourceFiles.Count(), 2);

    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.Button1->click(); }), QDialog::Rejected);
    EXPECT_EQ(form.CompareFileName, "");
    form.CompareFileName = "x";
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.reject(); }), QDialog::Rejected);
    EXPECT_EQ(form.CompareFileName, "");
}

TEST_F(DialogTest, FileForCompareTakesItsTextsFromTheTables)
{
    RecentSourceFiles = {"/home/user/dumps/24c02.bin", "/home/user/dumps/25f16.bin"};
    {
        TfmFileForCompare form;
        dialogtest::Grab(form, "compare_en");
    }
    dialogtest::LoadRussianTables();
    TfmFileForCompare form;
    EXPECT_EQ(form.windowTitle(), dialogtest::RussianText("Compare with file window", "Caption"));
    EXPECT_EQ(form.btBrowse->text(), dialogtest::RussianText("Compare with file window", "Browse button caption"));
    EXPECT_EQ(form.Button1->text(), dialogtest::RussianText("Common buttons", "Cancel"));
    dialogtest::Grab(form, "compare_ru");
}
