#pragma once
// Skin captions drawn into bitmaps: text through QPainter on a QImage laid
// over the bitmap's own rows, with the draw-text flags the painters pass,
// and a section's caption with its contour colours and disabled look.
#include "platform/Bitmap.h"

#include <QFont>
#include <string>

class TsSkinManager;

// Draw-text flags, as the painters pass them.
enum : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
    DT_RTLREADING = 0x20000,
};

// Draws a code page 1251 text into r of a 24- or 32-bit bitmap in one
// colour. Without DT_NOCLIP nothing is drawn outside r. A single "&" marks
// the next character as the caption's mnemonic and is not drawn ("&&"
// draws one "&"), unless DT_NOPREFIX is given: names, file names and texts
// already stripped of their marks pass it.
void DrawTextOnBitmap(TBitmap& bmp, const std::string& text, const TRect& r, unsigned flags, const QFont& font,
                      TColor color);
// Width of a text in a font, in pixels.
int CanvasTextWidth(const QFont& font, const std::string& text);

// A caption in the colours of section index (hot colours when hot): the
// contour colours that are set (left, top, right, bottom, each 1 pixel
// off), then the font colour; disabled, once in 40 % font colour and 60 %
// section colour. Nothing without a skin or for an invalid index.
void DrawSectionText(TBitmap& bmp, const std::string& text, bool enabled, const TsSkinManager* manager, bool hot,
                     int index, unsigned flags, const TRect& r, const QFont& font);
