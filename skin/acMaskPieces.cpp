// Pieces of skin images drawn through their masks.
#include "skin/acMaskPaint.h"

#include "skin/acFastPixels.h"
#include "skin/acPixelRows.h"
#include "skin/sSkinManagerIntf.h"

#include <algorithm>

const TBitmap* MaskImage(const TsMaskData& mask)
{
    if (mask.Bmp)
        return mask.Bmp.get();
    const TacSkinContent* skin = mask.Manager ? mask.Manager->Content() : nullptr;
    return skin && skin->MasterBitmap ? skin->MasterBitmap.get() : nullptr;
}

namespace {

// What a magenta picture pixel becomes.
enum class SeeThrough { Skip, Background, BackgroundOrFill };

struct MaskedCopyOptions {
    SeeThrough seeThrough = SeeThrough::Skip;
    const TCacheInfo* cache = nullptr;
    int raise = 0;          // added to every mask byte (a faded glyph)
    bool opaque = false;    // painted pixels of a 32-bit target get alpha 255
};

// The copy under the three mask painters. Every picture row has its mask
// row maskOffset rows below it; rows whose mask row lies outside the image
// are cut off, as are parts outside either bitmap.
void MaskedCopy(TRect tr, TRect sr, TBitmap& target, const TBitmap& source, int maskOffset,
                const MaskedCopyOptions& o)
{
    const int tb = PixelBytes(target);
    if (!tb || !PixelBytes(source) || maskOffset < 1)
        return;
    if (!ClipRectPair(tr, sr, target.Width(), target.Height(), source.Width(), source.Height() - maskOffset))
        return;
    const TCacheInfo* c = o.cache;
    const TBitmap* bg = c && c->Ready ? c->Bmp : nullptr;
    const bool fill = o.seeThrough == SeeThrough::BackgroundOrFill && c && !c->Ready && c->FillColor != clFuchsia;
    const uint8_t fillPixel[3] = {uint8_t(c ? GetBValue(c->FillColor) : 0), uint8_t(c ? GetGValue(c->FillColor) : 0),
                                  uint8_t(c ? GetRValue(c->FillColor) : 0)};
    const int sb = PixelBytes(source);
    for (int row = 0; row < tr.Height(); ++row) {
        const int ty = tr.Top + row;
        const uint8_t* s = PixelAt(source, sr.Left, sr.Top + row);
        const uint8_t* m = PixelAt(source, sr.Left, sr.Top + row + maskOffset);
        uint8_t* t = PixelAt(target, tr.Left, ty);
        for (int col = 0; col < tr.Width(); ++col, s += sb, m += sb, t += tb) {
            if (IsMagenta(s)) {
                if (o.seeThrough == SeeThrough::Skip)
                    continue;
                if (const uint8_t* b = BackgroundPixel(bg, c->X + tr.Left + col, c->Y + ty))
                    PutColour(t, tb, b);
                else if (fill)
                    PutColour(t, tb, fillPixel);
                continue;
            }
            for (int ch = 0; ch < 3; ++ch) {
                const int mv = std::min(255, m[ch] + o.raise);
                t[ch] = uint8_t(std::clamp(s[ch] + (((t[ch] - s[ch]) * mv) >> 8), 0, 255));
            }
            if (o.opaque && tb == 4)
                t[3] = 0xFF;
        }
    }
}

} // namespace

// The mask lies one frame height under its picture for every MaskType, in
// the piece copier as in the glyph painter.
void CopyPieceByMask(TRect tr, TRect sr, TBitmap& target, const TsMaskData& mask, bool useBackground,
                     const TCacheInfo& cache, const TBitmap& source)
{
    MaskedCopyOptions o;
    o.seeThrough = useBackground ? SeeThrough::Background : SeeThrough::Skip;
    o.cache = &cache;
    MaskedCopy(tr, sr, target, source, MaskFrameHeight(mask), o);
}

void DrawGlyphByMask(TRect tr, TRect sr, TBitmap& target, const TsMaskData& mask, int mode, const TBitmap& source)
{
    if (mask.ImageCount < 1) {
        // Without a count the image is one frame.
        sr.Right = std::min(sr.Right, mask.R.Right);
    }
    if (mask.MaskType == 0) {
        CopyKeyed24(target, source, tr.Left, {sr.Left, sr.Top, sr.Left + std::min(tr.Width(), sr.Width()) - 1,
                                              sr.Top + std::min(tr.Height(), sr.Height()) - 1},
                    tr.Top, clFuchsia);
        return;
    }
    MaskedCopyOptions o;
    o.raise = mode == 1 ? 0 : 100;
    o.opaque = true;
    MaskedCopy(tr, sr, target, source, MaskFrameHeight(mask), o);
}

void DrawPieceByMask(TRect tr, TRect sr, TBitmap& target, const TsMaskData& mask, const TCacheInfo& cache)
{
    const TBitmap* source = MaskImage(mask);
    if (!source)
        return;
    MaskedCopyOptions o;
    o.seeThrough = SeeThrough::BackgroundOrFill;
    o.cache = &cache;
    MaskedCopy(tr, sr, target, *source, MaskFrameHeight(mask), o);
}
