// How the skin state answers the command message and reacts to ordinary
// window events.
#include "skin/forms/sCommonData.h"

#include "platform/Cp1251.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acSkinCommand.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

std::string ChangedSectionName;

namespace {

bool ManagerMatches(const TSkinCommandEvent& m, const TsCommonData* d)
{
    return m.LParam() == reinterpret_cast<intptr_t>(d->GetSkinManager());
}

// A frame redraw: the whole control, border included.
void RedrawFrame(QWidget* w)
{
    w->update();
}

// Push and speed buttons show their halo themselves when they turn hot.
bool GlowsOnHover(int typeCode)
{
    return !InNoGlowTypes(typeCode) && (typeCode < 92 || typeCode > 94);
}

std::vector<QWidget*> ChildControls(QWidget* w)
{
    std::vector<QWidget*> out;
    for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        out.push_back(c);
    return out;
}

} // namespace

bool HandleSkinCommand(TSkinCommandEvent& m, TsCommonData* d)
{
    if (!d)
        return false;
    QWidget* owner = d->OwnerControl;
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
        if (ManagerMatches(m, d)) {
            d->UpdateIndexes();
            d->UpdatePlainBgFlag(false);
            if (TsSkinManager* manager = d->GetSkinManager())
                manager->ClearRepaintFlag();
        }
        return false;
    case AC_REMOVESKIN:
        if (ManagerMatches(m, d)) {
            if (d->IsSkinManagerStored() && d->GetSkinManager()->Destroying())
                d->ReleaseSkinManager();
            d->BorderIndex = d->SkinIndex = d->Texture = d->HotTexture = -1;
            // The manager cleared every glow before telling the controls.
            d->HideOwnGlow();
            d->Updating = true;
            if (d->CacheBmp)
                d->CacheBmp->SetSize(0, 0);
            if (owner && IsCustomEdit(owner)) {
                if (!d->CustomColor())
                    SetControlColor(owner, clWindow());
                if (!d->CustomFont())
                    SetFontColor(owner, clWindowText());
                RedrawFrame(owner);
            } else if (owner) {
                for (QLabel* label : owner->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
                    SetFontColor(label, clWindowText());
            }
        }
        return false;
    case AC_REFRESH:
        if (ManagerMatches(m, d)) {
            d->BGChanged = true;
            d->Updating = false;
            if (d->Skinned() && owner && IsCustomEdit(owner)) {
                if (const TsGeneralData* s = d->Section()) {
                    if (!d->CustomColor())
                        SetControlColor(owner, s->Color);
                    if (!d->CustomFont())
                        SetFontColor(owner, s->FontColor);
                }
                RedrawFrame(owner);
            }
            d->UpdatePlainBgFlag(false);
        }
        return false;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_SETUPDATING: d->Updating = m.Low() == 1; return false;
    case AC_SETMARK: d->ForceParentBg = m.Low() == 1; return false;
    case AC_GETUPDATING: m.Result = (d->BGChanged || d->Updating) ? 1 : 0; return true;
    case AC_GETOUTOFVIEW: m.Result = d->OutOfView ? 1 : 0; return true;
    case AC_BGCHANGEDIF:
        if (d->IsTransparent() && m.Low() == 1)
            d->BGChanged = true;
        return false;
    case AC_FRAMEMOVED: d->BGChanged = true; return false;
    case AC_SETOUTOFVIEW: d->OutOfView = true; return false;
    case AC_SECTIONCHANGED:
        if (AnsiUpperCase(d->SkinSection()) == ChangedSectionName) {
            if (TsSkinManager* manager = d->GetSkinManager())
                manager->ClearRepaintFlag();
            d->Invalidate();
        }
        return false;
    case AC_ISPAINTEDBG: {
        const TsGeneralData* s = d->Section();
        if (d->SkinIndex < 0 || !s)
            return false;
        if (s->Transparency == 100 && owner && owner->parentWidget())
            m.Result = SendSkinCommand(owner->parentWidget(), AC_ISPAINTEDBG) != 0 ? 1 : 0;
        else
            m.Result = (s->GradientPercent + s->ImagePercent > 0 || d->DependsOnParentBg()) ? 1 : 0;
        return true;
    }
    case AC_PARENTBGCHANGED: {
        const bool depends = d->DependsOnParentBg();
        d->BGChanged = d->BGChanged || depends;
        if (owner) {
            if (m.Low() == 1)
                owner->update();
            if (depends)
                for (QWidget* child : ChildControls(owner))
                    SendSkinCommand(child, AC_PARENTBGCHANGED);
        }
        return false;
    }
    case AC_GETBGCOLOR: {
        if (!owner)
            return false;
        const TsGeneralData* s = d->Section();
        if (!d->Skinned() || !s) {
            m.Result = ControlColor(owner);
            return true;
        }
        const int t = s->Transparency;
        QWidget* parent = owner->parentWidget();
        if (t == 0) {
            m.Result = s->Color;
        } else if (!parent) {
            m.Result = ControlColor(owner);
        } else {
            const TColor p = ParentBackgroundColor(parent);
            m.Result = t == 100 ? p : BlendTransparentColor(s->Color, p, t);
        }
        return true;
    }
    case AC_GETSKININDEX: m.Result = d->SkinIndex + 1; return true;
    case AC_GETBG:
        if (m.LParam())
            d->FillBackgroundInfo(*reinterpret_cast<TBackgroundInfo*>(m.LParam()), false);
        return false;
    case AC_GETCACHEFLAGS:
        if (m.LParam() == 1)
            d->UpdatePlainBgFlag(true);
        else
            m.Result = d->CacheFlags;
        return true;
    case AC_GETAPPLICATION: m.Result = ApplicationAnswer(); return false;
    default: return false;
    }
}

