#include "buffer/forms/uFill.h"

#include "DialogTestSupport.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using dialogtest::DialogTest;

TEST_F(DialogTest, FillEnablesOkForHexPatternsOnly)
{
    TFillForm form;
    form.show();
    struct Case {
        const char* typed;
        const char* shown;
        bool ok;
    };
    const Case cases[] = {
        {" 1 2  3 ", "123", true}, {"a0F", "a0F", true}, {"12G", "12G", false},
        {"", "", false},
        // Mended: a pattern of blanks only used to enable OK.
        {"   ", "", false},
    };
    for (const auto& c : cases) {
        form.Edit1->setText(c.typed);
        EXPECT_EQ(form.Edit1->text(), c.shown) << c.typed;
        EXPECT_EQ(form.SpeedButton2->isEnabled(), c.ok) << c.typed;
    }
}

TEST_F(DialogTest, FillGivesPatternAndScopeOnOk)
{
    TFillForm form;
    EXPECT_EQ(form.windowTitle(), "Fill");
    EXPECT_TRUE(form.RadioButton3->isChecked());
    form.RadioButton4->setChecked(true);
    form.SetSelectionAvailable(false);
    EXPECT_FALSE(form.RadioButton4->isEnabled());
    EXPECT_TRUE(form.RadioButton3->isChecked());
    form.SetSelectionAvailable(true);
    form.RadioButton4->setChecked(true);

    const int result = dialogtest::ExecAnswered(form, [&] {
        form.Edit1->setText("ab 12");
        form.SpeedButton2->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.PatternText(), "AB12");
    EXPECT_TRUE(form.SelectedAreaOnly());

    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Rejected);
}

TEST_F(DialogTest, FillTakesItsTextsFromTheTables)
{
    {
        TFillForm form;
        EXPECT_EQ(form.GroupBox1->title(), "Pattern");
        EXPECT_EQ(form.SpeedButton1->text(), "Cancel");
        dialogtest::Grab(form, "fill_en");
    }
    dialogtest::LoadRussianTables();
    TFillForm form;
    EXPECT_EQ(form.windowTitle(), dialogtest::RussianText("Buffer fill window", "Caption"));
    EXPECT_EQ(form.GroupBox1->title(), dialogtest::RussianText("Buffer fill window", "Pattern caption"));
    EXPECT_EQ(form.GroupBox2->title(), dialogtest::RussianText("Buffer fill window", "Scope"));
    EXPECT_EQ(form.RadioButton3->text(), dialogtest::RussianText("Buffer fill window", "Global"));
    EXPECT_EQ(form.RadioButton4->text(), dialogtest::RussianText("Buffer fill window", "Selected area"));
    EXPECT_EQ(form.SpeedButton1->text(), dialogtest::RussianText("Common buttons", "Cancel"));
    dialogtest::Grab(form, "fill_ru");
}
