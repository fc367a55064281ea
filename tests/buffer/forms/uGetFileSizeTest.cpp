#include "buffer/forms/uGetFileSize.h"

#include "buffer/FileServ.h"
#include "buffer/forms/uChangeFilesize.h"

#include "DialogTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using dialogtest::DialogTest;

TEST_F(DialogTest, FileSizeEnablesOkForSizesTheBufferTakes)
{
    TfmGetFileSize newFile;
    TfmChangeFilesize change;
    for (TFileSizeDialog* form : {static_cast<TFileSizeDialog*>(&newFile), static_cast<TFileSizeDialog*>(&change)}) {
        form->show();
        EXPECT_FALSE(form->SpeedButton2->isEnabled()); // empty at the start
        const std::pair<std::string, bool> cases[] = {
            {"1024", true}, {"-1", false}, {"", false}, {"abc", false}, {"$400", true},
            // Mended: zero, negative and unbounded sizes used to enable OK.
            {"0", false}, {"-2", false}, {std::to_string(MaxDumpBufferSize), true},
            {std::to_string(MaxDumpBufferSize + 1), false},
        };
        for (const auto& [text, ok] : cases) {
            form->LabeledEdit1->setText(QString::fromStdString(text));
            EXPECT_EQ(form->SpeedButton2->isEnabled(), ok) << text;
        }
        form->hide();
    }
}

TEST_F(DialogTest, FileSizeEnterEndsOnlyWhileOkIsEnabled)
{
    TfmGetFileSize form;
    const int result = dialogtest::ExecAnswered(form, [&] {
        form.LabeledEdit1->setText("-5");
        QTest::keyClick(form.LabeledEdit1, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        form.LabeledEdit1->setText("1024");
        QTest::keyClick(form.LabeledEdit1, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.LabeledEdit1->text(), "1024");
    EXPECT_EQ(form.EnteredSize(), 1024);
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Rejected);
}

TEST_F(DialogTest, ChangeFilesizeShowsThePresentSize)
{
    TfmChangeFilesize form;
    EXPECT_EQ(form.windowTitle(), "Cnahge file size");
    form.CurrentSize = 256;
    form.show();
    EXPECT_EQ(form.Label1->text(), "Current file size (bytes): 256");
}

TEST_F(DialogTest, FileSizeDialogsTakeTheirTextsFromTheTables)
{
    {
        TfmGetFileSize newFile;
        newFile.LabeledEdit1->setText("1024");
        dialogtest::Grab(newFile, "new_file_en");
        TfmChangeFilesize change;
        change.CurrentSize = 256;
        change.LabeledEdit1->setText("512");
        dialogtest::Grab(change, "change_size_en");
    }
    dialogtest::LoadRussianTables();
    TfmGetFileSize newFile;
    EXPECT_EQ(newFile.windowTitle(), dialogtest::RussianText("Get file size", "Caption"));
    EXPECT_EQ(newFile.LabeledEdit1Label->text(), dialogtest::RussianText("Get file size", "Label"));
    EXPECT_EQ(newFile.SpeedButton1->text(), dialogtest::RussianText("Common buttons", "Cancel"));
    newFile.LabeledEdit1->setText("1024");
    dialogtest::Grab(newFile, "new_file_ru");

    TfmChangeFilesize change;
    EXPECT_EQ(change.windowTitle(), dialogtest::RussianText("change file size", "Caption"));
    EXPECT_EQ(change.LabeledEdit1Label->text(), dialogtest::RussianText("change file size", "New"));
    change.CurrentSize = 256;
    change.show();
    EXPECT_EQ(change.Label1->text(), dialogtest::RussianText("change file size", "Current") + " 256");
    change.hide();
    change.LabeledEdit1->setText("512");
    dialogtest::Grab(change, "change_size_ru");
}
