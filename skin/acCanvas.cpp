#include "skin/acCanvas.h"

#include "skin/acBlit.h"

void FillSolidRect(TBitmap& bmp, const TRect& rect, TColor color) { bmp.FillRect(rect, color); }

void FillSolidBorder(TBitmap& bmp, const TRect& r, int left, int top, int right, int bottom, TColor color)
{
    bmp.FillRect({r.Left, r.Top, r.Right, r.Top + top}, color);
    bmp.FillRect({r.Left, r.Top + top, r.Left + left, r.Bottom}, color);
    bmp.FillRect({r.Left + left, r.Bottom - bottom, r.Right, r.Bottom}, color);
    bmp.FillRect({r.Right - right, r.Top + top, r.Right, r.Bottom - bottom}, color);
}

void BlitBorder(TBitmap& target, int x, int y, int w, int h, const TBitmap& source, int sx, int sy, int b)
{
    CopyBitmapRect(target, x, y, b, h, source, sx, sy);
    CopyBitmapRect(target, x + b, y, w - 2 * b, b, source, sx + b, sy);
    CopyBitmapRect(target, x + w - b, y, b, h, source, sx + w - b, sy);
    CopyBitmapRect(target, x + b, y + h - b, w - 2 * b, b, source, sx + b, sy + h - b);
}

void DrawShadowFrame(TBitmap& bmp, TRect r, TColor topLeft, int& depth, TColor bottomRight)
{
    // Lines as a pen draws them: each polyline leaves out its last point.
    r.Right -= 1;
    r.Bottom -= 1;
    for (; depth > 0; --depth) {
        for (int y = r.Bottom; y > r.Top; --y)
            bmp.SetPixel(r.Left, y, topLeft);
        for (int x = r.Left; x < r.Right; ++x)
            bmp.SetPixel(x, r.Top, topLeft);
        for (int y = r.Top; y < r.Bottom; ++y)
            bmp.SetPixel(r.Right, y, bottomRight);
        for (int x = r.Right; x >= r.Left; --x)
            bmp.SetPixel(x, r.Bottom, bottomRight);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

std::string CutTextToWidth(const TTextWidthFunc& textWidth, const std::string& text, int maxWidth)
{
    if (maxWidth <= 0)
        return {};
    std::string result = text;
    if (text.empty() || textWidth(text) <= maxWidth)
        return result;
    while (!result.empty() && textWidth(result + "...") > maxWidth)
        result.pop_back();
    return result.empty() ? result : result + "...";
}
