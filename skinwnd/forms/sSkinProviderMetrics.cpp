// The measures of a skinned form's frame: its sides, caption, buttons and
// icon, and the layout the hit test reads.
#include "skinwnd/forms/sSkinProvider.h"

#include <QMenuBar>
#include <QWidget>

#include <algorithm>

namespace {

TFormBorderStyle BorderStyleOf(const QWidget* form, Qt::WindowFlags flags)
{
    if (flags & Qt::FramelessWindowHint)
        return bsNone;
    const bool fixed = form->minimumSize() == form->maximumSize();
    switch (flags & Qt::WindowType_Mask) {
    case Qt::Tool: return fixed ? bsToolWindow : bsSizeToolWin;
    case Qt::Dialog:
    case Qt::Sheet: return fixed ? bsDialog : bsSizeable;
    default: return fixed ? bsSingle : bsSizeable;
    }
}

unsigned BorderIconsOf(Qt::WindowFlags flags)
{
    const Qt::WindowFlags type = flags & Qt::WindowType_Mask;
    if (!(flags & Qt::CustomizeWindowHint)) {
        // The window system's own choice for each kind of window.
        if (type == Qt::Window || type == Qt::SubWindow)
            return biSystemMenu | biMinimize | biMaximize;
        return biSystemMenu;
    }
    unsigned icons = 0;
    if (flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint))
        icons |= biSystemMenu;
    if (flags & Qt::WindowMinimizeButtonHint)
        icons |= biMinimize;
    if (flags & Qt::WindowMaximizeButtonHint)
        icons |= biMaximize;
    if (flags & Qt::WindowContextHelpButtonHint)
        icons |= biHelp;
    return icons;
}

} // namespace

TacFormTraits TsSkinProvider::Traits() const
{
    TacFormTraits t;
    if (!form_)
        return t;
    // While the frame is taken over, the form is what it was before.
    const Qt::WindowFlags flags = frameActive_ ? savedFlags_ : form_->windowFlags();
    t.BorderStyle = BorderStyleOf(form_, flags);
    t.BorderIcons = BorderIconsOf(flags);
    t.WindowState = form_->isMinimized() ? wsMinimized : form_->isMaximized() ? wsMaximized : wsNormal;
    t.SysMenuManaged = (t.BorderIcons & biSystemMenu) != 0;
    t.MDIChild = IsMDIChild();
    // A maximised sub-window whose buttons went to the menu bar gives its
    // frame no room: it shows none.
    if (t.MDIChild && t.WindowState == wsMaximized && form_->contentsMargins().top() == 0) {
        t.MDIChild = false;
        t.BorderStyle = bsNone;
    }
    return t;
}

// A skinned form has no frame of the window system's: its sides are as
// wide as the form section's border mask paints them (the system's width
// without such a mask). With the extended border shown, the form itself
// paints the skin's wider border and taller caption, so they take clicks as
// the frame does.
int TsSkinProvider::FormBorderWidth() const
{
    const int sys = SysBorderWidth(Traits());
    const TacSkinContent* skin = Content();
    if (!skin || sys == 0)
        return sys;
    const int index = skinData_->BorderIndex;
    const int side = skin->IsValidImageIndex(index) ? skin->GetMaskMarginLeft(index) : 0;
    const int b = side > 0 ? side : sys;
    return borderForm_ ? std::max(b, skin->SkinData.ExtBorderWidth) : b;
}

int TsSkinProvider::CaptionHeight() const
{
    const int sys = SysCaptionHeight(Traits());
    const TacSkinContent* skin = Content();
    if (!borderForm_ || !skin || sys == 0)
        return sys;
    // The skin has a title height of its own for maximised forms.
    const int title = Traits().WindowState == wsMaximized ? skin->SkinData.ExtMaxHeight : skin->SkinData.ExtTitleHeight;
    return std::max(sys, title - FormBorderWidth());
}

int TsSkinProvider::CaptionShift(bool buttons) const
{
    const TacSkinContent* skin = Content();
    if (!borderForm_ || !skin || (buttons && skin->SkinData.ExtCenterOffset != 1))
        return 0;
    // Never out of the caption, whatever the skin says.
    const int h = CaptionHeight();
    return std::clamp(skin->SkinData.Shadow1Offset, -h, h);
}

TRect TsSkinProvider::FrameMargins() const
{
    const int b = FormBorderWidth();
    return {b, b + CaptionHeight(), b, b};
}

int TsSkinProvider::MenuHeight() const
{
    QMenuBar* bar = MenuBar();
    return bar && bar->isVisible() ? bar->height() : 0;
}

int TsSkinProvider::TitleButtonWidth(const TitleButtonData& button) const
{
    const TacSkinContent* skin = Content();
    if (!skin || !skin->IsValidImageIndex(button.ImageIndex))
        return 21;
    const TsMaskData& m = skin->ma[size_t(button.ImageIndex)];
    if (m.Bmp)
        return m.ImageCount > 0 ? m.Bmp->Width() / m.ImageCount : 21;
    return MaskFrameWidth(m);
}

