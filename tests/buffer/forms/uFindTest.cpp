#include "buffer/forms/uFind.h"
#include "buffer/uFind.h"

#include "DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

using dialogtest::DialogTest;
using Bytes = std::vector<uint8_t>;

TEST_F(DialogTest, FindIsModelessAndOnTop)
{
    TFindForm form;
    EXPECT_FALSE(form.isModal());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.windowTitle(), "Find");
    EXPECT_EQ(form.PageControl1->currentIndex(), 0);
    EXPECT_EQ(form.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form.PatternLength(), 0);
}

TEST_F(DialogTest, FindBuildsTheNumberPatternAsTheOptionsChange)
{
    TFindForm form;
    form.show();
    QSignalSpy actions(&form, &TFindForm::ActionRequested);
    form.Edit3->setText("300");
    EXPECT_EQ(form.Panel1->text(), "012C");
    EXPECT_EQ(form.Pattern, (Bytes{0x01, 0x2C}));
    form.CheckBox2->click();
    EXPECT_EQ(form.Panel1->text(), "2C01");
    form.CheckBox2->click();

    // Width 3: swap bytes is disabled and ignored even when checked before.
    form.CheckBox3->setChecked(true);
    form.ComboBox1->setCurrentIndex(3);
    EXPECT_FALSE(form.CheckBox3->isEnabled());
    EXPECT_EQ(form.Panel1->text(), "00012C");

    form.ComboBox1->setCurrentIndex(2);
    form.CheckBox3->setChecked(false);
    form.Edit3->setText("255");
    form.CheckBox6->click();
    EXPECT_EQ(form.Panel1->text(), "FF00");
    form.SpeedButton2->click();
    ASSERT_EQ(actions.count(), 1);
    EXPECT_EQ(form.Pattern, (Bytes{0xFF, 0x00}));
}

// Mended: a number that did not convert left the previous pattern to be
// searched, and -1 could never be searched.
TEST_F(DialogTest, FindRequestsOnlyValidPatterns)
{
    TFindForm form;
    form.show();
    QSignalSpy actions(&form, &TFindForm::ActionRequested);
    form.SpeedButton2->click(); // nothing typed yet
    EXPECT_EQ(actions.count(), 0);

    form.Edit3->setText("7");
    form.Edit3->setText("12ab");
    EXPECT_EQ(form.Panel1->text(), "Error pattern");
    form.SpeedButton2->click();
    EXPECT_EQ(actions.count(), 0);
    EXPECT_EQ(form.PatternLength(), 0);

    form.Edit3->setText("-1");
    EXPECT_EQ(form.Panel1->text(), "FF");
    form.SpeedButton2->click();
    EXPECT_EQ(actions.count(), 1);
    EXPECT_EQ(form.Pattern, (Bytes{0xFF}));

    form.Edit3->setText("4294967296");
    EXPECT_EQ(form.Panel1->text(), "0100000000");
}

