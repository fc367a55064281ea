// Scans of the see-through corners of frame masks.
#include "skin/acBitmapHelpers.h"
#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/acPixelRows.h"
#include "skin/sSkinManagerIntf.h"

#include <algorithm>

namespace {

// Whether the pixel of an image is magenta; pixels outside count as not.
bool KeyAt(const TBitmap& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.Width() && y < image.Height() && IsMagenta(PixelAt(image, x, y));
}

} // namespace

void FillTransparentPixels(TBitmap& target, const TBitmap& source, const TRect& rect, TPoint point, int maskIndex,
                           const TsSkinManager* manager, int corner)
{
    if (target.PixelFormat() != pf32bit || source.PixelFormat() != pf32bit)
        return;
    const TsMaskData* mask = maskIndex >= 0 && manager ? manager->Mask(maskIndex) : nullptr;
    const TBitmap* image = mask ? MaskImage(*mask) : nullptr;
    if (maskIndex >= 0 && (!image || !PixelBytes(*image)))
        return;
    int mx = 0, my = 0;
    if (mask) {
        mx = mask->R.Left;
        my = mask->R.Top;
        if (corner == 14 || corner == 17)
            mx += MaskFrameWidth(*mask) - mask->WR;
        if (corner == 16 || corner == 17)
            my += MaskFrameHeight(*mask) - mask->WB;
    }
    const int left = std::max(rect.Left, 0), right = std::min(rect.Right, target.Width());
    const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, target.Height());
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            uint8_t* t = PixelAt(target, x, y);
            const bool key = image ? KeyAt(*image, mx + x - rect.Left, my + y - rect.Top) : IsMagenta(t);
            const int sx = point.X + x - rect.Left, sy = point.Y + y - rect.Top;
            if (key && sx >= 0 && sy >= 0 && sx < source.Width() && sy < source.Height())
                std::copy_n(PixelAt(source, sx, sy), 4, t);
        }
}

void AddTransparentCornerRects(std::vector<TRect>& rects, int width, const TsMaskData& mask, int topOffset,
                               bool bottom)
{
    const TBitmap* image = MaskImage(mask);
    if (!image || !PixelBytes(*image) || mask.MaskType < 0)
        return;
    const int fw = MaskFrameWidth(mask), fh = MaskFrameHeight(mask);
    // The scan stays inside the first frame, whatever the margins say.
    const int rows = std::clamp(bottom ? mask.WB : mask.WT, 0, fh);
    const int firstRow = mask.R.Top + (bottom ? fh - rows : 0);
    const int wl = std::clamp(mask.WL, 0, fw), wr = std::clamp(mask.WR, 0, fw);
    auto scan = [&](int from, int to, int shift, int row) {
        for (int x = from; x < to;) {
            if (!KeyAt(*image, mask.R.Left + x, firstRow + row)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < to && KeyAt(*image, mask.R.Left + x, firstRow + row))
                ++x;
            rects.push_back({start + shift, topOffset + row, x + shift, topOffset + row + 1});
        }
    };
    for (int i = 0; i < rows; ++i) {
        scan(0, wl, 0, i);
        scan(fw - wr, fw, width - fw, i);
    }
}
