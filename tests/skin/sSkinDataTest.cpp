#include "skin/sSkinData.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TsGeneralData Section(const std::string& name, const std::string& parent = {})
{
    TsGeneralData s;
    s.Name = name;
    s.ParentClass = parent;
    return s;
}

TsMaskData Mask(const std::string& section, const std::string& key, TacImgType type = itisaBorder)
{
    TsMaskData m;
    m.SectionName = section;
    m.PropertyName = key;
    m.ImgType = type;
    m.R = {0, 0, 90, 40};
    m.ImageCount = 3;
    m.MaskType = 1;
    return m;
}

// BUTTON -> BASE; LOOPA <-> LOOPB; SELF names itself; ORPHAN names a missing one.
TacSkinContent Skin()
{
    TacSkinContent c;
    c.gd = {Section("BASE"),         Section("BUTTON", "BASE"), Section("LOOPA", "LOOPB"),
            Section("LOOPB", "LOOPA"), Section("SELF", "SELF"),  Section("ORPHAN", "NOWHERE"),
            Section("GLOBALINFO")};
    c.ma = {Mask("BASE", "GLYPHMASK"),  Mask("BUTTON", "BORDERSMASK"), Mask("BASE", "PATTERN", itisaTexture),
            Mask("BASE", "HOTPATTERN"), Mask("LOOPB", "GLYPHMASK"),    Mask("GLOBALINFO", "BOXCHECKED")};
    c.pa = {{nullptr, "BASE", "PATTERN"}};
    return c;
}

} // namespace

TEST(SkinDataModel, LookUpsFollowParentClasses)
{
    const TacSkinContent c = Skin();
    struct Case {
        const char* section;
        const char* key;
        int mask, texture, pattern;
    } cases[] = {
        {"BUTTON", "GLYPHMASK", 0, -1, -1},   // from the parent
        {"BUTTON", "BORDERSMASK", 1, -1, -1}, // own
        {"BUTTON", "PATTERN", 2, 2, 0},       // texture and pattern from the parent
        {"BUTTON", "HOTPATTERN", 3, -1, -1},  // not a texture
        {"LOOPA", "GLYPHMASK", 4, -1, -1},    // through the loop once
        {"LOOPA", "BORDERSMASK", -1, -1, -1}, // the loop ends the search
        {"SELF", "GLYPHMASK", -1, -1, -1},
        {"ORPHAN", "GLYPHMASK", -1, -1, -1},
        {"button", "GLYPHMASK", -1, -1, -1}, // exact names only
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.section) + "." + k.key);
        int index = c.GetSkinIndex(k.section);
        EXPECT_EQ(c.GetMaskIndex(index, k.section, k.key), k.mask);
        EXPECT_EQ(c.GetTextureIndex(index, k.section, k.key), k.texture);
        EXPECT_EQ(c.GetPatternIndex(index, k.section, k.key), k.pattern);
    }
    EXPECT_EQ(c.GetSkinIndex("button"), -1);
    EXPECT_EQ(c.GetMaskIndex(-1, "BASE", "GLYPHMASK"), -1);
    EXPECT_EQ(c.GetMaskIndex(0, "", "GLYPHMASK"), -1);
    EXPECT_EQ(c.FindMaskIndex("BUTTON", "GLYPHMASK"), -1);
    EXPECT_EQ(c.FindMaskIndex("BASE", "GLYPHMASK"), 0);
}

TEST(SkinDataModel, EmptySkinAnswersNothing)
{
    TacSkinContent c;
    EXPECT_EQ(c.GetSkinIndex("BUTTON"), -1);
    EXPECT_EQ(c.GetMaskIndex(0, "BUTTON", "BORDERSMASK"), -1);
    EXPECT_EQ(c.GetPatternIndex(0, "BUTTON", "PATTERN"), -1);
    EXPECT_FALSE(c.IsValidSkinIndex(0));
    EXPECT_FALSE(c.IsValidImageIndex(0));
    EXPECT_EQ(c.GetMaskMarginLeft(0), 0);
}

TEST(SkinDataModel, FrameSizesAndMargins)
{
    TsMaskData m = Mask("A", "B");
    EXPECT_EQ(MaskFrameWidth(m), 30);
    EXPECT_EQ(MaskFrameHeight(m), 20);
    m.ImageCount = 0;
    m.MaskType = -1;
    EXPECT_EQ(MaskFrameWidth(m), 0);
    EXPECT_EQ(MaskFrameHeight(m), 0);
    m.ImageCount = std::numeric_limits<int>::max();
    m.MaskType = std::numeric_limits<int>::max();
    EXPECT_EQ(MaskFrameWidth(m), 0);
    EXPECT_EQ(MaskFrameHeight(m), 0);

    TacSkinContent c;
    c.ma = {Mask("A", "B"), Mask("A", "C"), Mask("A", "D"), Mask("A", "E")};
    c.ma[1].WL = 5;
    c.ma[1].WB = 6;
    c.ma[2].BorderWidth = 4;
    c.ma[3].ImageCount = 0; // counts as one state image
    c.ma[3].Bmp = std::make_shared<TBitmap>();
    c.ma[3].Bmp->SetSize(31, 9);
    struct Case {
        int index, left, top, right, bottom, frameW, frameH;
    } cases[] = {
        {0, 30, 20, 30, 20, 30, 20}, {1, 5, 20, 30, 6, 30, 20}, {2, 4, 4, 4, 4, 30, 20},
        {3, 90, 20, 90, 20, 10, 4},  {9, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.index);
        EXPECT_EQ(c.GetMaskMarginLeft(k.index), k.left);
        EXPECT_EQ(c.GetMaskMarginTop(k.index), k.top);
        EXPECT_EQ(c.GetMaskMarginRight(k.index), k.right);
        EXPECT_EQ(c.GetMaskMarginBottom(k.index), k.bottom);
        int w = -1, h = -1;
        c.GetMaskFrameSize(k.index, w, h);
        EXPECT_EQ(w, k.frameW);
        EXPECT_EQ(h, k.frameH);
    }
}

TEST(SkinDataModel, ResolvedIndexes)
{
    TacSkinContent c = Skin();
    c.ResolveIndexes();
    EXPECT_EQ(c.gd[1].BorderIndex, 1);
    EXPECT_EQ(c.gd[0].BorderIndex, -1);
    EXPECT_EQ(c.CachedIndexes.GlobalInfo, 6);
    EXPECT_EQ(c.CachedIndexes.BoxChecked, 5);
    EXPECT_EQ(c.CachedIndexes.RadioChecked, -1);
    EXPECT_EQ(c.CachedIndexes.TabTop.Section, -1);
    EXPECT_EQ(c.CachedIndexes.ComboGlyph, -1);
}
