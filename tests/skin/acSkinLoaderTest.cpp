#include "skin/acSkinLoader.h"
#include "skin/sStoredSkins.h"

#include "SkinCompare.h"
#include "SkinGenerator.h"
#include "SkinPacker.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::TempDir;

namespace {

std::string PackFiles(const std::map<std::string, std::string>& files)
{
    std::vector<TPackEntry> entries;
    for (const auto& [name, bytes] : files)
        entries.push_back({name, bytes});
    return PackSkin(entries);
}

} // namespace

TEST(SkinLoad, ProjectSkinIsTheSameAsFolderPackedFileAndStoredSkin)
{
    for (const TSkinPalette& palette : {ProjectPalette(), DuskPalette()}) {
        TempDir dir;
        ASSERT_TRUE(WriteSkinFolder(dir.file("Tarku"), palette));
        std::string error;
        TacSkinContent folder, packed, stored, storedData;
        ASSERT_TRUE(LoadSkinFolder(dir.file("Tarku"), {}, folder, error)) << error;
        const std::string bytes = PackFiles(SkinFiles(palette));
        ASSERT_TRUE(LoadPackedSkin(bytes, {}, "", packed, error)) << error;
        ASSERT_TRUE(LoadStoredSkin(BuildStoredSkin("Tarku", palette), {}, stored, error)) << error;
        TsStoredSkin withData;
        withData.Data = bytes;
        ASSERT_TRUE(LoadStoredSkin(withData, {}, storedData, error)) << error;
        {
            SCOPED_TRACE("packed");
            ExpectSameSkin(folder, packed);
        }
        {
            SCOPED_TRACE("stored items");
            ExpectSameSkin(folder, stored);
        }
        {
            SCOPED_TRACE("stored data");
            ExpectSameSkin(folder, storedData);
        }
        EXPECT_EQ(folder.SkinData.ImageFolder, dir.file("Tarku") + "/");
    }
}

// What the later skin issues look up is all there, with the kinds of image
// each syntax gives.
TEST(SkinLoad, ProjectSkinHoldsEveryImageTheWindowsNeed)
{
    TempDir dir;
    ASSERT_TRUE(WriteSkinFolder(dir.path(), ProjectPalette()));
    TacSkinContent s;
    std::string error;
    ASSERT_TRUE(LoadSkinFolder(dir.path(), {}, s, error)) << error;
    const TacCachedIndexes& c = s.CachedIndexes;
    for (int i : {c.GlobalInfo, c.ExBorder, c.BoxChecked, c.BoxUnchecked, c.BoxGrayed, c.RadioChecked,
                  c.RadioUnchecked, c.RadioGrayed, c.SmallChecked, c.SmallUnchecked, c.SmallGrayed, c.TabTop.Border,
                  c.TabBottom.Border, c.TabLeft.Border, c.TabRight.Border, c.ScrollBtnTop.Glyph,
                  c.ScrollBtnBottom.Border, c.ScrollSliderV.Glyph, c.ScrollSliderH.Border, c.ScrollBar1H.Border,
                  c.ScrollBar2V.Border, c.ComboBtn.Border, c.ComboBtn.Pattern, c.ComboGlyph})
        EXPECT_GE(i, 0);
    struct Case {
        const char* section, *key;
        TacImgType type;
        bool own;
    } cases[] = {
        {"FORM", "BORDERSMASK", itisaBorder, false},     {"FORMTITLE", "BORDERSMASK", itisaBorder, false},
        {"FORMTITLE", "BICONCLOSE", itisaGlyph, false},  {"FORMTITLE", "SICONCLOSE", itisaGlyph, true},
        {"BUTTON", "BORDERSMASK", itisaBorder, false},   {"CHECKBOX", "BORDERSMASK", itisaBorder, false},
        {"EDIT", "BORDERSMASK", itisaBorder, false},     {"COMBOBOX", "BORDERSMASK", itisaBorder, false},
        {"MENUITEM", "BORDERSMASK", itisaBorder, false}, {"GROUPBOX", "BORDERSMASK", itisaBorder, true},
        {"PANEL", "BORDERSMASK", itisaBorder, false},    {"PANEL", "PATTERN", itisaTexture, true},
        {"TOOLBUTTON", "BORDERSMASK", itisaBorder, false}, {"STATUSBAR", "STATUSPANELMASK", itisaBorder, false},
        {"PAGECONTROL", "BORDERSMASK", itisaBorder, false}, {"TOOLBAR", "BORDERSMASK", itisaBorder, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.section) + "." + k.key);
        int i = s.GetMaskIndex(s.GetSkinIndex(k.section), k.section, k.key);
        ASSERT_GE(i, 0);
        EXPECT_EQ(s.ma[size_t(i)].ImgType, k.type);
        EXPECT_EQ(s.ma[size_t(i)].Bmp != nullptr, k.own);
    }
    EXPECT_GE(s.GetPatternIndex(s.GetSkinIndex("FORM"), "FORM", "PATTERN"), 0);
    EXPECT_EQ(s.SkinData.Author, "Tarku team #1");
    EXPECT_DOUBLE_EQ(s.SkinData.Version, 7.5);
    int button = s.GetSkinIndex("BUTTON");
    ASSERT_GE(button, 0);
    EXPECT_EQ(s.gd[size_t(button)].GradientArray.size(), 1u);
    EXPECT_GE(s.gd[size_t(button)].BorderIndex, 0);
}
