#include "app/forms/HotLabel.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QColor TextColor(const THotLabel& l) { return l.palette().color(QPalette::WindowText); }

TEST(HotLabel, LooksLikeALinkFromTheStart)
{
    THotLabel l;
    EXPECT_TRUE(l.font().underline());
    EXPECT_EQ(l.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(l.HotEnabled());
    EXPECT_FALSE(l.Hot);
    EXPECT_EQ(l.HotColor, 0xFF0000u);
}

TEST(HotLabel, KeepsTheHotColourOnceHovered)
{
    THotLabel l;
    l.resize(80, 20);
    l.show();
    const QColor before = TextColor(l);
    QTest::mouseMove(&l, QPoint(10, 10));
    EXPECT_TRUE(l.Hot);
    EXPECT_EQ(TextColor(l), QColor(0, 0, 255));
    QTest::mouseMove(&l, QPoint(200, 200)); // leaving changes nothing back
    EXPECT_EQ(TextColor(l), QColor(0, 0, 255));
    EXPECT_NE(before, QColor(0, 0, 255));
}

TEST(HotLabel, DisabledHotTrackingKeepsCursorAndColour)
{
    THotLabel l;
    l.resize(80, 20);
    l.show();
    l.SetHotEnabled(false);
    EXPECT_EQ(l.cursor().shape(), Qt::ArrowCursor);
    const QColor before = TextColor(l);
    QTest::mouseMove(&l, QPoint(10, 10));
    EXPECT_FALSE(l.Hot);
    EXPECT_EQ(TextColor(l), before);

    l.SetHotEnabled(true);
    EXPECT_EQ(l.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&l, QPoint(12, 10));
    EXPECT_TRUE(l.Hot);
    EXPECT_EQ(TextColor(l), QColor(0, 0, 255));
}

TEST(HotLabel, ClickOnlyWhenReleasedOverTheLabel)
{
    THotLabel l;
    l.resize(80, 20);
    l.show();
    int clicks = 0;
    l.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(&l, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(clicks, 1);
}

} // namespace
