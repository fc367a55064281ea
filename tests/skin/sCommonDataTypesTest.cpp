#include "skin/sCommonDataTypes.h"

#include <gtest/gtest.h>

TEST(SkinState, TypeSetsAndDefaultSections)
{
    EXPECT_TRUE(InFrameRedrawTypes(96));
    EXPECT_FALSE(InFrameRedrawTypes(51));
    EXPECT_TRUE(InNoHoverTypes(60));
    EXPECT_FALSE(InNoHoverTypes(96));
    EXPECT_TRUE(InNoGlowTypes(226));
    EXPECT_FALSE(InNoGlowTypes(300));
    EXPECT_FALSE(InFrameRedrawTypes(256 + 96));
    EXPECT_EQ(DefaultSectionFor(96, "TsTreeView"), "EDIT");
    EXPECT_EQ(DefaultSectionFor(165, "x"), "TRACKBAR");
    EXPECT_EQ(DefaultSectionFor(94, "x"), "BUTTON");
    EXPECT_EQ(DefaultSectionFor(0, "TsPanel"), "TsPanel");
}

TEST(SkinState, ColourArithmetic)
{
    // MixColors rounds halves to the even neighbour and keeps A's top byte.
    EXPECT_EQ(MixColors(RGB(1, 0, 0), RGB(2, 0, 0), 0.5), RGB(2, 0, 0));
    EXPECT_EQ(MixColors(RGB(3, 0, 0), RGB(2, 0, 0), 0.5), RGB(2, 0, 0));
    EXPECT_EQ(MixColors(RGB(1, 2, 3), RGB(255, 255, 255), 0.4), RGB(153, 154, 154));
    EXPECT_EQ(MixColors(TColor(0x7F000000) | RGB(0, 0, 0), RGB(10, 10, 10), 1.0), TColor(0x7F000000));
    // Transparency 50 over black section, white parent: 50 * 255 / 256.
    EXPECT_EQ(BlendTransparentColor(RGB(0, 0, 0), RGB(255, 255, 255), 50), RGB(0x31, 0x31, 0x31));
    EXPECT_EQ(BlendTransparentColor(RGB(10, 20, 30), RGB(255, 255, 255), 0), RGB(10, 20, 30));
    TsGeneralData s;
    EXPECT_EQ(SectionFillFlags(s), 0u);
    s.ImagePercent = 10;
    s.GradientPercent = 5;
    s.GradientArray = {{0, 0, 100, 2}};
    EXPECT_EQ(SectionFillFlags(s), 7u);
    s.GradientArray[0].Mode = 0;
    EXPECT_EQ(SectionFillFlags(s), 6u);
}

TEST(SkinState, BoundLabelPlaces)
{
    const TRect f{100, 50, 200, 71}; // Width 100, Height 21
    const TLabelPlace left = BoundLabelPlace(sclLeft, f, 40, 13, 0);
    EXPECT_EQ(left.Left, 56);
    EXPECT_EQ(left.Top, 53);
    const TRect g{100, 50, 201, 71}; // Width 101
    EXPECT_EQ(BoundLabelPlace(sclTopCenter, g, 40, 13, 0).Left, 130);
    EXPECT_EQ(BoundLabelPlace(sclTopLeft, f, 40, 13, 2).Top, 50 - 13 - 2);
    EXPECT_EQ(BoundLabelPlace(sclTopRight, f, 40, 13, 0).Left, 160);
}