void TsCommonData::FillBackgroundInfo(TBackgroundInfo& info, bool hot)
{
    const TsGeneralData* s = Section();
    if (!Skinned() || !s || CustomColor()) {
        info.BgType = 1;
        info.Color = GetOwnerColor();
        return;
    }
    const int t = hot ? s->HotTransparency : s->Transparency;
    const int g = hot ? s->HotGradientPercent : s->GradientPercent;
    const int i = hot ? s->HotImagePercent : s->ImagePercent;
    if (t == 0 && g <= 0 && i <= 0) {
        info.BgType = 1;
        info.Bmp = CacheBmp.get();
        info.Color = GetBackgroundColor(hot);
        if (info.PleaseDraw && info.DC)
            info.DC->FillRect(info.R, info.Color);
        return;
    }
    TsSkinManager* m = GetSkinManager();
    const TsMaskData* mask = m ? m->Mask(BorderIndex) : nullptr;
    if (t == 100 && (!mask || (mask->WL + mask->WR <= 24 && mask->WT + mask->WB <= 24))) {
        // The parent shows through: the parent's own answer, shifted by
        // this control's position in it.
        QWidget* parent = OwnerControl ? OwnerControl->parentWidget() : nullptr;
        if (parent) {
            SendSkinCommand(parent, AC_GETBG, 0, reinterpret_cast<intptr_t>(&info));
            if (info.BgType == 2) {
                info.OffsetX += OwnerControl->x();
                info.OffsetY += OwnerControl->y();
            }
            if (info.BgType != 0)
                return;
        }
        info.BgType = 1;
        info.Color = m ? m->GlobalColor() : clBtnFace();
        return;
    }
    if (t == 100 && !CacheBmp) {
        info.BgType = 1;
        QWidget* parent = OwnerControl ? OwnerControl->parentWidget() : nullptr;
        info.Color = parent ? ParentBackgroundColor(parent) : (m ? m->GlobalColor() : clBtnFace());
        return;
    }
    if (!CacheBmp) {
        info.BgType = 1;
        info.Color = clFuchsia;
        return;
    }
    info.BgType = 2;
    if (info.PleaseDraw && info.DC) {
        for (int y = 0; y < info.R.Height(); ++y)
            for (int x = 0; x < info.R.Width(); ++x)
                info.DC->SetPixel(info.R.Left + x, info.R.Top + y, CacheBmp->Pixel(info.OffsetX + x, info.OffsetY + y));
    } else {
        info.Bmp = CacheBmp.get();
        info.OffsetX = info.OffsetY = 0;
    }
}

