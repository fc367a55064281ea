#include "skinwnd/forms/sMDIForm.h"

#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSBUtilsPaint.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QCoreApplication>
#include <QMdiArea>

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
    const TacWndGeometry g = UpdateWndGeometry(w);
    sd.PrepareCacheBmp();
    sd.CacheBmp->SetSize(g.Width, g.Height);
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
        if (SkinData()->BGChanged || SkinData()->CacheBmp->Width() != w->width()
            || SkinData()->CacheBmp->Height() != w->height())
            PrepareCache();
        CopyCacheToWindow(w, *SkinData()->CacheBmp);
        return true;
    case QEvent::Move: SkinData()->BGChanged = true; break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}

TsMDIForm::TsMDIForm(TsSkinProvider* provider) : provider_(provider), form_(provider ? provider->Form() : nullptr)
{
}

TsMDIForm::~TsMDIForm() { FreeAdapter(); }

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
    if (!provider_ || !area || !provider_->SkinData().Skinned())
        return;
    clientAdapter_ = TacMainWnd::Create<TacMDIWnd>(area->viewport(), true, "CHECKBOX",
                                                   provider_->SkinData().SkinManager(), nullptr);
    clientAdapter_->SetOwner(form_, provider_, &provider_->SkinData());
    area->viewport()->update();
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
