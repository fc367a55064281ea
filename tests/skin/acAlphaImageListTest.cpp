#include "skin/acAlphaImageList.h"

#include "IcoBuilder.h"
#include "PngBuilder.h"

#include <gtest/gtest.h>

namespace {

using pngtest::File;
using pngtest::MakeImage;

// A 4 x 2 RGBA picture whose alpha is its column times 60.
std::string AlphaPng(uint16_t red)
{
    return File(MakeImage(4, 2, 8, 6, 0, 0, [red](uint32_t x, uint32_t, int s) -> uint16_t {
        return s == 0 ? red : s == 3 ? uint16_t(x * 60) : 0;
    }));
}

// A 3 x 3 RGB picture, white except a blue middle pixel.
std::string WhitePng()
{
    return File(MakeImage(3, 3, 8, 2, 0, 0, [](uint32_t x, uint32_t y, int s) -> uint16_t {
        return x == 1 && y == 1 && s != 2 ? 0 : 255;
    }));
}

// A 2 x 2 icon with 24-bit colour whose left column the mask clears.
std::string MaskedIcon()
{
    return icotest::File({icotest::Dib(
        2, 2, 24, [](int, int) { return 0x405060u; }, [](int x, int) { return x == 0; })});
}

TsImgListItem Item(std::string data, TsImageFormat format = ifPNG) { return {format, pf32bit, std::move(data)}; }

TEST(acAlphaImageList, BadIconRaisesAndLeavesTheListWorking)
{
    TsAlphaImageList list;
    list.Items = {Item("ICO bytes", ifICO)};
    EXPECT_THROW(list.AfterConstruction(), EInvalidGraphic);
    EXPECT_FALSE(list.Updating());
    list.Items = {Item(MaskedIcon(), ifICO)};
    list.Loaded();
    EXPECT_EQ(list.Count(), 1);
}

TEST(acAlphaImageList, StoredItemsBecomeImagesInOrder)
{
    TsAlphaImageList list;
    list.Loading = true;
    list.Items = {Item(AlphaPng(10)), Item(WhitePng()), Item(AlphaPng(30)), Item(MaskedIcon(), ifICO)};
    list.AfterConstruction(); // still loading: nothing built yet
    EXPECT_EQ(list.Count(), 0);
    list.Loaded();
    ASSERT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.ImagesGenerated());
    EXPECT_EQ(list.Image(0).Image.Pixel(0, 0) & 0xFF, 10u);
    EXPECT_EQ(list.Image(2).Image.Pixel(0, 0) & 0xFF, 30u);
    // A 32-bit picture keeps its alpha; an icon takes it from its mask.
    EXPECT_EQ(list.Image(0).Image.Alpha(3, 1), 180);
    EXPECT_EQ(list.Image(3).Image.Alpha(0, 0), 0);
    EXPECT_EQ(list.Image(3).Image.Alpha(1, 0), 255);
    EXPECT_EQ(list.Image(3).Image.Pixel(1, 0), RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(list.Items.size(), 4u);
}

TEST(acAlphaImageList, WhiteTopLeftOfAPlainPictureIsSeeThrough)
{
    TsAlphaImageList list;
    list.Items = {Item(WhitePng())};
    list.AfterConstruction();
    ASSERT_EQ(list.Count(), 1);
    const TBitmap& mask = list.Image(0).Mask;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(mask.Index(x, y), x == 1 && y == 1 ? 0 : 1) << x << "," << y;
}

TEST(acAlphaImageList, BadPictureRaisesAndLeavesTheListWorking)
{
    std::string broken = AlphaPng(10);
    broken[40] ^= 0x55; // damages the image data
    TsAlphaImageList list;
    list.Items = {Item(AlphaPng(10)), Item(broken)};
    EXPECT_ANY_THROW(list.AfterConstruction());
    EXPECT_FALSE(list.Updating());
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.Items = {Item(AlphaPng(50))};
    list.Loaded();
    TIconBitmaps plain;
    plain.Image.SetPixelFormat(pf32bit);
    plain.Image.SetSize(2, 1);
    list.AddIcon(plain);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Image(1).Image.Alpha(0, 0), 255); // the change was handled
}

TEST(acAlphaImageList, PlainBitmapsBecomeOpaqueExceptMagenta)
{
    const struct {
        const char* name;
        TColor colour;
        int alphaIn, alphaOut;
    } cases[] = {
        {"plain colour", 0x123456, 0, 255},
        {"magenta key", 0xFF00FF, 0, 0},
        {"own alpha kept", 0x123456, 77, 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TsAlphaImageList list;
        list.AfterConstruction();
        TIconBitmaps icon;
        icon.Image.SetPixelFormat(pf32bit);
        icon.Image.SetSize(2, 2);
        icon.Image.FillRect(TRect{0, 0, 2, 2}, c.colour);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                icon.Image.ScanLine(y)[x * 4 + 3] = uint8_t(c.alphaIn);
        list.AddIcon(icon);
        ASSERT_EQ(list.Count(), 1);
        EXPECT_EQ(list.Image(0).Image.Alpha(1, 1), c.alphaOut);
    }
}

TEST(acAlphaImageList, AssignCopiesItemsSoTheCopyRebuilds)
{
    TsAlphaImageList source(24, 12);
    source.Items = {Item(AlphaPng(10)), Item(AlphaPng(20))};
    source.AfterConstruction();
    TsAlphaImageList copy;
    copy.Assign(&source);
    EXPECT_FALSE(copy.Updating());
    EXPECT_EQ(copy.Width(), 24);
    EXPECT_EQ(copy.Height(), 12);
    ASSERT_EQ(copy.Items.size(), 2u);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Image(1).Image.Pixel(0, 0) & 0xFF, 20u);
    // A new item in the copy is built on the next change.
    copy.Items.push_back(Item(AlphaPng(30)));
    copy.Change();
    ASSERT_EQ(copy.Count(), 3);
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_FALSE(copy.HandleAllocated());
}

TEST(acAlphaImageList, DrawingBlendsThroughAlphaAndSkipsMaskedPixelsEnabledOrNot)
{
    TsAlphaImageList list;
    list.Items = {Item(AlphaPng(200)), Item(MaskedIcon(), ifICO)};
    list.AfterConstruction();
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        TBitmap canvas;
        canvas.SetPixelFormat(pf24bit);
        canvas.SetSize(8, 4);
        canvas.FillRect(TRect{0, 0, 8, 4}, RGB(0, 0, 100));
        list.DoDraw(0, canvas, 1, 1, enabled);
        EXPECT_EQ(canvas.Pixel(1, 1), RGB(0, 0, 100));             // alpha 0
        EXPECT_EQ(canvas.Pixel(4, 2), RGB(141, 0, 29));           // alpha 180 of red 200 over blue 100
        EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 100));             // outside the image
        list.DoDraw(1, canvas, 6, 0, enabled);
        EXPECT_EQ(canvas.Pixel(6, 0), RGB(0, 0, 100));             // cleared by the mask
        EXPECT_EQ(canvas.Pixel(7, 1), RGB(0x40, 0x50, 0x60));
        list.DoDraw(5, canvas, 0, 0, enabled);                     // no such image: nothing
    }
}

} // namespace

