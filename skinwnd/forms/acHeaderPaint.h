#pragma once
// The columns of a list's header painted by the skin: each column's face
// from the column-header section (the button section when the skin has
// none) in its state, over the list's colour, with its image, its text and
// the sort mark taken from the scroll buttons' arrows.
#include "platform/Bitmap.h"

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class QPainter;
class TsSkinManager;

enum : int { hdfLeft = 0, hdfRight = 1, hdfCenter = 2 };
enum : int { hdfNoSort = 0, hdfSortUp = 0x400, hdfSortDown = 0x200 };

struct THeaderColumn {
    QRect Rect;
    QString Text;
    int Align = hdfLeft;
    QIcon Icon;
    int Sort = hdfNoSort;
    // 0 normal, 1 hot, 2 pressed.
    int State = 0;
};

// Where a column's parts go: the text (before the pressed shift), the
// image left of it and the sort mark right of it; empty rects for parts
// that are absent.
struct THeaderLayout {
    QRect Text, Image, Glyph;
};
THeaderLayout LayoutHeaderColumn(const THeaderColumn& column, int textWidth, QSize iconSize, QSize glyphSize);

// The sort mark's size in the skin (empty without one).
QSize HeaderSortGlyphSize(const TsSkinManager* manager, int sort);

// Paints one column (its face, image, text and sort mark) at its rect.
void PaintHeaderColumn(QPainter& painter, const THeaderColumn& column, const TsSkinManager* manager,
                       TColor listColor, const QFont& font, QSize iconSize);
