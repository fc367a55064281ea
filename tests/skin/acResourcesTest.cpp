#include "skin/acAlphaImageList.h"
#include "skin/acResources.h"
#include "skin/acShadows.h"

#include <gtest/gtest.h>

namespace {

TEST(acResources, NamesAreFoundInAnyCaseAndAMissingOneRaises)
{
    const std::string a = ReadResource("acSHDA");
    EXPECT_EQ(a.substr(1, 3), "PNG");
    EXPECT_EQ(ReadResource("ACSHDA"), a);
    try {
        ReadResource("acSHDX");
        ADD_FAILURE() << "a missing resource was read";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Resource acSHDX not found");
    }
}

// Alpha sums of a picture's four edges and its middle pixel.
struct AlphaProfile {
    int corner, middle;
};

AlphaProfile Profile(const TBitmap& b)
{
    return {b.Alpha(0, 0), b.Alpha(b.Width() / 2, b.Height() / 2)};
}

TEST(acShadows, PicturesLiveFromStartUpToShutdown)
{
    TBitmap active, inactive;
    TRect margins{1, 2, 3, 4};
    EXPECT_FALSE(BuiltInShadow(false, active, inactive, margins));
    EXPECT_EQ(margins, (TRect{1, 2, 3, 4}));

    acShadowsInitialization();
    ASSERT_TRUE(ShadowImageA && ShadowImageI);
    const TPNGGraphic* first = ShadowImageA.get();
    acShadowsInitialization(); // once only
    EXPECT_EQ(ShadowImageA.get(), first);
    EXPECT_EQ(ShadowImageA->Width(), 32);
    EXPECT_EQ(ShadowImageA->Height(), 32);
    EXPECT_EQ(ShadowImageI->Width(), 31);
    EXPECT_EQ(ShadowImageI->Height(), 31);
    for (const TPNGGraphic* s : {ShadowImageA.get(), ShadowImageI.get()}) {
        EXPECT_EQ(s->PixelFormat(), pf32bit);
        // Clear at the far corner, dark under the form.
        const AlphaProfile p = Profile(*s);
        EXPECT_EQ(p.corner, 0);
        EXPECT_GT(p.middle, 40);
    }
    EXPECT_GT(Profile(*ShadowImageA).middle, Profile(*ShadowImageI).middle);

    const struct {
        bool composition;
        TRect margins;
    } cases[] = {{false, {11, 7, 11, 11}}, {true, {12, 8, 12, 12}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(BuiltInShadow(c.composition, active, inactive, margins));
        EXPECT_EQ(margins, c.margins);
        EXPECT_EQ(active.Width(), 32);
        EXPECT_EQ(inactive.Width(), 31);
    }
    acShadowsFinalization();
    EXPECT_FALSE(ShadowImageA || ShadowImageI);
}

TEST(acAlphaImageList, StartUpGlyphListHoldsTheFiveGlyphs)
{
    acAlphaImageListInitialization();
    ASSERT_TRUE(acGlyphList);
    TsAlphaImageList* first = acGlyphList.get();
    acAlphaImageListInitialization();
    EXPECT_EQ(acGlyphList.get(), first);
    EXPECT_EQ(acGlyphList->Width(), 48);
    EXPECT_EQ(acGlyphList->Height(), 16);
    ASSERT_EQ(acGlyphList->Count(), 5);
    std::vector<std::string> shapes;
    for (int i = 0; i < 5; ++i) {
        const TBitmap& image = acGlyphList->Image(i).Image;
        EXPECT_EQ(image.Width(), 48);
        EXPECT_EQ(image.Height(), 16);
        // See-through around the glyph, solid inside it.
        EXPECT_EQ(image.Alpha(0, 0), 0);
        std::string shape;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                shape += image.Alpha(x, y) > 128 ? '#' : '.';
        EXPECT_NE(shape.find('#'), std::string::npos);
        shapes.push_back(shape);
    }
    // Five different glyphs, in the resources' order.
    for (size_t i = 0; i < shapes.size(); ++i)
        for (size_t k = i + 1; k < shapes.size(); ++k)
            EXPECT_NE(shapes[i], shapes[k]) << i << " " << k;
    acAlphaImageListFinalization();
    EXPECT_FALSE(acGlyphList);
}

} // namespace
