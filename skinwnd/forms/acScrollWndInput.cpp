// The mouse over a skinned bar: hot parts, arrow and page presses with
// their repeat, the thumb drag, and the size grip in the corner.
#include "skinwnd/forms/acScrollWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acScrollState.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWindow>

#include <algorithm>

namespace {

TacScrollTimers* timerSource = nullptr;

// A grip drag done here where the window system cannot resize.
struct TGripDrag {
    QPointer<TacScrollWnd> Wnd;
    QPointer<QWidget> Window;
    QPoint StartCursor;
    QRect StartGeometry;
    bool FromLeft = false;
} gripDrag;

QPoint EventPoint(QObject* from, QWidget* to, const QMouseEvent& e)
{
    const QPoint p = e.position().toPoint();
    auto* w = qobject_cast<QWidget*>(from);
    return w && w != to ? w->mapTo(to, p) : p;
}

} // namespace

void SetScrollTimers(TacScrollTimers* timers)
{
    timerSource = timers;
}

void TacScrollWnd::StartTimer(int id, int periodMs)
{
    if (timerSource)
        timerSource->Start(this, id, periodMs);
    else
        ownTimers_[id].start(periodMs, this);
}

void TacScrollWnd::StopTimer(int id)
{
    if (timerSource)
        timerSource->Stop(this, id);
    if (auto it = ownTimers_.find(id); it != ownTimers_.end())
        it->second.stop();
}

void TacScrollWnd::timerEvent(QTimerEvent* event)
{
    for (auto& [id, timer] : ownTimers_)
        if (timer.timerId() == event->timerId()) {
            TimerFired(id);
            return;
        }
    TacMainWnd::timerEvent(event);
}

bool TacScrollWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (!Detached && !barsReleased_)
        for (TacScrollBar* bar : {HorzBar.get(), VertBar.get()})
            if (bar->Control && watched == bar->Control && BarSkinned(*bar) && BarEvent(*bar, event))
                return true;
    return TacMainWnd::eventFilter(watched, event);
}

bool TacScrollWnd::BarEvent(TacScrollBar& bar, QEvent* event)
{
    QWidget* wnd = WndHandle();
    switch (event->type()) {
    case QEvent::Paint: return PaintBar(bar);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        // A press left behind by a detached adapter is over.
        if (acPress.Wnd && acPress.Wnd->Detached)
            acPress.Wnd->EndPress();
        // Other buttons over a bar do nothing, and a second press waits
        // for the first to end.
        if (e->button() == Qt::LeftButton && !acPress.Wnd)
            MousePress(bar, EventPoint(bar.Control, wnd, *e));
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint p = EventPoint(bar.Control, wnd, *static_cast<QMouseEvent*>(event));
        if (acPress.Wnd == this) {
            MouseMove(p);
            return true;
        }
        HotMove(bar, p);
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && acPress.Wnd == this)
            MouseRelease();
        return true;
    case QEvent::Leave:
        if (acHot.On(this, bar))
            HotLeave();
        return false;
    case QEvent::Hide:
        // A hidden bar sees no release: its press ends here.
        if (acPress.On(this, bar))
            MouseRelease();
        if (acHot.On(this, bar))
            HotLeave();
        return false;
    case QEvent::ContextMenu: return true;
    default: return false;
    }
}

void TacScrollWnd::MousePress(TacScrollBar& bar, const QPoint& point)
{
    bar.ReadScrollInfo();
    const int part = HitTest(bar, point);
    lastMouse_ = point;
    const bool disabledArrow = (part == sbpFirstArrow && (bar.ScrollFlags & sfFirstArrowDisabled))
                               || (part == sbpSecondArrow && (bar.ScrollFlags & sfSecondArrowDisabled));
    if (part == sbpNone || disabledArrow || !IsBarActive(bar))
        return;
    acPress = {this, bar.Kind, part, sbpNone};
    if (part == sbpThumb) {
        const TThumbGeometry thumb = ThumbOf(bar);
        acPress.DragThumbSize = thumb.Length;
        acPress.DragThumbPos = thumb.Start;
        acPress.DragOffset = AlongBar(bar, BarRect(bar), point) - thumb.Start;
        // A release without a move puts the thumb back where it was.
        acPress.DragStartPos = acPress.LastTrackPos = bar.ScrollInfo.nPos;
        bar.ScrollInfo.nTrackPos = bar.ScrollInfo.nPos;
        Tracking = true;
        bar.Control->update();
        return;
    }
    acPress.CurrentPart = part;
    bar.Control->update();
    const QPointer<TacScrollWnd> self = this;
    Scrolling = true;
    SendScroll(bar.Kind, part, 0);
    if (!self)
        return;
    Scrolling = false;
    if (acPress.On(this, bar))
        StartTimer(acRepeatDelayTimer, acRepeatDelay);
}

