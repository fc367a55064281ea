// Painting the skinned bars into their own widgets and the corner between
// them into the area.
#include "skinwnd/forms/acScrollWnd.h"

#include "platform/forms/BitmapImage.h"
#include "skin/forms/sCommonData.h"
#include "skinwnd/acScrollPaint.h"
#include "skinwnd/forms/acScrollState.h"

#include <QPainter>
#include <QScrollBar>

bool TacScrollWnd::BarSkinned(const TacScrollBar& bar) const
{
    const TsSkinManager* manager = SkinManager();
    return manager && manager->Active() && ScrollSkinReady(manager, bar.Vertical());
}

namespace {

// The skin states of the bar's parts: pressed parts on the pressed bar,
// hot parts on the hot bar of an active bar.
void SetStates(TacBarLook& look, const TacScrollWnd* wnd, const TacScrollBar& bar, bool tracking)
{
    const bool pressed = acPress.On(wnd, bar);
    const bool hot = look.Active && acHot.On(wnd, bar);
    auto state = [&](int part) {
        if (pressed && acPress.CurrentPart == part)
            return 2;
        return hot && acHot.Part == part && !pressed ? 1 : 0;
    };
    look.FirstArrowState = state(sbpFirstArrow);
    look.SecondArrowState = state(sbpSecondArrow);
    look.PageBeforeState = pressed && acPress.CurrentPart == sbpPageBefore ? 2 : 0;
    look.PageAfterState = pressed && acPress.CurrentPart == sbpPageAfter ? 2 : 0;
    look.ThumbState = pressed && tracking ? 2 : state(sbpThumb);
}

} // namespace

bool TacScrollWnd::PaintBar(TacScrollBar& bar)
{
    QScrollBar* control = bar.Control;
    const QRect r = BarRect(bar);
    const int length = bar.Vertical() ? r.height() : r.width();
    if (length <= 1)
        return false;
    bar.ReadScrollInfo();
    TacBarLook look;
    look.Vertical = bar.Vertical();
    look.Length = length;
    look.Thickness = bar.Vertical() ? r.width() : r.height();
    look.Arrow = GetBarSize(bar, false, true);
    look.Active = IsBarActive(bar);
    const bool dragged = Tracking && acPress.On(this, bar);
    // A dragged thumb follows the mouse, not the position it stands for.
    look.Thumb = dragged ? TThumbGeometry{acPress.DragThumbPos, acPress.DragThumbSize} : ThumbOf(bar);
    look.Background = ParentBackgroundColor(WndHandle());
    SetStates(look, this, bar, dragged);
    TBitmap bmp;
    PaintScrollBarLook(bmp, look, *SkinManager());
    QImage image = BitmapToImage(bmp);
    if (ReversedBar(*control))
        image = image.mirrored(!bar.Vertical(), bar.Vertical());
    QPainter painter(control);
    painter.fillRect(control->rect(), QColorFromColor(look.Background));
    painter.drawImage(r.topLeft() - control->mapTo(WndHandle(), QPoint(0, 0)), image);
    return true;
}

void TacScrollWnd::PaintCorner()
{
    const QRect corner = CornerRect();
    TBitmap bmp;
    PaintScrollCorner(bmp, corner.width(), corner.height(), ParentBackgroundColor(WndHandle()), HasSizeGrip(),
                      *SkinManager());
    QPainter painter(WndHandle());
    painter.drawImage(corner.topLeft(), BitmapToImage(bmp));
}
