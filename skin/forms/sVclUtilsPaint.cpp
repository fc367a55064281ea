// Painting controls into bitmaps: a whole control with its children, and
// the graphic controls of a parent over its background.
#include "skin/forms/sVclUtils.h"

#include "platform/forms/BitmapImage.h"
#include "skin/acBlit.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"

#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr TColor KeyColor = 0xFF00FF;

TRect Bounds(const QWidget* w) { return TRect{w->x(), w->y(), w->x() + w->width(), w->y() + w->height()}; }

bool Intersects(const TRect& r, const TBitmap& bmp)
{
    return r.Left < bmp.Width() && r.Top < bmp.Height() && r.Right > 0 && r.Bottom > 0;
}

// Renders a widget (with or without its children) into a bitmap at a point.
void Render(TBitmap& bmp, QWidget* w, QPoint at, QWidget::RenderFlags flags)
{
    QImage canvas = BitmapCanvas(bmp);
    if (canvas.isNull())
        return;
    QPainter painter(&canvas);
    w->render(&painter, at, QRegion(), flags);
}

// What shows under the child: the parent's colour or the parent's picture
// at the child's place.
void FillUnder(TBitmap& offscreen, QWidget* parent, QWidget* child)
{
    const TRect r = Bounds(child);
    if (child->testAttribute(Qt::WA_OpaquePaintEvent)) {
        offscreen.FillRect(r, GetControlColor(child));
        return;
    }
    TBackgroundInfo info;
    info.R = r;
    GetControlBackground(info, parent, false);
    if (info.BgType == 2 && info.Bmp)
        CopyBitmapRect(offscreen, r.Left, r.Top, r.Width(), r.Height(), *info.Bmp, info.OffsetX + r.Left,
                       info.OffsetY + r.Top);
    else
        offscreen.FillRect(r, info.Color);
}

// Tool buttons of a tool bar are painted by the bar itself.
bool PaintedByToolBar(const QWidget* child)
{
    return qobject_cast<const QToolButton*>(child) && qobject_cast<const QToolBar*>(child->parentWidget());
}

} // namespace

void PaintFormTo(TBitmap& bmp, QWidget* ctrl, int x, int y)
{
    if (!ctrl)
        return;
    if (ctrl->isHidden()) {
        if (QWidget* parent = ctrl->parentWidget()) {
            TBackgroundInfo info;
            info.R = Bounds(ctrl);
            GetControlBackground(info, parent, false);
            const TRect place{x, y, x + ctrl->width(), y + ctrl->height()};
            if (info.BgType == 2 && info.Bmp)
                CopyBitmapRect(bmp, x, y, ctrl->width(), ctrl->height(), *info.Bmp, info.OffsetX + ctrl->x(),
                               info.OffsetY + ctrl->y());
            else
                bmp.FillRect(place, info.Color);
        }
        return;
    }
    // Rendering takes in every child widget at its place, painted as it
    // paints itself, the library's own windows by their skin.
    Render(bmp, ctrl, QPoint(x, y), QWidget::DrawWindowBackground | QWidget::DrawChildren);
}

void PaintGraphicChildren(TBitmap& dc, QWidget* parent, TPoint offset)
{
    if (!parent || !parent->isVisible())
        return;
    const QWidgetList children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (children.isEmpty())
        return;
    if (dc.Empty()) {
        SendSkinCommand(parent, AC_SETOUTOFVIEW);
        return;
    }
    std::vector<QWidget*> counting;
    for (QWidget* child : children) {
        const TRect at = Bounds(child);
        if (IsGraphicControl(child) && child->isVisible() && child->width() >= 1 && child->height() >= 1
            && !PaintedByToolBar(child)
            && Intersects(TRect{at.Left + offset.X, at.Top + offset.Y, at.Right + offset.X, at.Bottom + offset.Y}, dc))
            counting.push_back(child);
    }
    if (counting.empty())
        return;
    TBitmap offscreen;
    offscreen.SetPixelFormat(pf24bit);
    offscreen.SetSize(parent->width(), parent->height());
    for (QWidget* child : counting)
        FillUnder(offscreen, parent, child);
    for (QWidget* child : counting)
        Render(offscreen, child, child->pos(), QWidget::DrawChildren);
    for (QWidget* child : counting) {
        // A child that left its corner in the key colour shows nothing.
        const bool inside = child->x() >= 0 && child->y() >= 0 && child->x() < offscreen.Width()
                            && child->y() < offscreen.Height();
        if (inside && offscreen.Pixel(child->x(), child->y()) == KeyColor)
            continue;
        CopyBitmapRect(dc, child->x() + offset.X, child->y() + offset.Y, child->width(), child->height(), offscreen,
                       child->x(), child->y());
    }
}
