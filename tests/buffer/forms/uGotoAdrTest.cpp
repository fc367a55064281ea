#include "buffer/forms/uGotoAdr.h"

#include "DialogTestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using dialogtest::DialogTest;

TEST_F(DialogTest, GotoAdrChecksEveryChange)
{
    TfmGotoAdr form;
    form.AddressLimit = 0xFFFF;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Go to address 0");
    EXPECT_TRUE(form.SpeedButton2->isEnabled());
    struct Case {
        const char* text;
        bool ok;
        int32_t address;
        const char* caption;
    };
    const Case cases[] = {
        {"65535", true, 65535, "Go to address 65535"},
        {"65536", false, 65536, "Go to address 65536"},
        {"0x10", true, 16, "Go to address 16"},
        {"0x", false, -1, "Go to address 16"}, // the caption stays
        {"", false, -1, "Go to address 16"},
        {"-3", false, -3, "Go to address -3"},
    };
    for (const auto& c : cases) {
        form.Edit1->setText(c.text);
        EXPECT_EQ(form.SpeedButton2->isEnabled(), c.ok) << c.text;
        EXPECT_EQ(form.EnteredAddress, c.address) << c.text;
        EXPECT_EQ(form.windowTitle(), c.caption) << c.text;
    }
}

TEST_F(DialogTest, GotoAdrEnterEndsOnlyWhileOkIsEnabled)
{
    TfmGotoAdr form;
    form.AddressLimit = 100;
    const int result = dialogtest::ExecAnswered(form, [&] {
        form.Edit1->setText("101");
        QTest::keyClick(form.Edit1, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        form.Edit1->setText("0x20");
        QTest::keyClick(form.Edit1, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.EnteredAddress, 32);
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Rejected);
}

TEST_F(DialogTest, GotoAdrTakesItsTextsFromTheTables)
{
    {
        TfmGotoAdr form;
        form.AddressLimit = 0xFFFF;
        form.Edit1->setText("0x10");
        dialogtest::Grab(form, "goto_address_en");
    }
    dialogtest::LoadRussianTables();
    TfmGotoAdr form;
    form.AddressLimit = 0xFFFF;
    form.Edit1->setText("0x10");
    form.show();
    EXPECT_EQ(form.windowTitle(), dialogtest::RussianText("Goto address", "Caption") + " 16");
    EXPECT_EQ(form.SpeedButton1->text(), dialogtest::RussianText("Common buttons", "Cancel"));
    form.hide();
    dialogtest::Grab(form, "goto_address_ru");
}
