#pragma once
// The tool bar adapter: paints a tool bar's background and border by its
// skin section and every tool button by section "TOOLBUTTON" in its state
// (normal, hot, pressed or checked), with its icon, its caption as the bar
// lays captions out, the drop-down part of a button with a menu, and the
// disabled look. The buttons' own painting is held back while skinned.
#include "skinwnd/forms/acMainWnd.h"

#include <QPointer>

#include <string>
#include <vector>

class QMenu;
class QToolBar;
class QToolButton;
class TacHeldChildren;

class TacToolBarVCLWnd : public TacMainWnd {
public:
    ~TacToolBarVCLWnd() override;
    // The buttons paint themselves again.
    void RestoreColors() override;

    // The bar's buttons in the order of its actions.
    std::vector<QToolButton*> Buttons() const;
    // The index of the button under a point of the bar; -1 for none.
    int ButtonAtPoint(QPoint point) const;
    void RepaintButton(int index);
    // The skin state a button paints in: 2 pressed, checked or with its
    // menu open; 1 hot or focused; else 0.
    int ButtonState(int index) const;

    QToolBar* ToolBar = nullptr;
    // The button whose menu is open, or nullptr.
    QPointer<QToolButton> DropDownButton;
    int HotIndex = -1;

protected:
    friend class TacMainWnd;
    TacToolBarVCLWnd(QWidget* wnd, bool scrollBars, const std::string& section, TsSkinManager* manager,
                     TsCommonData* skinData);
    bool WndProc(QEvent* event) override;

private:
    // The bar's background and border, painted again when stale.
    void PrepareCache();
    void DrawToolBar();
    void DrawToolButton(QToolButton* button);
    // Icon and caption laid out as the bar lays out its buttons.
    void PaintButtonContent(TBitmap& buffer, QToolButton* button, int state, int section, int arrowWidth);
    void PaintDropDownPart(TBitmap& buffer, const TRect& part, int state, int section, const TCacheInfo& under);
    bool ButtonEvent(QToolButton* button, QEvent* event);
    void SetHotIndex(int index);
    void HookButtons();

    TacHeldChildren* buttons_ = nullptr; // whose painting the adapter does
    std::vector<QPointer<QMenu>> menus_; // whose closing the adapter follows
};
