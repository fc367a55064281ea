// The provider's window procedure: the library's command message addressed
// to the form, and the form's events that change or show its frame.
#include "skinwnd/forms/sSkinProvider.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/sSystemMenu.h"

#include <QChildEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

bool TsSkinProvider::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != form_.data())
        return false;
    return WndProc(event);
}

bool TsSkinProvider::WndProc(QEvent* event)
{
    if (event->type() == SkinCommandEventType())
        return SkinCommand(static_cast<TSkinCommandEvent&>(*event));
    if (event->type() == QEvent::ChildPolished)
        ChildPolished(static_cast<QChildEvent*>(event)->child());
    // A form fills itself after its provider exists: what it holds by
    // the time it shows is adapted then.
    if (event->type() == QEvent::Show) {
        AdaptShownForm();
        // So is an MDI area it got after the skin.
        if (!mdiForm_)
            InitMDIForm(true);
    }
    if (!frameActive_)
        return false;
    if (event->type() == SysCommandEventType())
        return MenuDrag(event);
    if (event->type() == QEvent::Show)
        return Showing(event);
    TrackBorder(event);
    switch (event->type()) {
    case QEvent::Paint: return Paint(event);
    case QEvent::WindowStateChange:
        // A drag ends with the state it began in.
        EndDrag(false);
        StateChanged();
        return false;
    case QEvent::Resize: StateChanged(); return false;
    case QEvent::ActivationChange:
        formActive_ = form_->isActiveWindow();
        RepaintFrame();
        return false;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
    case QEvent::EnabledChange:
    case QEvent::LayoutRequest:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ApplicationPaletteChange: RepaintFrame(); return false;
    case QEvent::Hide:
        EndDrag(false);
        // A hidden form keeps no picture of itself.
        if (skinData_->CacheBmp)
            skinData_->CacheBmp->SetSize(0, 0);
        return false;
    case QEvent::MouseButtonPress: return MousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: return MouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove: return MouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick: return MouseDoubleClick(static_cast<QMouseEvent*>(event));
    case QEvent::Leave:
        SetHotButton(0);
        return false;
    case QEvent::ToolTip: return ToolTip(event);
    case QEvent::KeyPress: return DragKey(event);
    default: return false;
    }
}

// The frame and the client's background come from the cache; the form
// then paints its own content over them.
bool TsSkinProvider::Paint(QEvent*)
{
    const TBitmap* cache = skinData_->CacheBmp.get();
    // A sub-window hears of its activation only as a repaint.
    if (IsMDIChild() && ChildActive() != formActive_) {
        formActive_ = !formActive_;
        cacheStale_ = true;
    }
    if (cacheStale_ || !cache || cache->Width() != form_->width() || cache->Height() != form_->height())
        PaintFormCache();
    PaintFrame(form_);
    return false;
}

void TsSkinProvider::StateChanged()
{
    FillRegionRects();
    SetFormRgn();
    RepaintFrame();
}

bool TsSkinProvider::SkinCommand(TSkinCommandEvent& m)
{
    const intptr_t manager = reinterpret_cast<intptr_t>(SkinManager());
    switch (m.SubCode()) {
    case AC_GETPROVIDER: m.Result = reinterpret_cast<intptr_t>(static_cast<TacFormProvider*>(this)); return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_GETAPPLICATION: m.Result = ApplicationAnswer(); return true;
    case AC_GETCACHEFLAGS: m.Result = skinData_->CacheFlags; return true;
    case AC_SETNEWSKIN:
        if (m.LParam() == manager) {
            HandleSkinCommand(m, skinData_.get());
            PrepareForm();
        }
        return true;
    case AC_REMOVESKIN:
        if (m.LParam() == manager) {
            RemoveAdapter();
            HandleSkinCommand(m, skinData_.get());
            RemoveSkin();
        }
        return true;
    case AC_GETCLIENTOFFSET: {
        const TRect margins = appliedMargins_;
        m.Result = intptr_t(uint32_t(uint16_t(margins.Left)) | uint32_t(uint16_t(margins.Top)) << 16);
        return true;
    }
    default: return SkinnedCommand(m);
    }
}

bool TsSkinProvider::SkinnedCommand(TSkinCommandEvent& m)
{
    const intptr_t manager = reinterpret_cast<intptr_t>(SkinManager());
    switch (m.SubCode()) {
    case AC_REFRESH:
        if (m.LParam() == manager) {
            HandleSkinCommand(m, skinData_.get());
            PrepareForm();
            skinData_->Updating = false;
            if (adapter_)
                adapter_->BroadcastMessage(AC_REFRESH, 0, manager);
        }
        return true;
    case AC_ADAPTCONTROL: return AdaptControlCommand(m);
    case AC_SETUPDATING:
        skinData_->Updating = m.Low() == 1;
        if (skinData_->Updating)
            cacheStale_ = true;
        return true;
    case AC_GETBG:
        if (frameActive_ && m.LParam()) {
            auto& info = *reinterpret_cast<TBackgroundInfo*>(m.LParam());
            if (cacheStale_ || !skinData_->CacheBmp || skinData_->CacheBmp->Empty())
                PaintFormCache();
            info.BgType = 2;
            info.Bmp = skinData_->CacheBmp.get();
            return true;
        }
        return HandleSkinCommand(m, skinData_.get());
    default: return HandleSkinCommand(m, skinData_.get());
    }
}