bool HandleCommonMessage(QEvent* event, TsCommonData* d)
{
    if (!d || !event)
        return false;
    if (event->type() == SkinCommandEventType())
        return HandleSkinCommand(static_cast<TSkinCommandEvent&>(*event), d);
    QWidget* owner = d->OwnerControl;
    TsSkinManager* manager = d->GetSkinManager();
    switch (event->type()) {
    case QEvent::Move:
        // Halo windows never move: one left behind would float apart from
        // its control.
        d->HideOwnGlow();
        if (owner && d->DependsOnParentBg() && d->Skinned()) {
            d->BGChanged = true;
            SendSkinCommand(owner, AC_PARENTBGCHANGED, 1);
        }
        return false;
    case QEvent::Resize:
        if (d->Skinned()) {
            d->BGChanged = true;
            const TsGeneralData* s = d->Section();
            if (owner && s && s->GradientPercent >= 1)
                for (QWidget* child : ChildControls(owner))
                    SendSkinCommand(child, AC_PARENTBGCHANGED, 1);
            d->HideOwnGlow();
        }
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (!owner || owner->focusPolicy() == Qt::NoFocus || !(owner->focusPolicy() & Qt::TabFocus))
            return false;
        const bool in = event->type() == QEvent::FocusIn;
        d->BGChanged = true;
        d->Focused = in;
        if (InFrameRedrawTypes(d->ControlTypeCode) && (in || owner->isVisible()))
            RedrawFrame(owner);
        return false;
    }
    case QEvent::FontChange:
    case QEvent::EnabledChange:
        d->MouseAbove = false;
        d->Focused = false;
        if (owner && !owner->isEnabled() && d->GlowID != -1)
            d->HideOwnGlow();
        return false;
    case QEvent::ContextMenu:
        if (owner && manager && owner->contextMenuPolicy() == Qt::CustomContextMenu)
            manager->HookPopupMenu(owner);
        return false;
    case QEvent::ChildAdded:
        // A child control appears: the form's adapter takes it over once
        // window adapters exist.
        return false;
    case QEvent::ShowToParent:
        if (d->CacheBmp) {
            d->Updating = false;
            d->BGChanged = true;
        }
        return false;
    case QEvent::HideToParent:
        // A halo around nothing would stay on screen until the next leave.
        d->HideOwnGlow();
        if (d->CacheBmp)
            d->CacheBmp->SetSize(0, 0);
        return false;
    case QEvent::Enter:
        if (!InNoHoverTypes(d->ControlTypeCode))
            d->MouseAbove = true;
        if (owner && DefaultSkinManager) {
            DefaultSkinManager->SetActiveControl(owner);
            if (GlowsOnHover(d->ControlTypeCode))
                d->UpdateGlow(false);
            if (InFrameRedrawTypes(d->ControlTypeCode)) {
                d->BGChanged = true;
                RedrawFrame(owner);
            }
        }
        return false;
    case QEvent::Leave:
        if (!InNoHoverTypes(d->ControlTypeCode))
            d->MouseAbove = false;
        if (GlowsOnHover(d->ControlTypeCode)) {
            ClearGlows();
            d->HideOwnGlow();
        }
        if (owner && owner->isVisible() && InFrameRedrawTypes(d->ControlTypeCode)) {
            d->BGChanged = true;
            RedrawFrame(owner);
        }
        return false;
    default: return false;
    }
}