void TacScrollWnd::MouseMove(const QPoint& point)
{
    TacScrollBar* bar = Bar(acPress.Bar);
    lastMouse_ = point;
    if (Tracking)
        DragThumb(*bar, point);
    else
        UpdateCurrentPart(*bar, point);
}

void TacScrollWnd::UpdateCurrentPart(TacScrollBar& bar, const QPoint& point)
{
    const int current = HitTest(bar, point) == acPress.PressedPart ? acPress.PressedPart : sbpNone;
    if (current == acPress.CurrentPart)
        return;
    acPress.CurrentPart = current;
    bar.Control->update();
}

void TacScrollWnd::DragThumb(TacScrollBar& bar, const QPoint& point)
{
    const QRect r = BarRect(bar);
    const int length = bar.Vertical() ? r.height() : r.width();
    const int arrow = GetBarSize(bar, false, true);
    const int last = std::max(arrow, length - arrow - acPress.DragThumbSize);
    const int start = std::clamp(AlongBar(bar, r, point) - acPress.DragOffset, arrow, last);
    if (start != acPress.DragThumbPos) {
        acPress.DragThumbPos = start;
        bar.Control->update();
    }
    const int pos = ThumbDragPosition(bar.ScrollInfo, start, length, arrow, acPress.DragThumbSize);
    if (pos == acPress.LastTrackPos)
        return;
    acPress.LastTrackPos = pos;
    bar.ScrollInfo.nTrackPos = pos;
    const QPointer<TacScrollWnd> self = this;
    Scrolling = true;
    SendScroll(bar.Kind, SB_THUMBTRACK, pos);
    if (self)
        Scrolling = false;
}

void TacScrollWnd::MouseRelease()
{
    TacScrollBar& bar = *Bar(acPress.Bar);
    const bool thumb = acPress.PressedPart == sbpThumb;
    const int last = acPress.LastTrackPos;
    StopTimer(acRepeatDelayTimer);
    StopTimer(acRepeatTimer);
    const QPointer<TacScrollWnd> self = this;
    Scrolling = true;
    if (Tracking) {
        Tracking = false;
        SendScroll(bar.Kind, SB_THUMBPOSITION, last);
    }
    if (self)
        SendScroll(bar.Kind, SB_ENDSCROLL, thumb ? last : 0);
    if (!self)
        return;
    Scrolling = false;
    acPress = {};
    bar.ReadScrollInfo();
    if (bar.Control)
        bar.Control->update();
}

void TacScrollWnd::EndPress()
{
    if (acPress.Wnd != this)
        return;
    StopTimer(acRepeatDelayTimer);
    StopTimer(acRepeatTimer);
    acPress = {};
    Tracking = false;
}

void TacScrollWnd::TimerFired(int id)
{
    // The delay ends with the first repeat; the repeats follow on their own
    // period from there.
    if (id == acRepeatDelayTimer) {
        StopTimer(acRepeatDelayTimer);
        StartTimer(acRepeatTimer, acRepeatPeriod);
    } else if (id != acRepeatTimer) {
        return;
    }
    if (acPress.Wnd != this || Tracking) {
        StopTimer(acRepeatTimer);
        return;
    }
    TacScrollBar& bar = *Bar(acPress.Bar);
    bar.ReadScrollInfo();
    UpdateCurrentPart(bar, lastMouse_);
    if (acPress.CurrentPart == sbpNone)
        return;
    const QPointer<TacScrollWnd> self = this;
    Scrolling = true;
    SendScroll(bar.Kind, acPress.CurrentPart, 0);
    if (!self)
        return;
    Scrolling = false;
    RefreshScrollInfo(true);
}

