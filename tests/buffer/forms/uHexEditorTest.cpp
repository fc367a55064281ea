#include "buffer/forms/uHexEditor.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

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

} // namespace
