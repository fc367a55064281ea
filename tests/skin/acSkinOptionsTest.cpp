#include "skin/acSkinLoader.h"

#include "PngBuilder.h"
#include "SkinGenerator.h"
#include "SkinPacker.h"
#include "TestSupport.h"
#include "platform/BmpFile.h"
#include "platform/Files.h"
#include "skin/acMaskPaint.h"

#include <gtest/gtest.h>

using testsupport::TempDir;

namespace {

std::string Bmp(int w, int h)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    b.FillRect({0, 0, w, h}, RGB(10, 20, 30));
    return SaveBmpToString(b);
}

// A skin folder in <temp>/skin with a 100 x 60 master bitmap, 30 x 20
// pictures OWN.BMP and LOGO.PNG.BMP, one in a subfolder, a broken one, and
// OUT.BMP beside the folder (outside the skin).
struct TSkinFolder {
    TempDir dir;
    std::string folder = dir.file("skin");

    explicit TSkinFolder(const std::string& options)
    {
        ForceDirectories(folder + "/sub");
        testsupport::WriteFileBytes(folder + "/Options.dat", options);
        testsupport::WriteFileBytes(folder + "/MASTER.BMP", Bmp(100, 60));
        testsupport::WriteFileBytes(folder + "/OWN.BMP", Bmp(30, 20));
        testsupport::WriteFileBytes(folder + "/LOGO.PNG.BMP", Bmp(30, 20));
        testsupport::WriteFileBytes(folder + "/sub/IN.BMP", Bmp(30, 20));
        testsupport::WriteFileBytes(folder + "/BROKEN.BMP", "BM not really");
        testsupport::WriteFileBytes(dir.file("OUT.BMP"), Bmp(30, 20));
    }
    TacSkinContent Load(const TacCommonSections& common = {}) const
    {
        TacSkinContent skin;
        std::string error;
        EXPECT_TRUE(LoadSkinFolder(folder, common, skin, error)) << error;
        return skin;
    }
};

const char* const Global = "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\n";

struct TMaskCase {
    const char* value;
    bool defines;
    TRect r;
    int count, maskType, borderWidth, stretch;
    TacImgType type;
    int wl, wt, wr, wb;
    bool own;
    bool upperNames;
};

} // namespace

