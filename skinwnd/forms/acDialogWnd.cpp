#include "skinwnd/forms/acDialogWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acDials.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QEvent>

TacDialogWnd::TacDialogWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                           TsCommonData* skinData)
    : TacMainWnd(handle, scrollBars, skinSection, manager, skinData)
{
}

TacDialogWnd::~TacDialogWnd()
{
    // The provider gives the window its frame back as it goes.
    delete frame_.data();
}

void TacDialogWnd::Prepare()
{
    QWidget* wnd = WndHandle();
    if (!wnd || frame_)
        return;
    frame_ = new TsSkinProvider(wnd);
    UseDialogSection();
    // The provider filters the window's events from now on; the adapter
    // goes in front of it again so that it still sees the window's new
    // controls and the request to wrap them.
    wnd->installEventFilter(this);
}

void TacDialogWnd::UseDialogSection()
{
    TsSkinManager* manager = SkinManager();
    if (!frame_ || !manager || manager->GetSkinIndex("DIALOG") < 0)
        return;
    frame_->SkinData().SetSkinSection("DIALOG");
    frame_->UpdateFrame();
}

bool TacDialogWnd::WndProc(QEvent* event)
{
    // Everything but the wrapping is the frame provider's: the adapter
    // passes every event on to it.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::LayoutRequest:
        // Controls made after the window was wrapped (a message box's
        // details, a dialog's pages) get their adapters.
        if (Provider)
            Provider->WrapChildren(WndHandle());
        return false;
    default:
        break;
    }
    if (event->type() == SkinCommandEventType()) {
        auto& m = static_cast<TSkinCommandEvent&>(*event);
        if (m.SubCode() == AC_REWRAPCHILDREN && Provider)
            Provider->WrapChildren(WndHandle());
    }
    return false;
}
