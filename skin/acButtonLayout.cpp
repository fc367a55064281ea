// The glyph-and-caption layout of buttons.
#include "skin/acBitmapHelpers.h"

namespace {

// Positions of glyph (size g) and text (size t) along the layout's axis.
void PlaceAlongAxis(int layout, int alignment, int margin, int spacing, int w, int h, int g, int t, int& ga, int& ta)
{
    if (layout == 2 || layout == 3) {
        const int d = (h - g - spacing - t) / 2;
        ga = layout == 2 ? d : h - g - d;
        ta = layout == 2 ? d + g + spacing : ga - spacing - t;
        return;
    }
    // Layout 1 is layout 0 with the glyph and the text exchanged.
    const bool glyphFirst = layout == 0;
    const int first = glyphFirst ? g : t, second = glyphFirst ? t : g;
    int a = 0, b = 0;
    if (alignment == 0) {
        a = margin;
        b = margin + first + spacing;
    } else if (alignment == 1) {
        b = w - margin - second;
        a = b - spacing - first;
    } else {
        a = (w - t - spacing - g) / 2;
        b = a + first + spacing;
    }
    ga = glyphFirst ? a : b;
    ta = glyphFirst ? b : a;
}

} // namespace

void LayoutGlyphAndText(const TRect& client, TPoint glyph, TPoint text, int layout, int alignment, int margin,
                        int spacing, TPoint& glyphPos, TRect& textBounds, unsigned flags)
{
    const int w = client.Width(), h = client.Height();
    textBounds = {0, 0, text.X, text.Y};
    if ((flags & 2) && (layout == 0 || layout == 1))
        layout = 1 - layout;
    const bool across = layout == 0 || layout == 1;
    TPoint gp, tp;
    if (across) {
        gp.Y = (h - glyph.Y + 1) / 2;
        tp.Y = (h - text.Y + 1) / 2;
    } else {
        gp.X = (w - glyph.X + 1) / 2;
        tp.X = (w - text.X + 1) / 2;
    }
    if (glyph.X == 0 || text.X == 0)
        spacing = 0;
    const int e = across ? w : h;
    const int g = across ? glyph.X : glyph.Y, t = across ? text.X : text.Y;
    if (margin == -1) {
        if (spacing == -1)
            margin = spacing = (e - g - t) / 3;
        else
            margin = alignment == 2 ? (e - (g + spacing + t) + 1) / 2 : 2;
    } else if (spacing == -1) {
        spacing = (e - (margin + g) - t) / 2;
    }
    PlaceAlongAxis(layout, alignment, margin, spacing, w, h, g, t, across ? gp.X : gp.Y, across ? tp.X : tp.Y);
    glyphPos = {gp.X + client.Left, gp.Y + client.Top};
    textBounds.Left += client.Left + tp.X;
    textBounds.Right += client.Left + tp.X;
    textBounds.Top += client.Top + tp.Y;
    textBounds.Bottom += client.Top + tp.Y;
}
