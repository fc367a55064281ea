#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// A fill paints exactly the part of its rectangle inside the bitmap, in
// every format with whole bytes per pixel, whatever the rectangle's place.
TEST(TBitmap, FillRectPaintsItsRectangleClippedToTheBitmap)
{
    const TColor under = RGB(0, 0, 0), colour = RGB(200, 100, 50);
    struct Case {
        const char* what;
        TRect r;
    } cases[] = {
        {"inside", {3, 2, 9, 5}},
        {"one pixel", {4, 4, 5, 5}},
        {"whole bitmap", {0, 0, 11, 7}},
        {"past every side", {-4, -3, 20, 30}},
        {"left and top cut", {-2, -1, 3, 2}},
        {"right and bottom cut", {8, 5, 15, 12}},
        {"one row", {0, 6, 11, 7}},
        {"one column", {10, 0, 11, 7}},
        {"empty", {5, 5, 5, 9}},
        {"inverted", {6, 4, 2, 1}},
        {"outside", {11, 0, 14, 7}},
    };
    for (TPixelFormat format : {pf15bit, pf16bit, pf24bit, pf32bit})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " " + std::to_string(BitsPerPixel(format)));
            TBitmap b;
            b.SetPixelFormat(format);
            b.SetSize(11, 7);
            b.FillRect({0, 0, 11, 7}, under);
            b.FillRect(c.r, colour);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 11; ++x) {
                    const bool inside = x >= c.r.Left && x < c.r.Right && y >= c.r.Top && y < c.r.Bottom;
                    const TColor want = inside ? b.Pixel(std::max(c.r.Left, 0), std::max(c.r.Top, 0)) : under;
                    ASSERT_EQ(b.Pixel(x, y), want) << x << "," << y;
                    if (inside && format >= pf24bit)
                        ASSERT_EQ(b.Pixel(x, y), colour);
                }
        }
}
