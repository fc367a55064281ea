#include "Screenshot.h"
#include "buffer/forms/HDump.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

QRgb Rgb(uint32_t colorRef)
{
    return qRgb(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

class DumpView : public ::testing::Test {
protected:
    THexDump view;

    void SetUp() override
    {
        view.resize(700, 300);
        view.Colors.MismatchColor = 0xFF8000;
        view.SetSize(256);
        for (int i = 0; i < 256; ++i)
            view.Buffer().Data[size_t(i)] = uint8_t(i);
    }
    // The client area inside the bevel, where the layout's coordinates
    // count from.
    QImage Grab()
    {
        const QRect client(view.ClientOrigin(), QSize(view.ClientWidth(), view.ClientHeight()));
        return view.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(client);
    }
    // A point on a byte's background, clear of its digits: just left of the
    // cell text, near the row's bottom.
    QPoint HexProbe(int64_t i)
    {
        const TDumpLayout l = view.Edit().Layout();
        const int cell = int(view.Edit().WordMode ? (i % 16) / 2 : i % 16);
        return {l.X(l.HexTextCol(cell)) - 1, l.DataTop() + int((i - view.Edit().TopIndex) / 16) * l.H + l.H - 2};
    }
    QPoint AsciiProbe(int64_t i)
    {
        const TDumpLayout l = view.Edit().Layout();
        return {l.X(l.AsciiCol(int(i % 16))) + l.W / 2,
                l.DataTop() + int((i - view.Edit().TopIndex) / 16) * l.H + l.H - 1};
    }
    // Whether any pixel of the byte's hex cell has exactly this colour.
    bool CellHasColor(const QImage& img, int64_t i, QRgb color)
    {
        const TDumpLayout l = view.Edit().Layout();
        const int x0 = l.X(l.HexTextCol(int(i % 16)));
        const int y0 = l.DataTop() + int((i - view.Edit().TopIndex) / 16) * l.H;
        for (int y = y0; y < y0 + l.H; ++y)
            for (int x = x0; x < x0 + 2 * l.W; ++x)
                if (img.pixel(x, y) == color)
                    return true;
        return false;
    }
};

TEST_F(DumpView, ColourRuleAtChosenCells)
{
    TDumpBuffer& b = view.Buffer();
    b.Markers[1] = 1;           // red
    b.Markers[5] = 7;           // grey
    b.Markers[6] = 8;           // no colour bit: white
    b.SetSelectBit(2, true);    // selected
    b.Markers[3] = 2;           // green and selected
    b.SetSelectBit(3, true);
    b.SetMatchBit(4);           // differs
    b.SetMatchBit(2);           // differs and selected
    const QImage img = Grab();
    EXPECT_EQ(img.pixel(HexProbe(0)), Rgb(0xFFFFFF));
    EXPECT_EQ(img.pixel(HexProbe(1)), Rgb(0x0000FF));
    EXPECT_EQ(img.pixel(HexProbe(2)), Rgb(0x800000));
    EXPECT_EQ(img.pixel(HexProbe(3)), Rgb(0x00FF00 ^ 0x800000));
    EXPECT_EQ(img.pixel(HexProbe(5)), Rgb(0x808080));
    EXPECT_EQ(img.pixel(HexProbe(6)), Rgb(0xFFFFFF));
    EXPECT_EQ(img.pixel(AsciiProbe(1)), Rgb(0x0000FF));
    EXPECT_EQ(img.pixel(AsciiProbe(3)), Rgb(0x00FF00 ^ 0x800000));
    EXPECT_TRUE(CellHasColor(img, 4, Rgb(0xFF8000)));
    EXPECT_TRUE(CellHasColor(img, 2, Rgb(0xFF8000)));
    EXPECT_FALSE(CellHasColor(img, 0, Rgb(0xFF8000)));
    EXPECT_TRUE(CellHasColor(img, 0, Rgb(0x000000)));
}

TEST_F(DumpView, WordModeColoursAndSwappedAscii)
{
    view.Edit().WordMode = true;
    view.Buffer().Markers[2] = 4; // word 1
    view.Buffer().Markers[3] = 4;
    view.Paint();
    const QImage img = Grab();
    EXPECT_EQ(img.pixel(HexProbe(2)), Rgb(0xFF0000));
    EXPECT_EQ(img.pixel(HexProbe(0)), Rgb(0xFFFFFF));
    // The ASCII column shows the pair swapped: position 2 holds byte 3.
    EXPECT_EQ(img.pixel(AsciiProbe(2)), Rgb(0xFF0000));
}

TEST_F(DumpView, ScrollingAndGotoAddress)
{
    EXPECT_TRUE(view.VScrollBar());
    EXPECT_EQ(view.ScrollBar()->maximum(), 15);
    view.ScrollBar()->setValue(3);
    EXPECT_EQ(view.Edit().TopIndex, 48);
    view.Edit().GotoAddress(0x10);
    EXPECT_EQ(view.Edit().TopIndex, 16);
    EXPECT_EQ(view.ScrollBar()->value(), 1);
    EXPECT_EQ(view.Edit().CaretByte, 0x10);
    view.Edit().GotoAddress(0xF5);
    EXPECT_EQ(view.ScrollBar()->value(), 15);
    const QImage img = Grab(); // the last row paints at the top, the rest is background
    EXPECT_EQ(img.pixel(HexProbe(0xF0 + 16 * 3)), Rgb(0xFFFFFF));
}

TEST_F(DumpView, ScrollBarOfOneRowStaysWithTheView)
{
    view.SetSize(16);
    QScrollBar* bar = view.ScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum()); // dragged to the end
    bar->setSliderDown(false);
    EXPECT_EQ(view.Edit().TopIndex, 0);
    EXPECT_EQ(bar->value(), 0) << "the bar is back where the view is";
}

TEST_F(DumpView, GridLinesEndWithTheLastRow)
{
    const QRgb grid = Rgb(0xFFFFFF ^ 0x404040);
    const struct {
        int64_t size;
        bool header;
        int rows; // rows painted; 0: the view is full
    } cases[] = {{17, true, 2}, {16, false, 1}, {40, false, 3}, {1024, true, 0}};
    for (const auto& c : cases) {
        view.SetSize(c.size);
        view.Edit().ShowHeader = c.header;
        view.Paint();
        const QImage img = Grab();
        const TDumpLayout l = view.Edit().Layout();
        const int bottom = c.rows ? l.DataTop() + c.rows * l.H : img.height();
        for (int i = 0; i < 4; ++i) {
            const int x = l.X(l.GridCol(i)) + l.W / 2;
            EXPECT_EQ(img.pixel(x, bottom - 1), grid) << c.size << " bytes, line " << i;
            if (c.rows) {
                EXPECT_EQ(img.pixel(x, bottom), Rgb(0xFFFFFF)) << c.size << " bytes, line " << i;
            }
        }
    }
}

TEST_F(DumpView, WheelScrollsOnlyWhenTurnedUpOrDown)
{
    auto wheel = [&](QPoint delta) {
        QWheelEvent e(QPointF(50, 50), QPointF(50, 50), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &e);
    };
    wheel(QPoint(0, -120));
    EXPECT_EQ(view.Edit().TopIndex, 16);
    wheel(QPoint(-120, 0));
    EXPECT_EQ(view.Edit().TopIndex, 16) << "a sideways turn";
    wheel(QPoint(0, 120));
    EXPECT_EQ(view.Edit().TopIndex, 0);
}

TEST_F(DumpView, EmptyViewPaintsOnlyHeaderAndBackground)
{
    view.SetSize(0);
    EXPECT_FALSE(view.VScrollBar());
    const QImage img = Grab();
    const TDumpLayout l = view.Edit().Layout();
    for (int y = l.DataTop() + 1; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 5)
            ASSERT_EQ(img.pixel(x, y), Rgb(0xFFFFFF)) << x << "," << y;
}

TEST_F(DumpView, KeysEditTheFocusedView)
{
    view.show();
    view.setFocus();
    QApplication::processEvents();
    QTest::keyClick(&view, Qt::Key_A);
    QTest::keyClick(&view, Qt::Key_5);
    EXPECT_EQ(view.Buffer().Data[0], 0xA5);
    EXPECT_TRUE(view.Buffer().Modified);
    QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(view.Buffer().Markers[1], 3);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.Edit().CaretByte, 18);
    // Alt combinations are left to menus.
    QTest::keyClick(&view, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(view.Buffer().Data[18], 18);
    EXPECT_EQ(view.Edit().CaretByte, 18);
}

TEST_F(DumpView, ShiftSelectionSurvivesARepeatingShift)
{
    view.show();
    view.setFocus();
    QApplication::processEvents();
    view.Edit().GotoAddress(4);
    auto send = [&](QEvent::Type type, int key, bool repeat = false) {
        QKeyEvent e(type, key, Qt::ShiftModifier, QString(), repeat);
        QApplication::sendEvent(&view, &e);
    };
    send(QEvent::KeyPress, Qt::Key_Shift);
    send(QEvent::KeyPress, Qt::Key_Down);
    send(QEvent::KeyRelease, Qt::Key_Down);
    send(QEvent::KeyPress, Qt::Key_Shift, true); // reports Shift as let go, as a held key's repeat does
    send(QEvent::KeyPress, Qt::Key_Down);
    send(QEvent::KeyRelease, Qt::Key_Down);
    send(QEvent::KeyRelease, Qt::Key_Shift);
    EXPECT_EQ(view.Buffer().SelStart, 4);
    EXPECT_EQ(view.Buffer().SelEnd, 36);
}

TEST_F(DumpView, SeventeenBytesPutTheLastCharacterUnderTheFirst)
{
    view.SetSize(17);
    view.Buffer().Markers[16] = 1;
    view.Buffer().Markers[0] = 1;
    const QImage img = Grab();
    EXPECT_EQ(img.pixel(AsciiProbe(16)), Rgb(0x0000FF));
    EXPECT_EQ(img.pixel(AsciiProbe(0)), Rgb(0x0000FF));
    EXPECT_EQ(img.pixel(HexProbe(17)), Rgb(0xFFFFFF)) << "after the last byte: background";
}

TEST_F(DumpView, AddressColumnWidensPast16MiB)
{
    view.SetSize(0x1000010);
    EXPECT_EQ(view.Edit().Layout().AddrDigits, 7);
    view.Edit().GotoAddress(0x1000008);
    view.Buffer().Markers[0x1000008] = 2;
    const QImage img = Grab();
    EXPECT_EQ(img.pixel(HexProbe(0x1000008)), Rgb(0x00FF00));
}

TEST_F(DumpView, PopupItemsAndCommands)
{
    std::vector<int> commands;
    view.OnPopupCommand = [&](THexDump* v, int n) {
        EXPECT_EQ(v, &view);
        commands.push_back(n);
    };
    QMenu* menu = view.PopupMenu();
    auto item = [&](const char* name) { return menu->findChild<QAction*>(QString::fromLatin1(name)); };
    QApplication::clipboard()->setText(QStringLiteral("12 ab FF"));
    view.UpdatePopupItems();
    EXPECT_TRUE(item("pi12")->isEnabled());
    EXPECT_FALSE(item("pi11")->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("GG"));
    view.UpdatePopupItems();
    EXPECT_FALSE(item("pi12")->isEnabled());
    item("pi14")->trigger();
    EXPECT_EQ(view.Buffer().SelEnd, 255);
    view.UpdatePopupItems();
    EXPECT_TRUE(item("pi11")->isEnabled());
    EXPECT_FALSE(item("pi10")->isEnabled());
    item("pi13")->trigger();
    item("pi0")->trigger();
    EXPECT_EQ(commands, (std::vector<int>{13, 0}));
}

TEST_F(DumpView, PopupShortcutsFollowTheSelectionOfTheMoment)
{
    std::vector<int> commands;
    view.OnPopupCommand = [&](THexDump*, int n) { commands.push_back(n); };
    view.show();
    view.setFocus();
    QApplication::processEvents();
    view.UpdatePopupItems(); // the menu was last opened with nothing selected
    view.SelectAll();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(commands, std::vector<int>{11});
    view.Edit().ClearSelection();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(commands, std::vector<int>{11}) << "nothing to copy";
    EXPECT_EQ(view.Buffer().Data[0], 0) << "Ctrl+C does not edit";
}

TEST_F(DumpView, SwappedWordsShowThePartnerlessLastByte)
{
    view.SetSize(17);
    view.Edit().WordMode = true;
    view.Buffer().Markers[16] = 1;
    view.Paint();
    QImage img = Grab();
    // Byte 16 stands where its missing partner 17 would be in a full pair.
    EXPECT_EQ(img.pixel(AsciiProbe(17)), Rgb(0x0000FF));
    EXPECT_EQ(img.pixel(AsciiProbe(16)), Rgb(0xFFFFFF));
    // The caret on it in the ASCII column is drawn there too.
    view.Edit().AsciiColumn = true;
    view.Edit().CaretNibble = 32;
    view.Edit().ShowCaret();
    img = Grab();
    const TDumpLayout l = view.Edit().Layout();
    EXPECT_EQ(img.pixel(l.X(l.AsciiCol(1)), l.DataTop() + l.H), Rgb(0x000000));
    EXPECT_EQ(img.pixel(l.X(l.AsciiCol(0)), l.DataTop() + l.H), Rgb(0xFFFFFF));
}

// Screenshots for a person to look at: TARKU_SCREENSHOTS=<folder>.
TEST_F(DumpView, Screenshots)
{
    if (qEnvironmentVariableIsEmpty("TARKU_SCREENSHOTS"))
        GTEST_SKIP();
    view.resize(640, 260);
    view.show();
    view.setFocus();
    QApplication::processEvents();
    TDumpBuffer& b = view.Buffer();
    const char text[] = "Tarku dump view: markers, selection, mismatch.";
    std::copy(text, text + sizeof text - 1, b.Data.begin() + 0x40);
    for (int i = 0; i < 8; ++i)
        b.Markers[size_t(0x10 + i)] = uint8_t(i);
    b.SetSelectRange(0x24, 0x3A, true);
    b.SelStart = 0x24;
    b.SelEnd = 0x3A;
    b.Markers[0x28] = 1;
    for (int i : {0x30, 0x31, 0x45, 0x46, 0x47, 0x12})
        b.SetMatchBit(i);
    view.Colors.MismatchColor = 0xFF8000;
    view.Edit().GotoAddress(0x13);
    EXPECT_TRUE(SaveScreenshot(view, "hdump_byte"));
    view.Edit().WordMode = true;
    view.Edit().GotoAddress(0x9);
    EXPECT_TRUE(SaveScreenshot(view, "hdump_word"));
    // A short buffer: the grid lines end with its last row.
    view.SetSize(40);
    view.Edit().GotoAddress(0x0B);
    EXPECT_TRUE(SaveScreenshot(view, "hdump_short"));
    view.Edit().ShowHeader = false;
    view.Paint();
    EXPECT_TRUE(SaveScreenshot(view, "hdump_short_noheader"));
    // Past 16 MiB the address column takes a seventh digit; no header, no grid.
    view.Edit().WordMode = false;
    view.Edit().ShowGrid = false;
    view.SetSize(0x1000100);
    view.Edit().GotoAddress(0xFFFFC0);
    EXPECT_TRUE(SaveScreenshot(view, "hdump_wide"));
}

} // namespace