TEST(SkinOptions, ImageValueSyntaxes)
{
    const TMaskCase cases[] = {
        {"#(10,20,74,52)(3,1,0,1)", true, {10, 20, 74, 52}, 3, 1, 0, 1, itisaBorder, 7, 5, 7, 5, false, true},
        {"#(10,20,74,52)(3,1)", true, {10, 20, 74, 52}, 3, 1, 0, 1, itisaBorder, 7, 5, 7, 5, false, true},
        {"#(10,20,74,52)(0,-2,-5)", true, {10, 20, 74, 52}, 1, 0, 0, 1, itisaBorder, 21, 10, 21, 10, false, true},
        {"#(10,20,74,52)(3,1,4,2)", true, {10, 20, 74, 52}, 3, 1, 4, 2, itisaBorder, 4, 4, 4, 4, false, true},
        {"#(0,0,200,500)(1,0)", true, {0, 0, 100, 60}, 1, 0, 0, 1, itisaBorder, 33, 20, 33, 20, false, true},
        {"#(50,70,40,90)(1,0)", true, {50, 60, 50, 60}, 1, 0, 0, 1, itisaBorder, 0, 0, 0, 0, false, true},
        {"#(a,0,10,10)(1,0)", false},
        {"#(0,0,10)(1,0)", false},
        {"#(0,0,10,10)(1)", false},
        {"#", false},
        {"Team #1", false},
        {"@0010,0020,0074,0052,3,1", true, {10, 20, 74, 52}, 3, 1, 0, 0, itisaGlyph, 0, 0, 0, 0, false, false},
        {"@0010,0020,0074,0052,3", false},
        {"@0010,0020", false},
        {"@", false},
        {"^0000,0000,0040,0024,0004,0004,0004,0004,3,1,0,0", true, {0, 0, 40, 24}, 3, 1, 0, 0, itisaBorder, 4, 4, 4, 4,
         false, false},
        {"^0000,0000,0040,0024,0000,0000,0000,0000,0,0,1,2", true, {0, 0, 40, 24}, 1, 0, 2, 1, itisaBorder, 2, 2, 2, 2,
         false, false},
        {"^0000,0000,0040,0024,0000,0000,0000,0000,0,0,1,0", true, {0, 0, 40, 24}, 1, 0, 0, 1, itisaBorder, 13, 8, 13,
         8, false, false},
        {"^0000,0000,0040,0024,0004", false},
        {"~0000,0000,0016,0016,02,1", true, {0, 0, 16, 16}, 1, 1, 0, 2, itisaTexture, 0, 0, 0, 0, false, false},
        {"~0000,0000,0016,0016,02", true, {0, 0, 16, 16}, 1, 0, 0, 2, itisaTexture, 0, 0, 0, 0, false, false},
        {"~0000,0000,0016,0016,q2", false},
        {"!OWN.BMP!3!1!2", true, {0, 0, 30, 20}, 3, 1, 0, 4, itisaGlyph, 3, 3, 3, 3, true, false},
        {"!OWN.BMP!3!1!9!1!2!3!4", true, {0, 0, 30, 20}, 3, 1, 0, 4, itisaPngGlyph, 1, 2, 3, 4, true, false},
        {"!OWN.BMP!0!-1!0", true, {0, 0, 30, 20}, 1, 0, 0, 4, itisaBorder, 10, 6, 10, 6, true, false},
        // Counts, border widths and margins are bounded as the skin is read.
        {"!OWN.BMP!1!0!0!2147483647!2147483647!2147483647!2147483647", true, {0, 0, 30, 20}, 1, 0, 0, 4,
         itisaBorder, MaxMaskValue, MaxMaskValue, MaxMaskValue, MaxMaskValue, true, false},
        {"!OWN.BMP!3!1!0!-2147483648!-1!-2147483648!-5", true, {0, 0, 30, 20}, 3, 1, 0, 4, itisaBorder, 0, 0, 0,
         0, true, false},
        {"!OWN.BMP!2147483647!2147483647!0", true, {0, 0, 30, 20}, MaxMaskValue, MaxMaskValue, 0, 4, itisaBorder,
         0, 0, 0, 0, true, false},
        {"#(0,0,64,48)(2147483647,2147483647)", true, {0, 0, 64, 48}, MaxMaskValue, MaxMaskValue, 0, 1,
         itisaBorder, 0, 0, 0, 0, false, true},
        {"#(0,0,64,48)(1,0,2147483647)", true, {0, 0, 64, 48}, 1, 0, MaxMaskValue, 1, itisaBorder, MaxMaskValue,
         MaxMaskValue, MaxMaskValue, MaxMaskValue, false, true},
        {"#(0,0,64,48)(1,0,-2147483648,2147483647)", true, {0, 0, 64, 48}, 1, 0, 0, 2147483647, itisaBorder, 21,
         16, 21, 16, false, true},
        {"^0000,0000,0040,0024,-999,0004,0004,0004,3,1,0,0", true, {0, 0, 40, 24}, 3, 1, 0, 0, itisaBorder, 0, 4,
         4, 4, false, false},
        // The last extension tells the kind of picture.
        {"!LOGO.PNG.BMP!3!1!2", true, {0, 0, 30, 20}, 3, 1, 0, 4, itisaGlyph, 3, 3, 3, 3, true, false},
        {"LOGO.PNG.BMP", true, {0, 0, 30, 20}, 3, 1, 0, 0, itisaBorder, 3, 3, 3, 3, true, true},
        {"!OWN.BMP!3!1", false},
        {"!OWN.BMP!3!1!2!1", false},
        {"!own.bmp!3!1!2", false},
        {"!MISSING.BMP!3!1!2", false},
        {"!BROKEN.BMP!3!1!2", false},
        {"!../OUT.BMP!3!1!2", false},
        {"OWN.BMP", true, {0, 0, 30, 20}, 3, 1, 0, 0, itisaBorder, 3, 3, 3, 3, true, true},
        {"own.bmp", true, {0, 0, 30, 20}, 3, 1, 0, 0, itisaBorder, 3, 3, 3, 3, true, true},
        {"sub\\IN.BMP", true, {0, 0, 30, 20}, 3, 1, 0, 0, itisaBorder, 3, 3, 3, 3, true, true},
        {"../OUT.BMP", false},
        {"sub/../../OUT.BMP", false},
        {"C:\\OUT.BMP", false},
        {"BROKEN.BMP", false},
        {"MISSING.BMP", false},
        {"255", false},
        {"", false},
    };
    for (const TMaskCase& c : cases) {
        SCOPED_TRACE(c.value);
        std::string value = c.value;
        TSkinFolder f(std::string(Global) + "[Sec]\r\nKey=" + value + "\r\n");
        TacSkinContent s = f.Load();
        ASSERT_EQ(s.ma.size(), c.defines ? 1u : 0u);
        if (!c.defines)
            continue;
        const TsMaskData& m = s.ma[0];
        EXPECT_EQ(m.SectionName, c.upperNames ? "SEC" : "Sec");
        EXPECT_EQ(m.PropertyName, c.upperNames ? "KEY" : "Key");
        EXPECT_EQ(m.R, c.r);
        EXPECT_EQ(m.ImageCount, c.count);
        EXPECT_EQ(m.MaskType, c.maskType);
        EXPECT_EQ(m.BorderWidth, c.borderWidth);
        EXPECT_EQ(m.StretchMode, c.stretch);
        EXPECT_EQ(m.ImgType, c.type);
        EXPECT_EQ(m.WL, c.wl);
        EXPECT_EQ(m.WT, c.wt);
        EXPECT_EQ(m.WR, c.wr);
        EXPECT_EQ(m.WB, c.wb);
        EXPECT_EQ(m.Bmp != nullptr, c.own);
        if (m.Bmp) {
            EXPECT_EQ(m.Bmp->PixelFormat(), pf24bit);
        }
    }
}

