#include "skinwnd/forms/acHeaderPaint.h"

#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/sCommonData.h"
#include "skin/sHelpers.h"
#include "skin/sSkinManagerIntf.h"
#include "skinwnd/forms/acEditFrame.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

const TsMaskData* SortGlyph(const TsSkinManager* manager, int sort)
{
    const TacSkinContent* skin = manager ? manager->Content() : nullptr;
    if (!skin || sort == hdfNoSort)
        return nullptr;
    const TacCachedIndexes& c = skin->CachedIndexes;
    return manager->Mask(sort == hdfSortDown ? c.ScrollBtnBottom.Glyph : c.ScrollBtnTop.Glyph);
}

QColor SectionTextColor(const TsSkinManager* manager, int index, bool hot)
{
    if (!manager || !manager->IsValidSkinIndex(index))
        return Qt::black;
    const TsGeneralData& s = manager->Section(index);
    return QColorFromColor(hot ? s.HotFontColor : s.FontColor);
}

} // namespace

QSize HeaderSortGlyphSize(const TsSkinManager* manager, int sort)
{
    const TsMaskData* glyph = SortGlyph(manager, sort);
    return glyph ? QSize(MaskFrameWidth(*glyph), MaskFrameHeight(*glyph)) : QSize();
}

THeaderLayout LayoutHeaderColumn(const THeaderColumn& c, int textWidth, QSize iconSize, QSize glyphSize)
{
    const QRect area = c.Rect.adjusted(4, 1, -4, -1);
    const int imageWidth = c.Icon.isNull() ? 0 : iconSize.width() + 4;
    const int glyphWidth = glyphSize.isEmpty() ? 0 : glyphSize.width() + 6;
    const int room = std::max(0, area.width() - imageWidth - glyphWidth);
    const int width = std::min(textWidth + 5, room);
    int left;
    if (c.Align == hdfRight)
        left = area.right() + 1 - glyphWidth - width;
    else if (c.Align == hdfCenter)
        left = area.left() + (area.width() - imageWidth - width - glyphWidth) / 2 + imageWidth;
    else
        left = area.left() + imageWidth;
    THeaderLayout l;
    l.Text = QRect(left, area.top(), width, area.height());
    if (imageWidth)
        l.Image = QRect(left - imageWidth, c.Rect.top() + (c.Rect.height() - iconSize.height()) / 2,
                        iconSize.width(), iconSize.height());
    if (glyphWidth)
        l.Glyph = QRect(left + width + 6, c.Rect.top() + (c.Rect.height() - glyphSize.height()) / 2,
                        glyphSize.width(), glyphSize.height());
    return l;
}

void PaintHeaderColumn(QPainter& painter, const THeaderColumn& c, const TsSkinManager* manager, TColor listColor,
                       const QFont& font, QSize iconSize)
{
    if (c.Rect.width() < 1 || c.Rect.height() < 1)
        return;
    TBitmap under, face;
    for (TBitmap* b : {&under, &face}) {
        b->SetPixelFormat(pf24bit);
        b->SetSize(c.Rect.width(), c.Rect.height());
    }
    under.FillRect({0, 0, under.Width(), under.Height()}, listColor);
    const int index = PaintSectionItemByName(face, "COLHEADER", "BUTTON", c.State, manager,
                                             {0, 0, face.Width(), face.Height()}, &under);
    const QSize glyphSize = HeaderSortGlyphSize(manager, c.Sort);
    const QFontMetrics metrics(font);
    const THeaderLayout l = LayoutHeaderColumn(c, metrics.horizontalAdvance(c.Text), iconSize, glyphSize);
    if (const TsMaskData* glyph = SortGlyph(manager, c.Sort))
        DrawSkinGlyph(face, {l.Glyph.left() - c.Rect.left(), l.Glyph.top() - c.Rect.top()}, c.State,
                      MakeCacheInfo(&face), *glyph, 1);
    painter.save();
    painter.setClipRect(c.Rect, Qt::IntersectClip);
    painter.drawImage(c.Rect.topLeft(), CacheImage(face));
    const QPoint shift = c.State == 2 ? QPoint(1, 1) : QPoint();
    if (!l.Image.isEmpty())
        c.Icon.paint(&painter, l.Image.translated(shift));
    painter.setFont(font);
    painter.setPen(SectionTextColor(manager, index, c.State != 0));
    const QRect text = l.Text.translated(shift);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs,
                     metrics.elidedText(c.Text, Qt::ElideRight, text.width()));
    painter.restore();
}
