#include "skinwnd/forms/acScrollWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/sConst.h"
#include "skinwnd/acScrollPaint.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acScrollState.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace {

constexpr int WM_HSCROLL = 0x114, WM_VSCROLL = 0x115;

} // namespace

TacHotState acHot;
TacPressState acPress;

bool TacHotState::On(const TacScrollWnd* wnd, const TacScrollBar& bar) const
{
    return Wnd == wnd && Bar == bar.Kind;
}

bool TacPressState::On(const TacScrollWnd* wnd, const TacScrollBar& bar) const
{
    return Wnd == wnd && Bar == bar.Kind;
}

bool ReversedBar(const QScrollBar& control)
{
    return control.orientation() == Qt::Horizontal && control.layoutDirection() == Qt::RightToLeft;
}

int AlongBar(const TacScrollBar& bar, const QRect& r, const QPoint& p)
{
    const int along = bar.Vertical() ? p.y() - r.top() : p.x() - r.left();
    const int length = bar.Vertical() ? r.height() : r.width();
    return bar.Control && ReversedBar(*bar.Control) ? length - 1 - along : along;
}

void TacScrollBar::ReadScrollInfo()
{
    if (!Control)
        return;
    const int page = Control->pageStep();
    ScrollInfo.nMin = Control->minimum();
    ScrollInfo.nMax = Control->maximum() + std::max(page, 1) - 1;
    ScrollInfo.nPage = page;
    ScrollInfo.nPos = Control->value();
    ScrollInfo.nTrackPos = Control->sliderPosition();
}

int GetBarSize(const TacScrollBar& bar, bool thickness, bool useSkin)
{
    if (thickness)
        return bar.BarThickness >= 0 ? bar.BarThickness : -bar.BarThickness * ScrollBarWidth;
    if (bar.ArrowSize >= 0)
        return bar.ArrowSize;
    int size = ScrollBarWidth;
    const TsSkinManager* manager = bar.Owner ? bar.Owner->SkinManager() : nullptr;
    const TacSkinContent* skin = useSkin && manager ? manager->Content() : nullptr;
    if (skin) {
        const TacCachedIndexes& c = skin->CachedIndexes;
        const int arrow = bar.Vertical() ? c.ScrollBtnTop.Border : c.ScrollBtnLeft.Border;
        int w = 0, h = 0;
        skin->GetMaskFrameSize(arrow, w, h);
        size = std::max(size, bar.Vertical() ? h : w);
    }
    return -bar.ArrowSize * size;
}

TacScrollWnd::TacScrollWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                           TsCommonData* skinData)
    : TacMainWnd(handle, scrollBars, skinSection, manager, skinData),
      HorzBar(std::make_unique<TacScrollBar>()), VertBar(std::make_unique<TacScrollBar>())
{
    QScrollBar* horz = nullptr;
    QScrollBar* vert = nullptr;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(handle)) {
        horz = area->horizontalScrollBar();
        vert = area->verticalScrollBar();
    } else if (auto* single = qobject_cast<QScrollBar*>(handle)) {
        (single->orientation() == Qt::Vertical ? vert : horz) = single;
    }
    TakeBar(*HorzBar, horz, SB_HORZ);
    TakeBar(*VertBar, vert, SB_VERT);
    if (handle)
        ScrollBarOnLeft = handle->layoutDirection() == Qt::RightToLeft;
    if (auto* frame = qobject_cast<QFrame*>(handle))
        EdgeLeft = EdgeRight = EdgeTop = EdgeBottom = frame->frameWidth();
}

TacScrollWnd::~TacScrollWnd()
{
    ReleaseBars();
}

void TacScrollWnd::TakeBar(TacScrollBar& bar, QScrollBar* control, uint16_t kind)
{
    bar.Owner = this;
    bar.Kind = kind;
    bar.Control = control;
    bar.ScrollFlags = control ? sfHasBar : 0;
    if (!control)
        return;
    bar.ReadScrollInfo();
    // Hot parts follow the mouse without a button down.
    bar.HadMouseTracking = control->hasMouseTracking();
    control->setMouseTracking(true);
    control->installEventFilter(this);
    // A bar that goes away takes its press and hot look with it.
    QObject::connect(control, &QObject::destroyed, this, [this, kind] {
        if (acPress.Wnd == this && acPress.Bar == kind)
            EndPress();
        if (acHot.Wnd == this && acHot.Bar == kind)
            acHot = {};
    });
    control->update();
}

void TacScrollWnd::ReleaseBars()
{
    if (barsReleased_)
        return;
    barsReleased_ = true;
    EndPress();
    if (acHot.Wnd == this)
        acHot = {};
    for (TacScrollBar* bar : {HorzBar.get(), VertBar.get()}) {
        QScrollBar* control = bar->Control;
        if (!control)
            continue;
        // A lone bar is the adapted window: its filter goes with detaching.
        if (control != WndHandle())
            control->removeEventFilter(this);
        control->setMouseTracking(bar->HadMouseTracking);
        control->update();
    }
    if (QWidget* wnd = WndHandle())
        wnd->update();
}

