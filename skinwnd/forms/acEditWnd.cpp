#include "skinwnd/forms/acEditWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acEditFrame.h"

#include <QAbstractSpinBox>
#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QStyleOptionSpinBox>

TacBaseWnd::TacBaseWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : TacScrollWnd(handle, scrollBars, skinSection, manager ? manager : DefaultSkinManager, skinData)
{
    // An adapter's own skin state is skinned for the adapted window; with
    // no owner control it takes no hot or focused look (popup lists,
    // children of dialogs).
    if (!skinData)
        SkinData()->OwnerControl = nullptr;
}

bool TacBaseWnd::WndProc(QEvent* event)
{
    const bool handled = TacScrollWnd::WndProc(event);
    if (event->type() == QEvent::EnabledChange && WndHandle())
        WndHandle()->update();
    return handled;
}

TacEditWnd::TacEditWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : TacBaseWnd(handle, scrollBars, skinSection.empty() ? "EDIT" : skinSection, manager, skinData)
{
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(handle))
        spinButtons_ = std::make_unique<TacSpinButtons>(spin);
}

void TacEditWnd::SaveColors() { SavePalette(); }

void TacEditWnd::RestoreColors()
{
    RestorePalette();
    cacheState_ = -1;
}

bool TacEditWnd::SkinOn() const { return WndHandle() && SkinData()->Skinned(true); }

TColor TacEditWnd::SkinBackground()
{
    if (DialogMode)
        return clWindow();
    return SkinData()->GetBackgroundColor(FrameState() != 0);
}

void TacEditWnd::SetRoleColor(QPalette::ColorRole role, TColor color, bool enabledOnly)
{
    QWidget* w = WndHandle();
    const QColor c = QColorFromColor(color);
    QPalette p = w->palette();
    bool changed = false;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (enabledOnly && g == QPalette::Disabled)
            continue;
        if (p.color(g, role) != c) {
            p.setColor(g, role, c);
            changed = true;
        }
    }
    if (changed)
        w->setPalette(p);
}

void TacEditWnd::ApplySkinColors()
{
    if (!SkinOn())
        return;
    TsCommonData& sd = *SkinData();
    // Disabled text and background keep the look the style gives them.
    if (!sd.CustomColor())
        SetRoleColor(QPalette::Base, SkinBackground(), true);
    if (const TsGeneralData* s = sd.Section(); s && !sd.CustomFont())
        SetRoleColor(QPalette::Text, DialogMode ? clWindowText() : s->FontColor, true);
    sd.BGChanged = true;
    TacBaseWnd::ApplySkinColors();
}

void TacEditWnd::ApplySectionBackground()
{
    if (const TsGeneralData* s = SkinData()->Section(); SkinOn() && s && !SkinData()->CustomColor())
        SetRoleColor(QPalette::Base, DialogMode ? clWindow() : s->Color, true);
}

QRect TacEditWnd::ClientRect() const
{
    QWidget* w = WndHandle();
    if (!w)
        return {};
    if (auto* frame = qobject_cast<QFrame*>(w)) {
        const int fw = frame->frameWidth();
        return frame->frameRect().adjusted(fw, fw, -fw, -fw);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->hasFrame()) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        const int fw = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
        return edit->rect().adjusted(fw, fw, -fw, -fw);
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w); spin && spin->hasFrame()) {
        QStyleOptionSpinBox opt;
        opt.initFrom(spin);
        opt.frame = true;
        const int fw = spin->style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, &opt, spin);
        return spin->rect().adjusted(fw, fw, -fw, -fw);
    }
    return w->rect();
}

int TacEditWnd::FrameState() const
{
    const QWidget* w = WndHandle();
    const TsCommonData& sd = *SkinData();
    if (!w || !sd.OwnerControl || !w->isEnabled())
        return 0;
    return sd.Focused || w->hasFocus() || sd.MouseAbove ? 1 : 0;
}

void TacEditWnd::PrepareCache(int state)
{
    TsCommonData& sd = *SkinData();
    QWidget* w = WndHandle();
    const bool sized = sd.CacheBmp && sd.CacheBmp->Width() == w->width() && sd.CacheBmp->Height() == w->height();
    if (sized && !sd.BGChanged && state == cacheState_)
        return;
    if (PaintEditCache(sd, w, state)) {
        cacheState_ = state;
        sd.BGChanged = false;
    }
}

void TacEditWnd::PaintFrame(QPainter& painter)
{
    PrepareCache(FrameState());
    if (SkinData()->CacheBmp && cacheState_ >= 0)
        DrawFrameRing(painter, *SkinData()->CacheBmp, ClientRect());
}

bool TacEditWnd::PaintWindow(QEvent* event)
{
    if (!SkinColorsApplied)
        ApplySkinColors();
    if (!TacBaseWnd::WndProc(event))
        static_cast<QObject*>(WndHandle())->event(event);
    // The buttons under the frame: where the style lays them over the
    // frame's place, the frame stays whole.
    if (spinButtons_)
        spinButtons_->PaintButtons(spinCache_, SkinData()->GetSkinManager(), "SPEEDBUTTON_SMALL", true);
    QPainter painter(WndHandle());
    PaintFrame(painter);
    return true;
}

void TacEditWnd::StateChanged()
{
    SkinData()->BGChanged = true;
    ApplySkinColors();
    WndHandle()->update();
}

bool TacEditWnd::EditCommand(TSkinCommandEvent& m, bool& handled)
{
    const bool ours = m.LParam() == reinterpret_cast<intptr_t>(SkinData()->GetSkinManager());
    switch (m.SubCode()) {
    case AC_REMOVESKIN:
        // Arrives while the skin is already off: the widget gets its own
        // colours back here, and the command goes on to it.
        if (ours) {
            RestoreColors();
            WndHandle()->update();
        }
        return false;
    case AC_REFRESH:
        if (!ours || !SkinData()->Skinned())
            return false;
        handled = TacBaseWnd::WndProc(&m);
        ApplySkinColors();
        return true;
    case AC_GETSKININDEX:
        if (!SkinData()->Skinned())
            return false;
        m.Result = SkinData()->SkinIndex + 1;
        handled = true;
        return true;
    case AC_PREPARECACHE:
        if (!SkinOn())
            return false;
        SkinData()->BGChanged = true;
        PrepareCache(FrameState());
        handled = true;
        return true;
    default: return false;
    }
}

bool TacEditWnd::WndProc(QEvent* event)
{
    if (!WndHandle())
        return TacBaseWnd::WndProc(event);
    if (event->type() == SkinCommandEventType()) {
        bool handled = false;
        if (EditCommand(static_cast<TSkinCommandEvent&>(*event), handled))
            return handled;
        return TacBaseWnd::WndProc(event);
    }
    if (!SkinOn())
        return TacBaseWnd::WndProc(event);
    TsCommonData& sd = *SkinData();
    if (spinButtons_ && spinButtons_->TrackMouse(event))
        WndHandle()->update();
    switch (event->type()) {
    case QEvent::Paint: return PaintWindow(event);
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        sd.Focused = event->type() == QEvent::FocusIn;
        StateChanged();
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        sd.MouseAbove = event->type() == QEvent::Enter;
        StateChanged();
        break;
    case QEvent::FontChange:
        sd.BGChanged = true;
        WndHandle()->update();
        break;
    default: break;
    }
    return TacBaseWnd::WndProc(event);
}
