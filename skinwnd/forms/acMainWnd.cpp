#include "skinwnd/forms/acMainWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinnedForms.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QVariant>

TacMainWnd::TacMainWnd(QWidget* handle, bool, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : handle_(handle), skinManager_(manager)
{
    if (skinData) {
        skinData_ = skinData;
    } else {
        // The widget owns the state: a widget is always at hand here, and
        // without an owner the state would answer every background and hot
        // query as unskinned.
        ownSkinData_ = std::make_unique<TsCommonData>(handle, true);
        skinData_ = ownSkinData_.get();
    }
    if (skinData_->SkinSection().empty())
        skinData_->SetSkinSection(skinSection);
}

void TacMainWnd::Attach()
{
    SaveColors();
    SkinColorsApplied = false;
    Caption = WindowCaption(handle_);
    if (handle_)
        AttachWnd(this, handle_);
}

TacMainWnd::~TacMainWnd()
{
    TacMainWnd* self = this;
    if (!Detached)
        DetachWnd(handle_, false, self);
    Detached = true;
    skinManager_ = nullptr;
}

void TacMainWnd::WindowGone()
{
    // A halo left behind would float where the window was.
    skinData_->HideOwnGlow();
    Detached = true;
}

bool TacMainWnd::SkinnedNow() const { return !Detached && WndHandle() && SkinData()->Skinned(true); }

bool TacMainWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != handle_ || Detached)
        return false;
    return WndProc(event);
}

bool TacMainWnd::WndProc(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowTitleChange:
        // The widget takes the new text first; the adapter reads it after.
        static_cast<QObject*>(handle_.data())->event(event);
        Caption = WindowCaption(handle_);
        return true;
    case QEvent::Resize:
        skinData_->BGChanged = true;
        break;
    case QEvent::MouseMove:
        if (DefaultSkinManager && !DefaultSkinManager->Designing() && handle_->isEnabled())
            DefaultSkinManager->SetActiveControl(handle_);
        break;
    default:
        break;
    }
    return CommonPath(event);
}

bool TacMainWnd::CommonPath(QEvent* event)
{
    // Without an active skin the adapter is transparent.
    TsSkinManager* manager = SkinManager();
    if (!manager || !manager->Active() || event->type() != SkinCommandEventType())
        return false;
    return AnswerCommand(static_cast<TSkinCommandEvent&>(*event));
}

bool TacMainWnd::AnswerCommand(TSkinCommandEvent& m)
{
    const bool ours = m.LParam() == reinterpret_cast<intptr_t>(skinData_->GetSkinManager());
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
        if (ours) {
            skinData_->UpdateIndexes();
            skinData_->BGChanged = true;
            BroadcastToControls(handle_, TacBroadcast{m.SubCode(), m.Low(), m.LParam()});
        }
        return false;
    case AC_REMOVESKIN:
        if (ours)
            RestoreColors();
        return false;
    case AC_REFRESH:
        if (!ours)
            return false;
        skinData_->UpdateIndexes();
        skinData_->BGChanged = true;
        skinData_->Updating = false;
        handle_->update();
        return true;
    case AC_CHECKUPDATING:
        if (!skinData_->Updating)
            return false;
        skinData_->Updating = skinData_->GetUpdating();
        if (!skinData_->Updating)
            handle_->update();
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_GETUPDATING: m.Result = skinData_->Updating; return true;
    case AC_ISPAINTEDBG:
        return skinData_->OwnerControl && HandleSkinCommand(m, skinData_);
    case AC_GETBGCOLOR:
        // The widget's own answer wins when it has one.
        static_cast<QObject*>(handle_.data())->event(&m);
        if (m.Result == 0)
            m.Result = skinData_->GetBackgroundColor(false);
        return true;
    case AC_GETBG:
        if (m.LParam())
            skinData_->FillBackgroundInfo(*reinterpret_cast<TBackgroundInfo*>(m.LParam()), false);
        return true;
    case AC_GETAPPLICATION: m.Result = ApplicationAnswer(); return true;
    default: return false;
    }
}

void TacMainWnd::SavePalette()
{
    if (!handle_)
        return;
    savedPalette_ = handle_->palette();
    hadOwnPalette_ = handle_->testAttribute(Qt::WA_SetPalette);
    SavedColor = ControlColor(handle_);
    SavedFontColor = FontColor(handle_);
    paletteSaved_ = true;
}

void TacMainWnd::ApplyColors(TColor color, TColor fontColor)
{
    if (!handle_)
        return;
    SetControlColor(handle_, color);
    SetFontColor(handle_, fontColor);
    ApplySkinColors();
}

void TacMainWnd::RestorePalette()
{
    if (!handle_ || !paletteSaved_ || !SkinColorsApplied)
        return;
    // A widget that followed its parent's palette goes back to following
    // it; one with its own gets that palette back.
    if (hadOwnPalette_)
        handle_->setPalette(savedPalette_);
    else
        handle_->setPalette(QPalette());
    SkinColorsApplied = false;
}
