#include "skinwnd/acBorderGeometry.h"

#include "skin/acBitmapHelpers.h"

#include <gtest/gtest.h>

TEST(BorderGeometry, WindowReachesPastTheFormByTheMargins)
{
    struct Case {
        const char* name;
        TacBorderMetrics m;
        int topIndent;
        TRect rect;
    } cases[] = {
        // The form paints the skin's border and caption: only the shadow.
        {"shadow only", {{11, 7, 11, 11}, 4, 27, 4, 23}, 7, {89, 193, 311, 311}},
        // A narrower frame on the form: the skin's wider border and taller
        // caption lie in the border window as well.
        {"wider border", {{11, 7, 11, 11}, 6, 30, 4, 23}, 10, {87, 190, 313, 313}},
        // Without a caption the taller title adds nothing.
        {"no caption", {{5, 5, 5, 5}, 4, 30, 4, 0}, 1, {95, 199, 305, 305}},
        {"no margins", {{0, 0, 0, 0}, 4, 27, 4, 23}, 0, {100, 200, 300, 300}},
    };
    const TRect owner{100, 200, 300, 300};
    for (const Case& c : cases) {
        EXPECT_EQ(BorderTopIndent(c.m), c.topIndent) << c.name;
        const TRect r = BorderWndRect(owner, c.m);
        EXPECT_EQ(r.Left, c.rect.Left) << c.name;
        EXPECT_EQ(r.Top, c.rect.Top) << c.name;
        EXPECT_EQ(r.Right, c.rect.Right) << c.name;
        EXPECT_EQ(r.Bottom, c.rect.Bottom) << c.name;
    }
}

TEST(BorderGeometry, PictureKeepsCornersAndLeavesTheBodyClear)
{
    // A shadow of 8 x 8 with a distinct colour in each quarter.
    auto shadow = CreateBitmap32(8, 8);
    const TColor quarters[2][2] = {{0x000011, 0x002200}, {0x330000, 0x444444}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            shadow->SetPixel(x, y, quarters[x / 4][y / 4]);
            shadow->ScanLine(y)[x * 4 + 3] = 200;
        }
    auto picture = CreateBitmap32(40, 30);
    const TRect body{6, 5, 34, 25};
    PaintBorderPicture(*picture, *shadow, body);
    EXPECT_EQ(picture->Pixel(0, 0), quarters[0][0]);
    EXPECT_EQ(picture->Pixel(39, 0), quarters[1][0]);
    EXPECT_EQ(picture->Pixel(0, 29), quarters[0][1]);
    EXPECT_EQ(picture->Pixel(39, 29), quarters[1][1]);
    EXPECT_EQ(picture->Alpha(0, 0), 200);
    EXPECT_EQ(picture->Alpha(20, 2), 200); // the stretched top edge
    // The body is see-through: a translucent form shows nothing doubled.
    for (const auto& [x, y] : {std::pair{6, 5}, {20, 15}, {33, 24}})
        EXPECT_EQ(picture->Alpha(x, y), 0) << x << "," << y;

    // The skin's see-through colour stays clear.
    shadow->SetPixel(0, 0, clFuchsia);
    PaintBorderPicture(*picture, *shadow, body);
    EXPECT_EQ(picture->Alpha(0, 0), 0);
    EXPECT_EQ(picture->Alpha(1, 1), 200);

    // A shadow without pixels leaves everything clear.
    TBitmap none;
    PaintBorderPicture(*picture, none, body);
    EXPECT_EQ(picture->Alpha(0, 0), 0);
}
