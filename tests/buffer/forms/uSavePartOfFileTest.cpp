#include "buffer/forms/uSavePartOfFile.h"

#include "DialogTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using dialogtest::DialogTest;

TEST_F(DialogTest, SavePartOfFileHandsBackBothEdits)
{
    TfmSavePartOfFile form;
    EXPECT_EQ(form.windowTitle(), "Save part of buffer into file");
    form.Edit1->setText("0010");
    form.Edit2->setText("zz"); // the caller converts and reports
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton2->click(); }), QDialog::Accepted);
    EXPECT_EQ(form.Edit2->text(), "zz");
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Rejected);
}

TEST_F(DialogTest, SavePartOfFileTakesItsTextsFromTheTables)
{
    {
        TfmSavePartOfFile form;
        form.Edit1->setText("0000");
        form.Edit2->setText("00FF");
        dialogtest::Grab(form, "save_part_en");
    }
    dialogtest::LoadRussianTables();
    TfmSavePartOfFile form;
    EXPECT_EQ(form.windowTitle(), dialogtest::RussianText("Save part of file", "Caption"));
    EXPECT_EQ(form.Label1->text(), dialogtest::RussianText("Save part of file", "Start address"));
    EXPECT_EQ(form.Label2->text(), dialogtest::RussianText("Save part of file", "End address"));
    EXPECT_EQ(form.SpeedButton1->text(), dialogtest::RussianText("Common buttons", "Cancel"));
    form.Edit1->setText("0000");
    form.Edit2->setText("00FF");
    dialogtest::Grab(form, "save_part_ru");
}
