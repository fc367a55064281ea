#pragma once
// The adapter of a scroll area (or of a lone scroll bar) whose bars are
// painted by the skin: it sits in front of the area and of its two
// QScrollBar widgets, paints them from the scroll sections, hit-tests them,
// follows the mouse over them, repeats arrow and page presses on its timers
// and drags the thumb. The bars keep their own value and range; every
// change goes through the bar's actions, so the area scrolls exactly as it
// does for its own bars. Edit, list and similar adapters derive from it.
#include "skinwnd/acScrollGeometry.h"
#include "skinwnd/forms/acLivePointer.h"
#include "skinwnd/forms/acMainWnd.h"

#include <QBasicTimer>
#include <QPointer>
#include <QRect>

#include <map>
#include <memory>

class QScrollBar;
class TacScrollWnd;

// The adapters' timers: the first repeat of a held arrow or page press,
// then the repeats. Hot parts follow the mouse's move and leave events.
enum : int { acRepeatDelayTimer = 0xFFFD, acRepeatTimer = 0xFFFE };
constexpr int acRepeatDelay = 300, acRepeatPeriod = 55;

// Bits of TacScrollBar::ScrollFlags. A bar whose range cannot scroll is
// never active, so no bit asks for that.
enum : uint16_t { sfFirstArrowDisabled = 1, sfSecondArrowDisabled = 2, sfHasBar = 8 };

// One bar of an adapter.
class TacScrollBar {
public:
    uint16_t ScrollFlags = 0;
    uint8_t Shown = 0;
    TScrollInfo ScrollInfo;
    // >= 0: used as is; -n: n times the default.
    int ArrowSize = -1;
    int BarThickness = -1;
    int StartInset = 0, EndInset = 0;
    uint8_t HasStartInset = 0, HasEndInset = 0;
    uint16_t Kind = SB_HORZ;
    uint16_t State = 0;
    int MinThumbSize = DefaultMinThumbSize;
    TacScrollWnd* Owner = nullptr;
    // The widget that holds the bar's value and range; nullptr when the
    // window has no bar of this kind.
    TacLivePointer<QScrollBar> Control;
    // The widget's own mouse tracking, given back when the adapter goes.
    bool HadMouseTracking = false;

    bool Vertical() const { return Kind == SB_VERT; }
    // Copies the widget's range, page and value into ScrollInfo.
    void ReadScrollInfo();
};

// Where the adapters' timers run: the adapters' own timers unless a clock
// is set (tests step a virtual one). Each expiry calls
// TacScrollWnd::TimerFired with the id.
class TacScrollTimers {
public:
    virtual ~TacScrollTimers() = default;
    virtual void Start(TacScrollWnd* wnd, int id, int periodMs) = 0;
    virtual void Stop(TacScrollWnd* wnd, int id) = 0;
};
// nullptr goes back to the adapters' own timers.
void SetScrollTimers(TacScrollTimers* timers);

class TacScrollWnd : public TacMainWnd {
public:
    // handle: a QAbstractScrollArea (both its bars) or a QScrollBar (itself
    // as the bar of its orientation).
    TacScrollWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                 TsCommonData* skinData);
    ~TacScrollWnd() override;

    std::unique_ptr<TacScrollBar> HorzBar, VertBar;
    bool Tracking = false;
    bool ScrollBarOnLeft = false;
    int EdgeLeft = 0, EdgeRight = 0, EdgeTop = 0, EdgeBottom = 0;
    bool StyleLocked = false;

    TacScrollBar* Bar(int kind) const { return kind == SB_VERT ? VertBar.get() : HorzBar.get(); }
    // The bar's rectangle in the adapted window's coordinates (empty when
    // the bar is not shown).
    QRect BarRect(const TacScrollBar& bar) const;
    // The square between two shown bars, empty otherwise.
    QRect CornerRect() const;
    // The corner is the size grip of the top-level window the area fills
    // to its bottom-right corner.
    bool HasSizeGrip() const;
    bool IsBarActive(const TacScrollBar& bar) const;
    // The part under a point of the adapted window (-1 outside the bar).
    int HitTest(const TacScrollBar& bar, const QPoint& point) const;
    TThumbGeometry ThumbOf(const TacScrollBar& bar) const;

    void RefreshScrollInfo(bool repaint);
    void PaintScrollBars();
    // One scroll request to the window through the bar's actions.
    void SendScroll(int kind, int code, int pos);
    // Called by the timer in use.
    void TimerFired(int id);
    // Gives the bars and the corner back to their widgets; done by
    // DetachScrollWnd and the destructor.
    void ReleaseBars();

protected:
    bool WndProc(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void TakeBar(TacScrollBar& bar, QScrollBar* control, uint16_t kind);
    // The skin is on and has what this bar is painted with.
    bool BarSkinned(const TacScrollBar& bar) const;
    bool BarEvent(TacScrollBar& bar, QEvent* event);
    bool PaintBar(TacScrollBar& bar);
    void PaintCorner();
    // Presses, moves and releases at points of the adapted window.
    void MousePress(TacScrollBar& bar, const QPoint& point);
    void MouseMove(const QPoint& point);
    void MouseRelease();
    void UpdateCurrentPart(TacScrollBar& bar, const QPoint& point);
    void DragThumb(TacScrollBar& bar, const QPoint& point);
    // Ends this adapter's press without a request.
    void EndPress();
    void HotMove(TacScrollBar& bar, const QPoint& point);
    void HotLeave();
    bool GripEvent(QEvent* event);
    void StartTimer(int id, int periodMs);
    void StopTimer(int id);

    std::map<int, QBasicTimer> ownTimers_;
    QPoint lastMouse_;
    bool barsReleased_ = false;
};

// Detaches an adapter of a scroll area and gives its bars back; with
// freeAdapter the adapter is deleted and the pointer set to nullptr.
void DetachScrollWnd(QWidget* wnd, bool freeAdapter, TacMainWnd*& adapter);
// The adapter's bar of the kind: nullptr for another code or a window
// without a scroll adapter.
TacScrollBar* GetScrollBarOf(const QObject* wnd, int kind);
// SB_HORZ, SB_VERT or SB_BOTH; false for a window without a scroll adapter.
bool SetMinThumbSize(const QObject* wnd, int kind, int size);
// The arrow length (thickness false) or the thickness of a bar; useSkin
// lets the arrow masks of the skin make the arrows longer.
int GetBarSize(const TacScrollBar& bar, bool thickness, bool useSkin);
