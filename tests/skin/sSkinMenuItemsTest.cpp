#include "skin/sSkinMenuItems.h"

#include <gtest/gtest.h>

TEST(sSkinMenuItems, ItemTypesAndTexts)
{
    struct Case {
        const char* caption;
        bool separator;
        TsMenuItemType type;
        const char* measured; // caption items only
        const char* drawn;
    };
    const Case cases[] = {
        {"-", false, smDivider, "", ""},
        {"", true, smDivider, "", ""},
        {"Open", true, smDivider, "", ""},
        {"--", false, smCaption, "", ""},
        {"-Tools-", false, smCaption, "Tools", "Tools"},
        {"-Tools-More-", false, smCaption, "Tools-More", "Tools"},
        {"-Open", false, smNormal, "", ""},
        {"Open-", false, smNormal, "", ""},
        {"&Open", false, smNormal, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(MenuItemTypeOf(c.caption, c.separator), c.type);
        if (c.type == smCaption) {
            EXPECT_EQ(CaptionItemMeasureText(c.caption), c.measured);
            EXPECT_EQ(CaptionItemDrawText(c.caption), c.drawn);
        }
    }
}

TEST(sSkinMenuItems, MnemonicMarksAreDropped)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&Open", "Open"}, {"Save &As", "Save As"}, {"Fish && Chips", "Fish & Chips"}, {"end&", "end"}, {"", ""}};
    for (auto [in, out] : cases)
        EXPECT_EQ(WithoutMnemonics(in), out) << in;
}

TEST(sSkinMenuItems, MeasuresByTextHeightGlyphAndMargins)
{
    struct Case {
        TsMenuItemType type;
        int textHeight, glyph, margin, height;
    };
    const Case cases[] = {
        {smNormal, 13, 16, 2, 20},   // 16.25 rounds to 16, the glyph's height
        {smNormal, 16, 16, 2, 24},   // 20 over the glyph
        {smNormal, 10, 16, 0, 16},   // the glyph is taller than the line
        {smNormal, 14, 16, 3, 24},   // 17.5 rounds up
        {smCaption, 13, 16, 2, 20},
        {smCaption, 8, 16, 2, 14},   // caption items have no glyph
        {smDivider, 30, 16, 5, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuItemHeight(c.type, c.textHeight, c.glyph, c.margin), c.height)
            << c.type << " " << c.textHeight << " " << c.margin;
    EXPECT_EQ(MenuItemWidth(16, 50, 2, 6, 0), 32 + 50 + 6 + 6);
    EXPECT_EQ(MenuItemWidth(16, 50, 2, 6, 32), 32 + 50 + 6 + 6 + 32);
}

TEST(sSkinMenuItems, HighlightRulesOutNoneKeyAndWhite)
{
    const TColor system = RGB(1, 2, 3), systemText = RGB(4, 5, 6);
    auto section = [](TColor hot, TColor hotFont) {
        TsGeneralData s;
        s.FontColor = RGB(7, 8, 9);
        s.HotColor = hot;
        s.HotFontColor = hotFont;
        return s;
    };
    struct Case {
        TColor hot, hotFont;
        TColor highlight, managerText, itemText;
    };
    const TColor blue = RGB(0, 0, 200), yellow = RGB(250, 250, 0);
    const Case cases[] = {
        {blue, yellow, blue, yellow, yellow},
        {-1, yellow, system, systemText, systemText},
        {clFuchsia, yellow, system, systemText, systemText},
        {clWhite, yellow, system, systemText, systemText},
        {blue, clWhite, blue, systemText, clWhite},  // white text on an own highlight reads well
        {blue, 0, blue, systemText, 0},              // and so does black
        {blue, -1, blue, systemText, RGB(7, 8, 9)},  // no hot text: the item's text colour
        {blue, clFuchsia, blue, systemText, RGB(7, 8, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.hot << " " << c.hotFont);
        const TsGeneralData s = section(c.hot, c.hotFont);
        EXPECT_EQ(MenuHighlightColor(&s, system), c.highlight);
        EXPECT_EQ(MenuHighlightFontColor(&s, systemText), c.managerText);
        EXPECT_EQ(MenuHotTextColor(&s, systemText), c.itemText);
    }
    EXPECT_EQ(MenuHighlightColor(nullptr, system), system);
    EXPECT_EQ(MenuHighlightFontColor(nullptr, systemText), systemText);
    EXPECT_EQ(MenuHotTextColor(nullptr, systemText), systemText);
}
