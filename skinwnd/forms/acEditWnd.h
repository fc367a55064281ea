#pragma once
// The adapters of edit-like windows (line edits, multi-line edits, list
// boxes and every view derived from them): the frame of the skin section
// around the client area, the section's colours in the widget's palette,
// the focused and hot looks, and skinned scroll bars. Detaching gives the
// widget its palette back; its frame and painting were never changed.
#include "skinwnd/forms/acScrollWnd.h"
#include "skinwnd/forms/acSpinButtons.h"

#include <QPalette>

#include <memory>

class QPainter;
class TSkinCommandEvent;

// The common base of the edit-like adapters.
class TacBaseWnd : public TacScrollWnd {
public:
    TacBaseWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
               TsCommonData* skinData);

protected:
    bool WndProc(QEvent* event) override;
};

class TacEditWnd : public TacBaseWnd {
public:
    // The section is "EDIT" when none is given.
    TacEditWnd(QWidget* handle, bool scrollBars = true, const std::string& skinSection = {},
               TsSkinManager* manager = nullptr, TsCommonData* skinData = nullptr);

    void SaveColors() override;
    void RestoreColors() override;
    void ApplySkinColors() override;

    // The part of the window the widget paints itself; the ring around it
    // is the frame.
    virtual QRect ClientRect() const;
    // 1 while focused or under the mouse, else 0; always 0 for a window
    // whose skin state has no owner control.
    int FrameState() const;

protected:
    bool WndProc(QEvent* event) override;
    // The frame over what the widget painted; the cache is rebuilt when
    // the look changed.
    virtual void PaintFrame(QPainter& painter);
    // Paints the widget first, then the frame over it.
    virtual bool PaintWindow(QEvent* event);
    // Rebuilds the cache for the state when it is stale.
    void PrepareCache(int state);
    // Sets a colour of the palette roles (enabled groups only when asked)
    // when it differs.
    void SetRoleColor(QPalette::ColorRole role, TColor color, bool enabledOnly);
    // The background colour the skin gives the client area now.
    TColor SkinBackground();
    // The section's own colour as the background, whatever the state (the
    // system window colour in a dialog); for lists and trees.
    void ApplySectionBackground();
    // Whether the skin is on and paints this window.
    bool SkinOn() const;

private:
    bool EditCommand(TSkinCommandEvent& m, bool& handled);
    void StateChanged();

    int cacheState_ = -1;
    // A spin box is framed as an edit, its buttons painted as the spin
    // adapter paints them.
    std::unique_ptr<TacSpinButtons> spinButtons_;
    TBitmap spinCache_;
};
