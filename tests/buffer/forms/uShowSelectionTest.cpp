#include "buffer/forms/uShowSelection.h"

#include "DialogTestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using dialogtest::DialogTest;

namespace {

void setSource(TfmShowSelection& form, std::initializer_list<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), form.SourceBytes.begin());
    form.SourceCount = int(bytes.size());
}

} // namespace

TEST_F(DialogTest, ShowSelectionConvertsOnEveryClick)
{
    TfmShowSelection form;
    setSource(form, {0x12, 0x34});
    form.show();
    EXPECT_EQ(form.Panel1->text(), "1234");
    EXPECT_TRUE(form.CheckBox1->isEnabled());
    EXPECT_EQ(form.Panel2->text(), "00001234");
    EXPECT_EQ(form.Panel3->text(), "11064");
    EXPECT_EQ(form.Panel4->text(), "4660");
    EXPECT_EQ(form.Label4->text(), "Shift on 0 bit(s)");

    form.CheckBox5->click();
    EXPECT_EQ(form.Panel2->text(), "00003412");
    form.CheckBox5->click();

    // Editing the XOR value alone does not convert; a click does.
    form.Edit1->setText("0xFF");
    form.CheckBox6->click();
    EXPECT_EQ(form.Panel2->text(), "000012CB");
    form.CheckBox6->click();

    form.Button2->click();
    form.Button2->click();
    EXPECT_EQ(form.Panel2->text(), "0000048D");
    EXPECT_EQ(form.Label4->text(), "Shift on 2 bit(s) to the right");
    EXPECT_EQ(form.Label4->palette().color(QPalette::WindowText), QColor(Qt::red));

    // Reset clears the shift and the first five boxes, not "XOR by".
    form.CheckBox2->click();
    form.CheckBox6->click();
    form.Button3->click();
    EXPECT_EQ(form.BitShift, 0);
    EXPECT_FALSE(form.CheckBox2->isChecked());
    EXPECT_TRUE(form.CheckBox6->isChecked());
    EXPECT_EQ(form.Label4->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(DialogTest, ShowSelectionShiftsOneByteLeft)
{
    TfmShowSelection form;
    setSource(form, {0x01});
    form.show();
    EXPECT_FALSE(form.CheckBox1->isEnabled());
    for (int i = 0; i < 7; ++i)
        form.Button1->click();
    EXPECT_EQ(form.Panel2->text(), "00000080");
    EXPECT_EQ(form.Label4->text(), "Shift on 7 bit(s) to the left");
    EXPECT_EQ(form.Label4->palette().color(QPalette::WindowText), QColor(Qt::blue));
    for (int i = 0; i < 40; ++i)
        form.Button1->click();
    EXPECT_EQ(form.BitShift, -32);
    EXPECT_EQ(form.Panel2->text(), "00000000");
}

// Five to eight bytes: every view shows the whole number, none its low 32
// bits.
TEST_F(DialogTest, ShowSelectionShowsEightBytesWhole)
{
    TfmShowSelection form;
    setSource(form, {0x01, 0x00, 0x00, 0x00, 0x00});
    form.show();
    EXPECT_EQ(form.Panel2->text(), "100000000");
    EXPECT_EQ(form.Panel3->text(), "40000000000");
    EXPECT_EQ(form.Panel4->text(), "4294967296");
    form.hide();
    setSource(form, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    form.show();
    EXPECT_EQ(form.Panel2->text(), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(form.Panel3->text(), "1777777777777777777777");
    EXPECT_EQ(form.Panel4->text(), "18446744073709551615");
    form.hide();
    dialogtest::Grab(form, "show_selection_8_bytes");
}

TEST_F(DialogTest, ShowSelectionClosesWithOk)
{
    TfmShowSelection form;
    setSource(form, {0xAB});
    EXPECT_EQ(dialogtest::ExecAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Accepted);
}

TEST_F(DialogTest, ShowSelectionTakesItsTextsFromTheTables)
{
    {
        TfmShowSelection form;
        setSource(form, {0x12, 0x34});
        form.BitShift = 2;
        dialogtest::Grab(form, "show_selection_en");
    }
    dialogtest::LoadRussianTables();
    TfmShowSelection form;
    auto text = [](const char* key) { return dialogtest::RussianText("Selection view", key); };
    EXPECT_EQ(form.windowTitle(), text("Caption"));
    EXPECT_EQ(form.GroupBox1->title(), text("Hexadecimal source"));
    EXPECT_EQ(form.Label3->text(), text("Decimal view"));
    EXPECT_EQ(form.Button1->text(), "<< " + text("Left"));
    EXPECT_EQ(form.Button2->text(), text("Right") + " >>");
    EXPECT_EQ(form.Button3->text(), text("Reset"));
    EXPECT_EQ(form.Label4->text(), text("Shift on") + " 0 " + text("Bits"));
    setSource(form, {0x12, 0x34});
    form.show();
    form.Button1->click();
    EXPECT_EQ(form.Label4->text(), text("Shift on") + " 1 " + text("Bits") + " " + text("To the left"));
    form.hide();
    dialogtest::Grab(form, "show_selection_ru");
}
