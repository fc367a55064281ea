#include "skin/forms/acGlow.h"

#include "../SkinContentManager.h"
#include "Screenshot.h"
#include "skin/acBitmapHelpers.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace {

// A skin with one glow mask "GLOW0" of section "BUTTON", margins of 10.
class GlowTest : public ::testing::Test {
protected:
    skintest::ContentManager manager;
    QWidget host;

    void SetUp() override
    {
        manager.Master(30, 30).FillRect(TRect{0, 0, 30, 30}, 0x3366CC);
        const int i = manager.AddMask(TRect{0, 0, 30, 30}, 1, 0, 10, 10, 10, 10);
        manager.skin.ma[size_t(i)].SectionName = "BUTTON";
        manager.skin.ma[size_t(i)].PropertyName = "GLOW0";
        SetLayeredWindowsAvailable(true);
    }
    void TearDown() override
    {
        ClearGlows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetLayeredWindowsAvailable(false);
    }
    int Show(const char* mask = "GLOW", TRect r = {100, 50, 180, 74}, TRect clip = {0, 0, 80, 24})
    {
        return ShowGlow(r, clip, "BUTTON", mask, 3, 128, &host, &manager);
    }
};

TEST_F(GlowTest, WithoutTranslucentWindowsNothingShows)
{
    // The offscreen platform has no compositor: start-up must say so.
    acGlowInitialization();
    EXPECT_FALSE(LayeredWindowsAvailable());
    EXPECT_EQ(Show(), -1);
    EXPECT_TRUE(GlowEffects.empty());
}

TEST_F(GlowTest, ForcedGlowHasItsGeometryAndLetsClicksThrough)
{
    const int index = Show();
    ASSERT_EQ(index, 0);
    QWidget* form = GlowEffects[0]->Form();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), QRect(93, 43, 94, 38));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Tool));
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTransparentForInput));
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(form->testAttribute(Qt::WA_TransparentForMouseEvents));
    // The mask fills the halo.
    const QImage shot = form->grab().toImage();
    EXPECT_TRUE(SaveScreenshot(shot, "glow"));
    EXPECT_EQ(shot.pixel(47, 19) & 0xFFFFFF, 0xCC6633u);
}

TEST_F(GlowTest, ClippedGlowShowsOnlyItsVisiblePart)
{
    ASSERT_EQ(Show("GLOW", {100, 50, 180, 74}, {20, 0, 80, 24}), 0);
    EXPECT_EQ(GlowEffects[0]->Form()->geometry(), QRect(120, 43, 67, 38));
}

TEST_F(GlowTest, TopmostHostKeepsTheGlowOnTop)
{
    host.setWindowFlag(Qt::WindowStaysOnTopHint);
    ASSERT_EQ(Show(), 0);
    EXPECT_TRUE(GlowEffects[0]->Form()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(GlowTest, FailuresCreateNothing)
{
    struct Case {
        const char* name;
        const char* mask;
        TRect r, clip;
    } cases[] = {
        {"mask name without its state digit", "GLOW0", {100, 50, 180, 74}, {0, 0, 80, 24}},
        {"no such mask", "HALO", {100, 50, 180, 74}, {0, 0, 80, 24}},
        {"empty halo", "GLOW", {0, 0, -20, 0}, {0, 0, -20, 0}},
        {"visible part outside the halo", "GLOW", {100, 50, 180, 74}, {200, 0, 260, 24}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Show(c.mask, c.r, c.clip), -1);
        EXPECT_TRUE(GlowEffects.empty());
    }
    EXPECT_TRUE(QApplication::topLevelWidgets().size() <= 1); // only the host
}

TEST_F(GlowTest, HidingKeepsIndexesAndIgnoresStrangers)
{
    ASSERT_EQ(Show(), 0);
    ASSERT_EQ(Show(), 1);
    QPointer<QWidget> first = GlowEffects[0]->Form();
    HideGlow(-1);
    HideGlow(2);
    HideGlow(0);
    HideGlow(0);
    EXPECT_EQ(GlowEffects.size(), 2u);
    EXPECT_EQ(GlowEffects[0], nullptr);
    ASSERT_NE(GlowEffects[1], nullptr);
    EXPECT_EQ(Show(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ClearGlows();
    EXPECT_TRUE(GlowEffects.empty());
}

} // namespace