QRect TacScrollWnd::BarRect(const TacScrollBar& bar) const
{
    QWidget* wnd = WndHandle();
    QScrollBar* control = bar.Control;
    if (!wnd || !control || !control->isVisibleTo(wnd) || control->width() <= 0 || control->height() <= 0)
        return {};
    QRect r(control->mapTo(wnd, QPoint(0, 0)), control->size());
    const int start = bar.HasStartInset ? bar.StartInset : 0;
    const int end = bar.HasEndInset ? bar.EndInset : 0;
    return bar.Vertical() ? r.adjusted(0, start, 0, -end) : r.adjusted(start, 0, -end, 0);
}

QRect TacScrollWnd::CornerRect() const
{
    const QRect h = BarRect(*HorzBar);
    const QRect v = BarRect(*VertBar);
    if (h.isEmpty() || v.isEmpty())
        return {};
    return QRect(QPoint(v.left(), h.top()), QPoint(v.right(), h.bottom()));
}

bool TacScrollWnd::HasSizeGrip() const
{
    QWidget* wnd = WndHandle();
    QWidget* parent = wnd ? wnd->parentWidget() : nullptr;
    if (!parent || !parent->isWindow() || CornerRect().isEmpty())
        return false;
    const QRect g = wnd->geometry();
    const QRect client = parent->rect();
    return g.bottom() == client.bottom() && (ScrollBarOnLeft ? g.left() == client.left() : g.right() == client.right());
}

bool TacScrollWnd::IsBarActive(const TacScrollBar& bar) const
{
    QWidget* wnd = WndHandle();
    if (!bar.Control || !bar.Control->isEnabled() || BarRect(bar).isEmpty() || (wnd && !wnd->isEnabled()))
        return false;
    if ((bar.ScrollFlags & (sfFirstArrowDisabled | sfSecondArrowDisabled))
        == (sfFirstArrowDisabled | sfSecondArrowDisabled))
        return false;
    // A range that cannot scroll leaves the bar unavailable, as a window
    // system bar without range is: no thumb to drag, no page to step.
    return ScrollSpan(bar.ScrollInfo) > 0;
}

TThumbGeometry TacScrollWnd::ThumbOf(const TacScrollBar& bar) const
{
    const QRect r = BarRect(bar);
    const int length = bar.Vertical() ? r.height() : r.width();
    return GetThumbGeometry(bar.ScrollInfo, length, GetBarSize(bar, false, true), bar.MinThumbSize);
}

int TacScrollWnd::HitTest(const TacScrollBar& bar, const QPoint& point) const
{
    const QRect r = BarRect(bar);
    if (r.isEmpty())
        return sbpNone;
    const bool across = bar.Vertical() ? point.x() >= r.left() && point.x() <= r.right()
                                       : point.y() >= r.top() && point.y() <= r.bottom();
    const int length = bar.Vertical() ? r.height() : r.width();
    return HitTestBarPart(AlongBar(bar, r, point), across, length, GetBarSize(bar, false, true), ThumbOf(bar));
}

void TacScrollWnd::RefreshScrollInfo(bool repaint)
{
    if (SkinData()->Updating)
        return;
    HorzBar->ReadScrollInfo();
    VertBar->ReadScrollInfo();
    if (repaint)
        PaintScrollBars();
}

void TacScrollWnd::PaintScrollBars()
{
    for (TacScrollBar* bar : {HorzBar.get(), VertBar.get()})
        if (bar->Control)
            bar->Control->update();
    if (QWidget* wnd = WndHandle(); wnd && !CornerRect().isEmpty())
        wnd->update(CornerRect());
}

void TacScrollWnd::SendScroll(int kind, int code, int pos)
{
    QWidget* wnd = WndHandle();
    QScrollBar* control = Bar(kind) ? Bar(kind)->Control.get() : nullptr;
    if (!wnd || !control)
        return;
    const intptr_t request = intptr_t(kind == SB_VERT ? WM_VSCROLL : WM_HSCROLL) << 16 | code;
    const QPointer<QWidget> alive = wnd;
    SendSkinCommand(wnd, AC_LOCKREDRAW, 0, request);
    switch (code) {
    case SB_LINEUP: control->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case SB_LINEDOWN: control->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case SB_PAGEUP: control->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case SB_PAGEDOWN: control->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case SB_THUMBTRACK:
        if (!control->isSliderDown())
            control->setSliderDown(true);
        control->setSliderPosition(pos);
        break;
    case SB_THUMBPOSITION: control->setSliderPosition(pos); break;
    case SB_ENDSCROLL:
        if (control->isSliderDown())
            control->setSliderDown(false);
        break;
    default: break;
    }
    // The window may be gone after its own answer to the request.
    if (alive)
        SendSkinCommand(wnd, AC_UNLOCKREDRAW, 0, request);
}