TEST_F(DialogTest, FindTakesTextFromTheMemo)
{
    TFindForm form;
    form.show();
    QSignalSpy actions(&form, &TFindForm::ActionRequested);
    form.PageControl1->setCurrentIndex(1);
    form.SpeedButton2->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "Empty pattern");
    EXPECT_EQ(messages[0].Caption, "Morvane");
    EXPECT_EQ(messages[0].Flags, unsigned(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(actions.count(), 0);

    form.Memo1->setPlainText("ab\n\nc");
    form.SpeedButton2->click();
    EXPECT_EQ(actions.count(), 1);
    EXPECT_EQ(form.Pattern, (Bytes{0x61, 0x62, 0x63}));

    // Mended: a text longer than the pattern buffer used to overflow it.
    form.Memo1->setPlainText(QString(FindPatternCapacity + 1, QLatin1Char('x')));
    form.SpeedButton2->click();
    EXPECT_EQ(actions.count(), 1);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(form.Pattern, (Bytes{0x61, 0x62, 0x63}));
}

// Insert reads the text page's memo itself: the pattern's bound is the
// search's, and any text with characters is a request.
TEST_F(DialogTest, InsertTakesATextOfAnyLength)
{
    TFindForm form;
    form.setWindowTitle(Cp1251ToQString(form.InsertCaption));
    form.show();
    QSignalSpy actions(&form, &TFindForm::ActionRequested);
    form.PageControl1->setCurrentIndex(1);
    struct Case {
        QString Text;
        int Actions, Messages;
    };
    const Case cases[] = {
        {QString(), 0, 1},
        {QStringLiteral("\n\n"), 0, 2},
        {QString(FindPatternCapacity + 1, QLatin1Char('x')), 1, 2},
        {QString(4 * FindPatternCapacity, QLatin1Char('y')), 2, 2},
    };
    for (const Case& c : cases) {
        form.Memo1->setPlainText(c.Text);
        form.SpeedButton2->click();
        EXPECT_EQ(actions.count(), c.Actions) << c.Text.size();
        ASSERT_EQ(messages.size(), size_t(c.Messages)) << c.Text.size();
        EXPECT_EQ(messages.back().Text, "Empty pattern");
    }
    EXPECT_EQ(form.MemoLines(), std::vector<std::string>{std::string(4 * FindPatternCapacity, 'y')});
}

TEST_F(DialogTest, FindCloseAndEscapeAskTheCaller)
{
    TFindForm form;
    form.show();
    QSignalSpy closes(&form, &TFindForm::CloseRequested);
    form.SpeedButton1->click();
    form.reject();
    EXPECT_EQ(closes.count(), 2);
    EXPECT_TRUE(form.isVisible()); // the caller closes it
}

TEST_F(DialogTest, FindShowsTheModeItsCaptionNames)
{
    TFindForm form;
    form.setWindowTitle("Insert");
    form.show();
    EXPECT_TRUE(form.InsertMode());
    EXPECT_EQ(form.GroupBox3->title(), "Number to insert");
    EXPECT_EQ(form.GroupBox1->title(), "Text to insert");
    EXPECT_FALSE(form.CheckBox1->isHidden());
    form.hide();
    form.setWindowTitle("Find");
    form.show();
    EXPECT_FALSE(form.InsertMode());
    EXPECT_EQ(form.GroupBox3->title(), "Number to find");
    EXPECT_TRUE(form.CheckBox1->isHidden());
}

TEST_F(DialogTest, FindTakesItsTextsFromTheTables)
{
    {
        TFindForm form;
        form.Edit3->setText("0x1FF");
        dialogtest::Grab(form, "find_en");
        form.PageControl1->setCurrentIndex(1);
        form.setWindowTitle("Insert");
        form.SpeedButton2->setText("Insert");
        dialogtest::Grab(form, "find_en_text");
    }
    dialogtest::LoadRussianTables();
    TFindForm form;
    auto text = [](const char* key) { return dialogtest::RussianText("Buffer find window", key); };
    EXPECT_EQ(Cp1251ToQString(form.FindCaption), text("Find Caption"));
    EXPECT_EQ(Cp1251ToQString(form.InsertCaption), text("Insert Caption"));
    EXPECT_EQ(Cp1251ToQString(form.FindNextCaption), text("Find next"));
    EXPECT_EQ(form.PageControl1->tabText(0), text("Decimal number"));
    EXPECT_EQ(form.PageControl1->tabText(1), text("Text"));
    EXPECT_EQ(form.GroupBox2->title(), text("Hexadecimal view"));
    EXPECT_EQ(form.GroupBox4->title(), text("Options"));
    EXPECT_EQ(form.Label1->text(), text("Bytes per number"));
    EXPECT_EQ(form.CheckBox6->text(), text("Invert"));
    EXPECT_EQ(form.SpeedButton1->text(), dialogtest::RussianText("Common buttons", "Close"));
    form.Edit3->setText("300");
    form.show();
    EXPECT_EQ(form.GroupBox3->title(), text("Number to find"));
    form.hide();
    dialogtest::Grab(form, "find_ru");
    form.PageControl1->setCurrentIndex(1);
    form.setWindowTitle(Cp1251ToQString(form.InsertCaption));
    form.SpeedButton2->setText(Cp1251ToQString(form.InsertCaption));
    dialogtest::Grab(form, "find_ru_text");
}