int TsSkinProvider::TitleButtonHeight() const
{
    const TacSkinContent* skin = Content();
    if (!skin || !skin->IsValidImageIndex(close_.ImageIndex))
        return 21;
    const TsMaskData& m = skin->ma[size_t(close_.ImageIndex)];
    if (m.Bmp)
        return (m.Bmp->Height() + 1) / 2;
    return m.R.Height() / (m.MaskType + 1);
}

int TsSkinProvider::TitleIconWidth() const
{
    const TacFormTraits t = Traits();
    if ((t.BorderStyle != bsSingle && t.BorderStyle != bsSizeable) || !showAppIcon_ || !(t.BorderIcons & biSystemMenu))
        return 0;
    return TitleIcon.Width ? TitleIcon.Width : IconSizeForCaption(CaptionHeight());
}

int TsSkinProvider::TitleIconHeight() const
{
    if (TitleIconWidth() == 0)
        return 0;
    return TitleIcon.Height ? TitleIcon.Height : IconSizeForCaption(CaptionHeight());
}

int TsSkinProvider::TitleButtonsWidth() const
{
    const TacSkinContent* skin = Content();
    const int space = skin && BigTitleIcons(Traits()) ? skin->SkinData.IconSpace : 0;
    int w = skin ? skin->SkinData.IconRight : 0;
    const TacFormTraits t = Traits();
    if (VisibleClose(t)) {
        w += TitleButtonWidth(close_) + space;
        if (VisibleMax(t))
            w += TitleButtonWidth(max_) + space;
        if (VisibleMin(t))
            w += TitleButtonWidth(min_) + space;
        if (t.BorderIcons & biHelp)
            w += TitleButtonWidth(help_) + space;
    }
    bool anyUser = false;
    for (const TsTitleButton& b : TitleButtons)
        if (b.Visible) {
            anyUser = true;
            w += b.Data.Rect.Width();
        }
    return w + (anyUser ? 8 : 0);
}

TRect TsSkinProvider::CaptionIconRect() const
{
    const TacSkinContent* skin = Content();
    const int b = FormBorderWidth();
    TRect r;
    r.Left = b + (skin ? skin->SkinData.IconLeft : 0);
    r.Right = r.Left + TitleIconWidth();
    r.Top = b / 2 - 1;
    r.Top += (b + CaptionHeight() - r.Top - TitleIconHeight()) / 2 + CaptionShift(false);
    r.Bottom = r.Top + TitleIconHeight();
    return r;
}

TacFrameLayout TsSkinProvider::Layout() const
{
    TacFrameLayout l;
    l.Form = Traits();
    if (!form_)
        return l;
    l.Width = form_->width();
    l.Height = form_->height();
    l.BorderWidth = FormBorderWidth();
    l.CaptionHeight = CaptionHeight();
    l.MenuHeight = MenuHeight();
    l.CloseRect = close_.Rect, l.MaxRect = max_.Rect, l.MinRect = min_.Rect, l.HelpRect = help_.Rect;
    l.IconRect = CaptionIconRect();
    for (size_t i = 0; i < TitleButtons.size(); ++i)
        if (TitleButtons[i].Visible)
            l.UserButtons.push_back({int(i), TitleButtons[i].Data.Rect, TitleButtons[i].Enabled});
    l.GripActive = GripVisible();
    if (l.GripActive)
        l.GripCorner = GripPosition();
    return l;
}

// The grip image is a mask of "GLOBALINFO", looked up as the title
// buttons' masks are.
const TsMaskData* TsSkinProvider::GripMask() const
{
    const TacSkinContent* skin = Content();
    const int index = TitleMaskIndex("GRIPIMAGE");
    return skin && skin->IsValidImageIndex(index) ? &skin->ma[size_t(index)] : nullptr;
}

bool TsSkinProvider::GripVisible() const
{
    return form_ && frameActive_ && ::GripVisible(gripMode_, Traits()) && GripMask();
}

TPoint TsSkinProvider::GripPosition() const
{
    const TsMaskData* grip = GripMask();
    if (!form_ || !grip)
        return {};
    const TRect sides = FrameMargins();
    return ::GripPosition(form_->width(), form_->height(), MaskFrameWidth(*grip), MaskFrameHeight(*grip), sides.Right,
                          sides.Bottom);
}

int TsSkinProvider::FrameCode(TPoint formPoint) const
{
    if (borderForm_ && OnExtHitTest) {
        TWMNCHitTest msg{formPoint, 0};
        OnExtHitTest(msg);
        if (msg.Result != 0)
            return msg.Result;
    }
    return FrameHitTest(Layout(), formPoint);
}

int TsSkinProvider::HitTest(TPoint formPoint)
{
    const int code = FrameCode(formPoint);
    if (code >= HTLEFT && code <= HTBOTTOMRIGHT)
        SetHotButton(0);
    else if (code != HTCLIENT && code != HTCAPTION && code != HTMENU && code != HTSYSMENU)
        SetHotButton(code);
    else
        SetHotButton(0);
    return code;
}