void TacScrollWnd::HotMove(TacScrollBar& bar, const QPoint& point)
{
    if (!acHot.On(this, bar)) {
        HotLeave();
        acHot = {this, bar.Kind, sbpNone};
    }
    bar.ReadScrollInfo();
    const int part = IsBarActive(bar) ? HitTest(bar, point) : sbpNone;
    if (part == acHot.Part)
        return;
    acHot.Part = part;
    bar.Control->update();
}

void TacScrollWnd::HotLeave()
{
    const TacHotState old = acHot;
    acHot = {};
    if (old.Wnd && old.Wnd->Bar(old.Bar) && old.Wnd->Bar(old.Bar)->Control)
        old.Wnd->Bar(old.Bar)->Control->update();
}

bool TacScrollWnd::GripEvent(QEvent* event)
{
    QWidget* wnd = WndHandle();
    const auto& e = *static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (e.button() != Qt::LeftButton || !HasSizeGrip() || !CornerRect().contains(e.position().toPoint()))
            return false;
        QWidget* top = wnd->window();
        const Qt::Edges edges = Qt::BottomEdge | (ScrollBarOnLeft ? Qt::LeftEdge : Qt::RightEdge);
        if (top->windowHandle() && top->windowHandle()->startSystemResize(edges))
            return true;
        gripDrag = {this, top, e.globalPosition().toPoint(), top->geometry(), ScrollBarOnLeft};
        return true;
    }
    case QEvent::MouseMove: {
        if (gripDrag.Wnd != this || !gripDrag.Window)
            return false;
        const QPoint d = e.globalPosition().toPoint() - gripDrag.StartCursor;
        QRect g = gripDrag.StartGeometry;
        g.setBottom(g.bottom() + d.y());
        if (gripDrag.FromLeft)
            g.setLeft(g.left() + d.x());
        else
            g.setRight(g.right() + d.x());
        gripDrag.Window->setGeometry(g);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (gripDrag.Wnd != this || !gripDrag.Window)
            return false;
        gripDrag = {};
        return true;
    default: return false;
    }
}

bool TacScrollWnd::WndProc(QEvent* event)
{
    QWidget* wnd = WndHandle();
    switch (event->type()) {
    case QEvent::LayoutDirectionChange: ScrollBarOnLeft = wnd->layoutDirection() == Qt::RightToLeft; break;
    case QEvent::Paint:
        // The area paints first; the corner between the bars goes on top.
        if (!CornerRect().isEmpty() && BarSkinned(*HorzBar) && BarSkinned(*VertBar)) {
            static_cast<QObject*>(wnd)->event(event);
            PaintCorner();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (SkinManager() && SkinManager()->Active() && GripEvent(event))
            return true;
        break;
    default:
        if (event->type() == SkinCommandEventType() && SkinManager() && SkinManager()->Active()) {
            auto& m = static_cast<TSkinCommandEvent&>(*event);
            if (m.SubCode() == AC_SETUPDATING)
                SkinData()->Updating = m.Low() == 1;
        }
        break;
    }
    return TacMainWnd::WndProc(event);
}

void DetachScrollWnd(QWidget* wnd, bool freeAdapter, TacMainWnd*& adapter)
{
    if (auto* scroll = dynamic_cast<TacScrollWnd*>(adapter))
        scroll->ReleaseBars();
    DetachWnd(wnd, freeAdapter, adapter);
}

TacScrollBar* GetScrollBarOf(const QObject* wnd, int kind)
{
    auto* adapter = dynamic_cast<TacScrollWnd*>(GetAdapterOf(wnd));
    return adapter && (kind == SB_HORZ || kind == SB_VERT) ? adapter->Bar(kind) : nullptr;
}

bool SetMinThumbSize(const QObject* wnd, int kind, int size)
{
    auto* adapter = dynamic_cast<TacScrollWnd*>(GetAdapterOf(wnd));
    if (!adapter)
        return false;
    if (kind == SB_HORZ || kind == SB_BOTH)
        adapter->HorzBar->MinThumbSize = size;
    if (kind == SB_VERT || kind == SB_BOTH)
        adapter->VertBar->MinThumbSize = size;
    adapter->PaintScrollBars();
    return true;
}
