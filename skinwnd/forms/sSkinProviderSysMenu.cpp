// The form's skinned system menu: made with the skin, opened from the
// caption icon, a right click on the caption and Alt+Space, and told the
// form's border and icons by the frame's own reading of them.
#include "skinwnd/forms/sSkinProvider.h"

#include "skinwnd/forms/sSystemMenu.h"

#include <QShortcut>
#include <QWidget>

TsSystemMenu* TsSkinProvider::SystemMenu() const { return sysMenu_; }

void TsSkinProvider::CreateSystemMenu()
{
    if (!form_ || sysMenu_)
        return;
    sysMenu_ = new TsSystemMenu(form_, [this] {
        const TacFormTraits t = Traits();
        TacSysMenuForm f;
        f.BorderStyle = t.BorderStyle;
        f.BorderIcons = t.BorderIcons;
        f.WindowState = t.WindowState;
        f.Iconic = t.WindowState == wsMinimized;
        f.MDIChild = t.MDIChild;
        f.SysMenuManaged = t.SysMenuManaged;
        return f;
    });
}

void TsSkinProvider::ShowSystemMenu(const QPoint& globalPos)
{
    CreateSystemMenu();
    if (!sysMenu_)
        return;
    SetHotButton(0);
    sysMenu_->MakeSkinMenu = MakeSkinMenu;
    sysMenu_->SkinManager = ManagerComponent();
    sysMenu_->Popup(globalPos);
}

void TsSkinProvider::ShowSystemMenuBelowIcon()
{
    if (!form_)
        return;
    const TRect icon = CaptionIconRect();
    ShowSystemMenu(form_->mapToGlobal(QPoint(icon.Left, FormBorderWidth() + CaptionHeight())));
}

// The window system's own Alt+Space reaches no frameless window: the
// provider answers it while it paints the caption, whichever control of
// the form has the focus.
void TsSkinProvider::SetKeyMenu(bool active)
{
    if (!active) {
        delete keyMenu_.data();
        return;
    }
    if (keyMenu_ || !form_)
        return;
    keyMenu_ = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), form_, this, [this] {
        const TacFormTraits t = Traits();
        if (VisibleClose(t) && HasCaption(t))
            ShowSystemMenuBelowIcon();
    });
}
