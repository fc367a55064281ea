#include "buffer/forms/glabel.h"
#include "buffer/forms/uHexEditor.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(HexEdit, ByteCountLayout)
{
    THexEdit e;
    for (auto [count, text] : {std::pair{0, "00"}, {1, "00"}, {3, "00 00 00"}, {-5, "00"}}) {
        e.SetByteCount(count);
        EXPECT_EQ(e.text().toStdString(), text) << count;
    }
    EXPECT_TRUE(e.isReadOnly());
}

TEST(HexEdit, DigitsOverwriteInPlace)
{
    THexEdit e;
    e.SetByteCount(2);
    e.setCursorPosition(0);
    QTest::keyClicks(&e, "ab");
    EXPECT_EQ(e.text().toStdString(), "AB 00");
    QTest::keyClicks(&e, "c");
    EXPECT_EQ(e.text().toStdString(), "AB C0") << "the caret skips the blank";
    e.setCursorPosition(5);
    QTest::keyClicks(&e, "7");
    EXPECT_EQ(e.text().toStdString(), "AB C7");
    e.SetByteCount(2);
    e.setCursorPosition(5);
    QTest::keyClicks(&e, "7");
    EXPECT_EQ(e.text().toStdString(), "00 07");
    QTest::keyClicks(&e, "g -");
    QTest::keyClick(&e, Qt::Key_5, Qt::AltModifier, 0);
    EXPECT_EQ(e.text().toStdString(), "00 07");
    e.setCursorPosition(3);
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text().toStdString(), "00 07");
    EXPECT_EQ(e.cursorPosition(), 2);
}

// Columns where the focused field differs from the unfocused one: the caret.
std::vector<int> CaretColumns(THexEdit& e)
{
    e.clearFocus();
    QApplication::processEvents();
    const QImage plain = e.grab().toImage();
    e.setFocus();
    QApplication::processEvents();
    const QImage focused = e.grab().toImage();
    std::vector<int> columns;
    // Inside the frame, which shows the focus on its own.
    for (int x = 4; x < plain.width() - 4; ++x)
        for (int y = 4; y < plain.height() - 4; ++y)
            if (plain.pixel(x, y) != focused.pixel(x, y)) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST(HexEdit, CaretIsShownWhileFocused)
{
    THexEdit e;
    e.SetByteCount(4);
    e.resize(200, 26);
    e.show();
    e.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
    e.setCursorPosition(1);
    const std::vector<int> at1 = CaretColumns(e);
    e.setCursorPosition(4);
    const std::vector<int> at4 = CaretColumns(e);
    ASSERT_FALSE(at1.empty()) << "a read-only field draws no caret of its own";
    ASSERT_FALSE(at4.empty());
    const int advance = QFontMetrics(e.font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_NEAR(at4.front() - at1.front(), 3 * advance, 1);
}

TEST(GLabel, GradientEndsAndStrips)
{
    uint32_t s, e;
    TGLabel::GradientEnds(0xF0F0F0, 16, s, e);
    EXPECT_EQ(s, 0xFFFFFFu);
    EXPECT_EQ(e, 0xE0E0E0u);
    TGLabel::GradientEnds(0x102030, 0, s, e);
    EXPECT_EQ(s, e);
    EXPECT_EQ(TGLabel::StripColor(0xFFFFFF, 0xE0E0E0, 0, 22), 0xFFFFFFu);
    // 0xFF - 31 * 11 / 22 = 0xFF - 15
    EXPECT_EQ(TGLabel::StripColor(0xFFFFFF, 0xE0E0E0, 11, 22), 0xF0F0F0u);
}

TEST(GLabel, VerticalGradientPaintsNonIncreasingRows)
{
    TGLabel l;
    l.Color = 0x00F0F0F0;
    l.SetGradient(16);
    l.SetVert(true);
    l.resize(40, 22);
    const QImage img = l.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(255, 255, 255));
    for (int y = 1; y < 22; ++y)
        EXPECT_LE(img.pixelColor(0, y).red(), img.pixelColor(0, y - 1).red()) << y;
    EXPECT_GT(img.pixelColor(0, 21).red(), 0xE0 - 1);
}

TEST(GLabel, HoverHighlightInActiveMode)
{
    TGLabel l;
    l.resize(40, 20);
    l.Color = 0x202020;
    l.ActiveColor = 0x00C000;
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&l, &move);
    EXPECT_FALSE(l.Hot) << "passive labels do not highlight";
    l.SetActiveMode(true);
    QApplication::sendEvent(&l, &move);
    EXPECT_TRUE(l.Hot);
    EXPECT_EQ(l.grab().toImage().pixelColor(30, 2), QColor(0, 0xC0, 0));
    l.SetActiveMode(false);
    EXPECT_FALSE(l.Hot);
}

TEST(GLabel, MouseDownAndClickReachTheOwner)
{
    TGLabel l;
    l.resize(40, 20);
    std::vector<int> downs;
    int clicks = 0;
    l.OnMouseDown = [&](Qt::MouseButton button, int x, int) { downs.push_back(int(button) * 1000 + x); };
    l.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&l, Qt::RightButton, {}, QPoint(7, 5));
    QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(9, 5));
    EXPECT_EQ(downs, (std::vector<int>{int(Qt::RightButton) * 1000 + 7, int(Qt::LeftButton) * 1000 + 9}));
    EXPECT_EQ(clicks, 1) << "only the left button clicks";
}

} // namespace
