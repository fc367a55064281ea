#include "skinwnd/forms/acTabControlWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinnedForms.h"
#include "skinwnd/forms/acAdapterFactory.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace {

TRect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

TacTabPosition PositionOf(const QTabBar* bar)
{
    switch (bar->shape()) {
    case QTabBar::RoundedSouth:
    case QTabBar::TriangularSouth: return tpBottom;
    case QTabBar::RoundedWest:
    case QTabBar::TriangularWest: return tpLeft;
    case QTabBar::RoundedEast:
    case QTabBar::TriangularEast: return tpRight;
    default: return tpTop;
    }
}

// Where a tab widget puts its pages. A bare tab bar has no pages: the area
// lies just beyond its far side, so that the band is the whole bar and the
// frame is empty.
TRect DisplayRect(QWidget* w, TacTabPosition position)
{
    const int width = w->width(), height = w->height();
    if (qobject_cast<QTabWidget*>(w)) {
        if (auto* stack = w->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly))
            return ToRect(stack->geometry());
        return {0, 0, width, height};
    }
    switch (position) {
    case tpBottom: return {0, -1, width, -1};
    case tpLeft: return {width + 1, 0, width + 1, height};
    case tpRight: return {-1, 0, -1, height};
    default: return {0, height + 2, width, height + 2};
    }
}

// A tab as the painter takes it, in the bar's coordinates. Qt lays tabs
// flush with the edges of the bar; the painter grows the selected tab by 2
// pixels all round, so the row is taken as lying 2 pixels inside the bar.
TRect ItemRect(const QRect& tab, const QSize& bar, TacTabPosition position)
{
    TRect r = ToRect(tab);
    const bool across = position == tpTop || position == tpBottom;
    const int length = across ? bar.width() : bar.height();
    int& start = across ? r.Left : r.Top;
    int& end = across ? r.Right : r.Bottom;
    start = std::max(start, 2);
    end = std::min(end, length - 2);
    switch (position) {
    case tpTop: r.Top += 2; break;
    case tpBottom: r.Bottom -= 2; break;
    case tpLeft: r.Left += 2; break;
    case tpRight: r.Right -= 2; break;
    }
    return r;
}

// The scroll arrows of a tab bar (the bar names them so).
std::vector<QToolButton*> ScrollButtons(QTabBar* bar)
{
    std::vector<QToolButton*> out;
    if (bar)
        for (QToolButton* b : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
            if (b->objectName().startsWith(QLatin1String("Scroll")) && b->isVisibleTo(bar))
                out.push_back(b);
    return out;
}

void FreeAdapter(TacMainWnd*& adapter)
{
    DetachWnd(adapter->WndHandle(), true, adapter);
}

} // namespace

TacTabControlWnd::TacTabControlWnd(QWidget* handle, bool scrollBars, const std::string& skinSection,
                                   TsSkinManager* manager, TsCommonData* skinData)
    : TacMainWnd(handle, scrollBars, skinSection, manager, skinData)
{
    TsCommonData* d = SkinData();
    // Skin data of the adapter's own has the adapter as owner.
    if (!d->OwnerObject)
        d->OwnerObject = this;
    if (skinSection.empty())
        d->SetSkinSection("PAGECONTROL");
    if (qobject_cast<QTabWidget*>(handle)) {
        innerBar_ = TabBar();
        if (innerBar_)
            innerBar_->installEventFilter(this);
    }
    if (QTabBar* bar = TabBar())
        connect(bar, &QTabBar::currentChanged, this, [this] {
            // The selected tab reaches over the frame, outside the bar.
            if (!Detached && SkinData()->Skinned())
                Redraw();
        });
    if (handle)
        handle->update();
}

TacTabControlWnd::~TacTabControlWnd()
{
    if (innerBar_)
        innerBar_->removeEventFilter(this);
    for (TacMainWnd*& spin : spins_)
        FreeAdapter(spin);
}

QTabBar* TacTabControlWnd::TabBar() const
{
    QWidget* w = WndHandle();
    if (auto* bar = qobject_cast<QTabBar*>(w))
        return bar;
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        return tabs->tabBar();
    return nullptr;
}

