#include "skinwnd/forms/acScrollWnd.h"

#include "skinwnd/forms/acSBUtils.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

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

TacScrollWnd::TacScrollWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                           TsCommonData* skinData)
    : TacMainWnd(handle, scrollBars, skinSection, manager, skinData),
      HorzBar(std::make_unique<TacScrollBar>()), VertBar(std::make_unique<TacScrollBar>())
{
}

TacScrollWnd::~TacScrollWnd() { ReleaseBars(); }

QRect TacScrollWnd::BarRect(const TacScrollBar&) const { return {}; }
QRect TacScrollWnd::CornerRect() const { return {}; }
bool TacScrollWnd::HasSizeGrip() const { return false; }
bool TacScrollWnd::IsBarActive(const TacScrollBar&) const { return false; }
int TacScrollWnd::HitTest(const TacScrollBar&, const QPoint&) const { return sbpNone; }
TThumbGeometry TacScrollWnd::ThumbOf(const TacScrollBar&) const { return {}; }
void TacScrollWnd::RefreshScrollInfo(bool) {}
void TacScrollWnd::PaintScrollBars() {}
void TacScrollWnd::SendScroll(int, int, int) {}
void TacScrollWnd::TimerFired(int) {}
void TacScrollWnd::ReleaseBars() { barsReleased_ = true; }
bool TacScrollWnd::WndProc(QEvent* event) { return TacMainWnd::WndProc(event); }
bool TacScrollWnd::eventFilter(QObject* watched, QEvent* event) { return TacMainWnd::eventFilter(watched, event); }
void TacScrollWnd::timerEvent(QTimerEvent* event) { TacMainWnd::timerEvent(event); }

void SetScrollTimers(TacScrollTimers*) {}

void DetachScrollWnd(QWidget* wnd, bool freeAdapter, TacMainWnd*& adapter)
{
    DetachWnd(wnd, freeAdapter, adapter);
}

TacScrollBar* GetScrollBarOf(const QObject*, int) { return nullptr; }
bool SetMinThumbSize(const QObject*, int, int) { return false; }
int GetBarSize(const TacScrollBar&, bool, bool) { return 0; }