TEST(SkinOptions, AbsoluteFileNamesStayOutside)
{
    TempDir outside;
    testsupport::WriteFileBytes(outside.file("OUT.BMP"), Bmp(30, 20));
    for (std::string value : {outside.file("OUT.BMP"), "!" + outside.file("OUT.BMP") + "!3!1!2"}) {
        SCOPED_TRACE(value);
        TSkinFolder f(std::string(Global) + "[Sec]\r\nKey=" + value + "\r\n");
        EXPECT_TRUE(f.Load().ma.empty());
    }
}

TEST(SkinOptions, SectionValuesWithDefaultsAndParentClasses)
{
    TSkinFolder f(std::string(Global)
                  + "AUTHOR=Team #1\r\nDESCRIPTION=@ mine\r\nVERSION=1.25\r\nTITLEHEIGHT=24\r\nSHADOW1COLOR=0x10\r\n"
                    "[BASE]\r\nCOLOR=255\r\nTRANSPARENCY=30\r\nGIVEOWNFONT=true\r\nGRADIENTDATA=1;2;50;1;0\r\n"
                    "[CHILD]\r\nPARENTCLASS=BASE\r\nTRANSPARENCY=-1\r\nFONTCOLOR=7\r\n"
                    "[GRAND]\r\nparentclass=child\r\n"
                    "[SELF]\r\nPARENTCLASS=SELF\r\n"
                    "[BADNUM]\r\nPARENTCLASS=BASE\r\nCOLOR=abc\r\n"
                    "[ORPHAN]\r\nPARENTCLASS=NOWHERE\r\n");
    TacSkinContent s = f.Load();
    EXPECT_TRUE(s.ma.empty()); // neither AUTHOR nor DESCRIPTION is an image
    EXPECT_EQ(s.SkinData.Author, "Team #1");
    EXPECT_EQ(s.SkinData.Description, "@ mine");
    EXPECT_DOUBLE_EQ(s.SkinData.Version, 1.25);
    EXPECT_EQ(s.SkinData.ExtTitleHeight, 24);
    EXPECT_EQ(s.SkinData.ExtMaxHeight, 24);
    EXPECT_EQ(s.SkinData.Shadow1Color, 16);
    EXPECT_EQ(s.SkinData.Shadow1Blur, -1);
    EXPECT_EQ(s.SkinData.ExtBorderWidth, 4);
    struct Case {
        const char* section;
        TColor color;
        int transparency, fontColor;
        bool ownFont;
        size_t gradientSteps;
    } cases[] = {
        {"BASE", 255, 30, 0, true, 1},    {"CHILD", 255, 30, 7, true, 1},   {"GRAND", 255, 30, 7, true, 1},
        {"SELF", clWhite, 0, 0, false, 0}, {"BADNUM", 255, 30, 0, true, 1},
        {"ORPHAN", clWhite, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        int i = s.GetSkinIndex(c.section);
        ASSERT_GE(i, 0);
        const TsGeneralData& g = s.gd[size_t(i)];
        EXPECT_EQ(g.Color, c.color);
        EXPECT_EQ(g.Transparency, c.transparency);
        EXPECT_EQ(g.FontColor, c.fontColor);
        EXPECT_EQ(g.GiveOwnFont, c.ownFont);
        EXPECT_EQ(g.GradientArray.size(), c.gradientSteps);
        EXPECT_EQ(g.FadingIterations, 5);
        EXPECT_EQ(g.TCLeft, -1);
        EXPECT_EQ(g.HotColor, clWhite);
        EXPECT_EQ(g.BorderIndex, -1);
    }
    EXPECT_EQ(s.gd[size_t(s.GetSkinIndex("GRAND"))].ParentClass, "child");
    EXPECT_EQ(s.gd[size_t(s.GetSkinIndex("SELF"))].GradientData, " ");
}

TEST(SkinOptions, ExtraSectionsMergeWithoutFailingTheLoad)
{
    TSkinFolder f(std::string(Global) + "[BASE]\r\nCOLOR=255\r\nGLOW=3\r\nBORDERSMASK=#(0,0,30,30)(3,0)\r\n");
    TacCommonSections common{"[BASE]",        "COLOR=1",          "[EXTRA]",         "PARENTCLASS=base",
                             "FONTCOLOR=0x10", "GLYPH=#(0,0,10,10)(1,0)", "PLAIN=255", "EXTRAPIC=OWN.BMP",
                             "OUTSIDE=../OUT.BMP", "; a comment", "[EXTRA2]", "COLOR=77"};
    TacSkinContent s = f.Load(common);
    const TsGeneralData& base = s.gd[size_t(s.GetSkinIndex("BASE"))];
    EXPECT_EQ(base.Color, 255); // the skin's own section is left alone
    int e = s.GetSkinIndex("EXTRA");
    ASSERT_GE(e, 0);
    EXPECT_EQ(s.gd[size_t(e)].ParentClass, "BASE");
    EXPECT_EQ(s.gd[size_t(e)].Color, 255);
    EXPECT_EQ(s.gd[size_t(e)].FontColor, 16);
    EXPECT_EQ(s.gd[size_t(e)].GlowCount, 0); // never from the parent
    // The border mask is found through the parent class.
    EXPECT_EQ(s.gd[size_t(e)].BorderIndex, s.FindMaskIndex("BASE", "BORDERSMASK"));
    int e2 = s.GetSkinIndex("EXTRA2");
    ASSERT_GE(e2, 0);
    EXPECT_EQ(s.gd[size_t(e2)].Color, 77);
    EXPECT_EQ(s.gd[size_t(e2)].ParentClass, "-1");
    EXPECT_GE(s.FindMaskIndex("EXTRA", "GLYPH"), 0);
    EXPECT_GE(s.FindMaskIndex("EXTRA", "EXTRAPIC"), 0);
    EXPECT_EQ(s.FindMaskIndex("EXTRA", "PLAIN"), -1);
    EXPECT_EQ(s.FindMaskIndex("EXTRA", "OUTSIDE"), -1);
    EXPECT_EQ(s.FindMaskIndex("BASE", "COLOR"), -1);
}

// A load that fails leaves the skin the caller had.
TEST(SkinOptions, FailedLoadsKeepTheOldSkin)
{
    TSkinFolder good(std::string(Global) + "[OLD]\r\nCOLOR=5\r\n");
    TempDir empty;
    std::string twoOptions = PackSkin({{"Options.dat", "[A]"}, {"options.DAT", "[B]"}});
    std::string noOptions = PackSkin({{"MASTER.BMP", Bmp(2, 2)}});
    std::string badSignature = "ASzx" + PackSkin({{"Options.dat", "[A]"}}).substr(4);
    struct Case {
        const char* what;
        std::function<bool(TacSkinContent&, std::string&)> load;
    } cases[] = {
        {"folder without options", [&](TacSkinContent& s, std::string& e) { return LoadSkinFolder(empty.path(), {}, s, e); }},
        {"missing folder", [&](TacSkinContent& s, std::string& e) { return LoadSkinFolder(empty.file("x"), {}, s, e); }},
        {"two options entries", [&](TacSkinContent& s, std::string& e) { return LoadPackedSkin(twoOptions, {}, "", s, e); }},
        {"no options entry", [&](TacSkinContent& s, std::string& e) { return LoadPackedSkin(noOptions, {}, "", s, e); }},
        {"wrong signature", [&](TacSkinContent& s, std::string& e) { return LoadPackedSkin(badSignature, {}, "", s, e); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TacSkinContent skin = good.Load();
        std::string error;
        EXPECT_FALSE(c.load(skin, error));
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(skin.GetSkinIndex("OLD"), 1);
        EXPECT_EQ(skin.gd[1].Color, 5);
        EXPECT_EQ(skin.MasterBitmap->Width(), 100);
    }
}

namespace {

// Sections S0..S(n-1), each naming the next as its parent; with `loopTo`
// >= 0 the last names S(loopTo).
std::string ChainOptions(int n, int loopTo = -1)
{
    std::string text = std::string(Global);
    for (int i = 0; i < n; ++i) {
        const int parent = i + 1 < n || loopTo < 0 ? i + 1 : loopTo;
        text += "[S" + std::to_string(i) + "]\r\nPARENTCLASS=s" + std::to_string(parent) + "\r\n";
    }
    return text + "[S" + std::to_string(n) + "]\r\nCOLOR=77\r\n";
}

} // namespace

// A chain of parent classes that loops or runs deeper than a skin needs is
// refused with the section it starts from; the caller keeps its skin. A
// chain just within the depth loads, its keys read from its far end.
TEST(SkinOptions, LoopingAndTooDeepParentChainsRefuseTheSkin)
{
    const int deepest = int(SkinReaders::MaxParentDepth);
    struct Case {
        const char* what;
        std::string options;
        const char* error; // nullptr: the skin loads
    } cases[] = {
        {"two sections", ChainOptions(2, 0), "Skin section \"S0\" names itself through its parent classes"},
        {"loop after a tail", ChainOptions(5, 2), "Skin section \"S0\" names itself through its parent classes"},
        {"3000 sections in a loop", ChainOptions(3000, 0),
         "Skin section \"S0\" names itself through its parent classes"},
        {"one step too deep", ChainOptions(deepest + 1), "Skin section \"S0\" has parent classes more than 64 deep"},
        {"3000 sections deep", ChainOptions(3000), "Skin section \"S0\" has parent classes more than 64 deep"},
        {"deepest chain", ChainOptions(deepest), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSkinFolder good(std::string(Global) + "[OLD]\r\nCOLOR=5\r\n");
        TacSkinContent skin = good.Load();
        const std::string bytes = PackSkin({{"Options.dat", c.options}});
        std::string error;
        const bool loaded = LoadPackedSkin(bytes, {}, "", skin, error);
        if (c.error) {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(error, c.error);
            ASSERT_EQ(skin.GetSkinIndex("OLD"), 1);
            EXPECT_EQ(skin.gd[1].Color, 5);
            EXPECT_EQ(skin.MasterBitmap->Width(), 100);
        } else {
            ASSERT_TRUE(loaded) << error;
            EXPECT_EQ(skin.GetSkinIndex("OLD"), -1);
            EXPECT_EQ(skin.gd[size_t(skin.GetSkinIndex("S0"))].Color, 77);
        }
    }
}

TEST(SkinOptions, PackedSkinFindsPicturesByUpperCaseName)
{
    std::string options = std::string(Global) + "[S]\r\nA=OWN.bmp\r\nB=!OWN.BMP!3!1!2\r\nC=!Own.bmp!3!1!2\r\n";
    std::string bytes = PackSkin({{"Options.dat", options}, {"master.bmp", Bmp(100, 60)}, {"own.BMP", Bmp(30, 20)}});
    TacSkinContent s;
    std::string error;
    ASSERT_TRUE(LoadPackedSkin(bytes, {}, "", s, error)) << error;
    EXPECT_EQ(s.MasterBitmap->Width(), 100);
    EXPECT_GE(s.FindMaskIndex("S", "A"), 0);
    EXPECT_GE(s.FindMaskIndex("S", "B"), 0);
    EXPECT_EQ(s.FindMaskIndex("S", "C"), -1); // "!" names compare as written
}

TEST(SkinOptions, VersionIsARealNumberWithAPoint)
{
    struct Case {
        const char* text;
        double version;
    } cases[] = {
        {"1.25", 1.25}, {"+6.5", 6.5}, {"-2.5", -2.5}, {"7", 7},   {"1E2", 100},    {"2.5e-1", 0.25},
        {"5.", 5},      {".5", 0.5},   {"inf", 0},     {"nan", 0}, {"infinity", 0}, {"6,5", 0},
        {"1e400", 0},   {"0x10", 0},   {"e5", 0},      {"1e", 0},  {"+", 0},        {".", 0},
        {"1.2.3", 0},   {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TSkinFolder f(std::string(Global) + "VERSION=" + c.text + "\r\n");
        EXPECT_DOUBLE_EQ(f.Load().SkinData.Version, c.version);
    }
}

// Margins of the largest 32-bit value load bounded, and restoring the
// corners of such a border ends at once.
TEST(SkinOptions, HugeMarginsPaintOnlyTheCache)
{
    TSkinFolder f(std::string(Global)
                  + "[PANEL]\r\nBORDERSMASK=!OWN.BMP!1!0!0!2147483647!2147483647!2147483647!2147483647\r\n");
    TacSkinContent s = f.Load();
    ASSERT_EQ(s.ma.size(), 1u);
    TBitmap cache;
    cache.SetPixelFormat(pf24bit);
    cache.SetSize(16, 16);
    cache.FillRect({0, 0, 16, 16}, RGB(1, 1, 1));
    TBackgroundInfo bg;
    bg.BgType = 1;
    bg.Color = RGB(9, 9, 9);
    RestoreBorderCorners(cache, 16, 16, s.ma[0], 0, bcAll, bg);
    EXPECT_EQ(cache.Pixel(0, 0), RGB(1, 1, 1)) << "the picture holds no key colour";
}

namespace {

std::string Jpeg(int w, int h)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    b.FillRect({0, 0, w, h}, RGB(90, 120, 150));
    return SaveJpegToString(b);
}

} // namespace

// Keys naming one file share one decoded picture.
TEST(SkinOptions, EachFileIsDecodedOnce)
{
    std::string options = std::string(Global);
    for (const char* section : {"FORM", "PANEL", "BUTTON", "EDIT"})
        options += std::string("[") + section + "]\r\nPATTERN=BG.JPG\r\nHOTPATTERN=bg.jpg\r\nSMALL=TILE.JPG\r\n"
                   + "GLYPH=!OWN.BMP!3!1!2\r\nPLAIN=OWN.BMP\r\n";
    const std::string bytes = PackSkin({{"Options.dat", options},
                                        {"MASTER.BMP", Bmp(100, 60)},
                                        {"OWN.BMP", Bmp(30, 20)},
                                        {"BG.JPG", Jpeg(400, 300)},
                                        {"TILE.JPG", Jpeg(20, 20)}});
    TacSkinContent s;
    std::string error;
    ASSERT_TRUE(LoadPackedSkin(bytes, {}, "", s, error)) << error;
    ASSERT_EQ(s.pa.size(), 8u);
    for (const TsPatternData& p : s.pa)
        EXPECT_EQ(p.Img, s.pa[0].Img);
    // The glyph and the plain file decode OWN.BMP alike (24-bit).
    EXPECT_EQ(s.ma[size_t(s.FindMaskIndex("FORM", "GLYPH"))].Bmp, s.ma[size_t(s.FindMaskIndex("FORM", "PLAIN"))].Bmp);
    for (const char* key : {"SMALL", "GLYPH", "PLAIN"}) {
        SCOPED_TRACE(key);
        const int first = s.FindMaskIndex("FORM", key);
        ASSERT_GE(first, 0);
        for (const char* section : {"PANEL", "BUTTON", "EDIT"}) {
            const int i = s.FindMaskIndex(section, key);
            ASSERT_GE(i, 0);
            EXPECT_EQ(s.ma[size_t(i)].Bmp, s.ma[size_t(first)].Bmp);
        }
    }
}

// Pictures beyond the budget refuse the skin, and the caller keeps the skin
// it had.
TEST(SkinOptions, PicturesBeyondTheBudgetRefuseTheSkin)
{
    // Two files of 6000 x 6000 pixels: each fits a bitmap, both pass the
    // budget.
    const std::string big = Jpeg(6000, 6000);
    const std::string options = std::string(Global) + "[FORM]\r\nPATTERN=A.JPG\r\n[PANEL]\r\nPATTERN=B.JPG\r\n";
    const std::string bytes = PackSkin({{"Options.dat", options}, {"A.JPG", big}, {"B.JPG", big}});
    TSkinFolder good(std::string(Global) + "[OLD]\r\nCOLOR=5\r\n");
    TacSkinContent skin = good.Load();
    std::string error;
    EXPECT_FALSE(LoadPackedSkin(bytes, {}, "", skin, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(skin.GetSkinIndex("OLD"), 1);
    EXPECT_TRUE(skin.pa.empty());

    // One of them alone loads.
    const std::string one = PackSkin({{"Options.dat", options}, {"A.JPG", big}});
    ASSERT_TRUE(LoadPackedSkin(one, {}, "", skin, error)) << error;
    EXPECT_EQ(skin.pa.size(), 1u);
}

namespace {

// A PNG that claims the largest picture a bitmap takes and breaks in its
// first row: the decoder has made room for every pixel when it fails.
std::string BrokenPng(uint32_t w, uint32_t h)
{
    return pngtest::kSignature + pngtest::Chunk("IHDR", pngtest::IHDR(w, h, 8, 6))
           + pngtest::Chunk("IDAT", std::string("\x78\x9C\xFF\xFF\xFF\xFF", 6)) + pngtest::Chunk("IEND", "");
}

} // namespace

// A picture that fails to decode is tried once, however many keys and
// kinds of value name it, and what it claimed counts against the budget,
// so that many broken pictures refuse the skin after a few tries.
TEST(SkinOptions, BrokenPicturesAreTriedOnceAndCountAgainstTheBudget)
{
    struct Case {
        const char* what;
        int pictures;
        uint32_t w, h;
        int keysPerPicture;
        bool loads;
        int decodes;
    } cases[] = {
        {"small, named by every kind of value", 3, 8, 8, 3, true, 3},
        {"large, one file", 1, 8192, 8192, 3, true, 1},
        // The first claims the whole budget; the second passes it.
        {"large, many files", 500, 8192, 8192, 1, false, 2},
        {"quarter of the budget each", 500, 4096, 4096, 1, false, 5},
    };
    // The last is not found: an own file's name compares as written.
    const char* const values[] = {"!P%.PNG!3!1!2", "!P%.PNG!1!0!0", "!P%.png!3!1!2"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TPackEntry> entries;
        std::string options = std::string(Global);
        for (int i = 0; i < c.pictures; ++i) {
            const std::string n = std::to_string(i);
            options += "[S" + n + "]\r\n";
            for (int k = 0; k < c.keysPerPicture; ++k) {
                std::string v = values[k];
                v.replace(v.find('%'), 1, n);
                options += "K" + std::to_string(k) + "=" + v + "\r\n";
            }
            entries.push_back({"P" + n + ".PNG", BrokenPng(c.w, c.h)});
        }
        entries.push_back({"Options.dat", options});
        const std::string bytes = PackSkin(entries);
        TacSkinConvertor convertor;
        convertor.Unpack(bytes);
        TacSkinFiles files(&convertor, "");
        TacSkinContent skin;
        SkinReaders::LoadAllMasks(TacOptionsFile(convertor.Options), files, TacOptionsFile(), skin);
        EXPECT_TRUE(skin.ma.empty());
        EXPECT_EQ(files.Decodes(), c.decodes);
        EXPECT_EQ(files.OverBudget(), !c.loads);

        TSkinFolder good(std::string(Global) + "[OLD]\r\nCOLOR=5\r\n");
        TacSkinContent old = good.Load();
        std::string error;
        EXPECT_EQ(LoadPackedSkin(bytes, {}, "", old, error), c.loads) << error;
        EXPECT_EQ(old.GetSkinIndex("OLD"), c.loads ? -1 : 1);
    }
}