TacTabLayout TacTabControlWnd::Layout() const
{
    TacTabLayout l;
    QWidget* w = WndHandle();
    if (!w)
        return l;
    l.Width = w->width();
    l.Height = w->height();
    QTabBar* bar = TabBar();
    if (bar)
        l.Position = PositionOf(bar);
    l.Display = DisplayRect(w, l.Position);
    // A tab widget may hide its bar (one page and auto-hide): no tabs show.
    if (!bar || (bar != w && !bar->isVisibleTo(w)))
        return l;
    const QPoint origin = bar == w ? QPoint() : bar->mapTo(w, QPoint());
    for (int i = 0; i < bar->count(); ++i) {
        const TRect r = ItemRect(bar->tabRect(i), bar->size(), l.Position);
        l.Tabs.push_back({r.Left + origin.x(), r.Top + origin.y(), r.Right + origin.x(), r.Bottom + origin.y()});
    }
    l.Selected = bar->currentIndex();
    return l;
}

void TacTabControlWnd::Redraw()
{
    if (QWidget* w = WndHandle())
        w->update();
    if (innerBar_)
        innerBar_->update();
}

bool TacTabControlWnd::WndProc(QEvent* event)
{
    if (!SkinData()->Skinned())
        return TacMainWnd::WndProc(event);
    if (event->type() == SkinCommandEventType())
        return AnswerSkinCommand(static_cast<TSkinCommandEvent&>(*event));
    switch (event->type()) {
    case QEvent::Paint:
        PaintWindow(WndHandle());
        SpinRefresh();
        return true;
    case QEvent::Resize: {
        const bool handled = TacMainWnd::WndProc(event);
        SpinRefresh();
        return handled;
    }
    default: return TacMainWnd::WndProc(event);
    }
}

bool TacTabControlWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != innerBar_ || watched == WndHandle())
        return TacMainWnd::eventFilter(watched, event);
    if (Detached || event->type() != QEvent::Paint || !SkinData()->Skinned())
        return false;
    PaintWindow(innerBar_);
    return true;
}

bool TacTabControlWnd::AnswerSkinCommand(TSkinCommandEvent& m)
{
    TsCommonData* d = SkinData();
    const bool ours = m.LParam() == reinterpret_cast<intptr_t>(d->GetSkinManager());
    const TacBroadcast broadcast{m.SubCode(), m.Low(), m.LParam()};
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
        if (ours)
            HandleCommonMessage(&m, d);
        BroadcastToControls(WndHandle(), broadcast);
        return true;
    case AC_REMOVESKIN:
        if (ours) {
            HandleCommonMessage(&m, d);
            SpinRefresh();
        }
        BroadcastToControls(WndHandle(), broadcast);
        if (ours)
            Redraw();
        return true;
    case AC_REFRESH:
        if (ours) {
            HandleCommonMessage(&m, d);
            Redraw();
            SpinRefresh();
        }
        BroadcastToControls(WndHandle(), broadcast);
        return true;
    case AC_CHECKUPDATING:
        d->Updating = false;
        Redraw();
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_GETUPDATING: m.Result = d->Updating ? 1 : 0; return true;
    case AC_GETMANAGER: m.Result = reinterpret_cast<intptr_t>(d->GetSkinManager()); return true;
    case AC_GETBG: HandleCommonMessage(&m, d); return true;
    default: return TacMainWnd::WndProc(&m);
    }
}

void TacTabControlWnd::SpinRefresh()
{
    const bool skinned = !Detached && SkinData()->Skinned();
    const std::vector<QToolButton*> shown = skinned ? ScrollButtons(TabBar()) : std::vector<QToolButton*>();
    std::vector<TacMainWnd*> kept;
    for (TacMainWnd* spin : spins_) {
        const bool stays = !spin->Detached && std::find(shown.begin(), shown.end(), spin->WndHandle()) != shown.end();
        if (stays)
            kept.push_back(spin);
        else
            FreeAdapter(spin);
    }
    for (QToolButton* button : shown)
        if (std::none_of(kept.begin(), kept.end(), [button](TacMainWnd* s) { return s->WndHandle() == button; }))
            kept.push_back(CreateWndAdapter(TacAdapterKind::SpinWnd, button, false, "UPDOWNBTN", SkinManager(), nullptr));
    spins_ = kept;
}
