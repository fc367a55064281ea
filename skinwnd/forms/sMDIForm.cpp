#include "skinwnd/forms/sMDIForm.h"

#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acMDIControlsStyle.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSBUtilsPaint.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include <algorithm>

namespace {

const char MDIAreaSection[] = "MDIAREA";

std::string AreaSection(TsSkinManager* manager, const std::string& given)
{
    if (manager && manager->GetSkinIndex(MDIAreaSection) >= 0)
        return MDIAreaSection;
    return given;
}

} // namespace

TacMDIWnd::TacMDIWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                     TsCommonData* skinData)
    : TacMainWnd(handle, scrollBars, skinSection, manager, skinData)
{
    const std::string section = AreaSection(SkinManager(), skinSection.empty() ? MDIAreaSection : skinSection);
    if (SkinData()->SkinSection() != section) {
        SkinData()->SetSkinSection(section);
        SkinData()->UpdateIndexes();
    }
}

void TacMDIWnd::SetOwner(QWidget* form, TsSkinProvider* provider, TsCommonData* providerData)
{
    form_ = form;
    provider_ = provider;
    providerData_ = providerData;
    SkinData()->BGChanged = true;
}

void TacMDIWnd::PrepareCache()
{
    TsCommonData& sd = *SkinData();
    QWidget* w = WndHandle();
    const TacWndGeometry g = SizeCacheToWindow(sd, w);
    const TsGeneralData* section = sd.Section();
    if (section && sd.SkinSection() == MDIAreaSection) {
        PaintControlItem(sd, GetParentCacheOfWindow(w), true, 0, {0, 0, g.Width, g.Height}, {0, 0}, *sd.CacheBmp);
    } else {
        // The skin has no picture for the area: the form's own colour.
        TsCommonData* form = provider_ ? providerData_ : nullptr;
        const TColor colour = form ? form->GetBackgroundColor(false) : sd.GetBackgroundColor(false);
        sd.CacheBmp->FillRect({0, 0, g.Width, g.Height}, colour);
    }
    sd.BGChanged = false;
}

bool TacMDIWnd::AnswerCommand(QEvent* event)
{
    auto& m = static_cast<TSkinCommandEvent&>(*event);
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
    case AC_REFRESH: {
        const bool handled = TacMainWnd::WndProc(event);
        SkinData()->BGChanged = true;
        WndHandle()->update();
        return handled;
    }
    case AC_CHILDPAINT:
        if (form_)
            QCoreApplication::sendEvent(form_, &m);
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_GETSKININDEX: m.Result = SkinData()->SkinIndex + 1; return true;
    case AC_GETBG:
        if (m.LParam()) {
            if (SkinData()->BGChanged)
                PrepareCache();
            SkinData()->FillBackgroundInfo(*reinterpret_cast<TBackgroundInfo*>(m.LParam()), false);
        }
        return true;
    default: return TacMainWnd::WndProc(event);
    }
}

bool TacMDIWnd::WndProc(QEvent* event)
{
    QWidget* w = WndHandle();
    if (!w)
        return false;
    if (event->type() == SkinCommandEventType())
        return AdapterSkinned(SkinData()) ? AnswerCommand(event) : TacMainWnd::WndProc(event);
    if (!AdapterSkinned(SkinData()))
        return TacMainWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::Paint:
        PaintWndFromCache(w, *SkinData(), [this] { PrepareCache(); });
        return true;
    case QEvent::Move: SkinData()->BGChanged = true; break;
    case QEvent::ChildPolished:
        // Polished as it is about to show: the sub-window is whole by now.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()); sub && OnSubWindow)
            OnSubWindow(sub);
        break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}

TsMDIForm::TsMDIForm(TsSkinProvider* provider) : provider_(provider), form_(provider ? provider->Form() : nullptr)
{
}

TsMDIForm::~TsMDIForm()
{
    controlsStyle_.reset();
    FreeAdapter();
    FreeChildProviders();
}

QMdiArea* TsMDIForm::ClientArea() const { return form_ ? form_->findChild<QMdiArea*>() : nullptr; }

void TsMDIForm::Connect()
{
    if (!clientAdapter_)
        UpdateAdapter();
}

void TsMDIForm::UpdateAdapter()
{
    FreeAdapter();
    QMdiArea* area = ClientArea();
    if (!provider_ || !area || !provider_->SkinData().Skinned()) {
        controlsStyle_.reset();
        FreeChildProviders();
        return;
    }
    clientAdapter_ = TacMainWnd::Create<TacMDIWnd>(area->viewport(), true, "CHECKBOX",
                                                   provider_->SkinData().SkinManager(), nullptr);
    clientAdapter_->SetOwner(form_, provider_, &provider_->SkinData());
    clientAdapter_->OnSubWindow = [this](QMdiSubWindow* sub) { AdoptSubWindow(sub); };
    for (QMdiSubWindow* sub : area->subWindowList())
        AdoptSubWindow(sub);
    UpdateControlsStyle();
    area->viewport()->update();
}

// Qt puts a maximised sub-window's controls only on the menu bar of a main
// window.
void TsMDIForm::UpdateControlsStyle()
{
    auto* main = qobject_cast<QMainWindow*>(form_.data());
    QMenuBar* bar = main ? qobject_cast<QMenuBar*>(main->menuWidget()) : nullptr;
    if (controlsStyle_ && (!bar || controlsStyle_->Bar() != bar))
        controlsStyle_.reset();
    if (!bar)
        return;
    if (controlsStyle_)
        controlsStyle_->Refresh();
    else
        controlsStyle_ = std::make_unique<TacMDIControlsStyle>(provider_, bar);
}

// A sub-window the program gave a provider of its own keeps it.
void TsMDIForm::AdoptSubWindow(QMdiSubWindow* sub)
{
    if (!sub || GetSkinProvider(sub))
        return;
    childProviders_.erase(std::remove(childProviders_.begin(), childProviders_.end(), nullptr),
                          childProviders_.end());
    childProviders_.emplace_back(new TsSkinProvider(sub));
}

void TsMDIForm::FreeChildProviders()
{
    // Each provider gives its sub-window back as it goes.
    for (const QPointer<TsSkinProvider>& child : childProviders_)
        delete child.data();
    childProviders_.clear();
}

std::vector<TsSkinProvider*> TsMDIForm::ChildProviders() const
{
    std::vector<TsSkinProvider*> live;
    for (const QPointer<TsSkinProvider>& child : childProviders_)
        if (child)
            live.push_back(child);
    return live;
}

void TsMDIForm::FreeAdapter()
{
    if (!clientAdapter_)
        return;
    TacMainWnd* adapter = clientAdapter_;
    clientAdapter_ = nullptr;
    DetachWnd(adapter->WndHandle(), true, adapter);
}

void TsMDIForm::RepaintFrame()
{
    if (provider_)
        provider_->RepaintFrame();
}
