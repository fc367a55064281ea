#include "buffer/forms/glabel.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

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
