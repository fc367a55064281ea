// The adapter of the form's child controls: made when the form takes the
// skin, handed every control the form gets later, told of refreshes, and
// dropped with its adapters when the skin goes.
#include "skinwnd/forms/sSkinProvider.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinManager.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acCtrlAdapter.h"

#include <QWidget>

TsSkinManagerComponent* TsSkinProvider::ManagerComponent() const
{
    return dynamic_cast<TsSkinManagerComponent*>(SkinManager());
}

void TsSkinProvider::CreateAdapter()
{
    if (!form_ || !skinData_->Skinned(true))
        return;
    if (!adapter_) {
        TacCtrlAdapterSettings settings;
        settings.OnSkinItem = [this](QWidget* item, bool& canBeAdded, std::string& section) {
            if (OnSkinItem)
                OnSkinItem(item, canBeAdded, section);
        };
        adapter_ = std::make_unique<TacCtrlAdapter>(form_, ManagerComponent(), std::move(settings));
    }
    const bool was = adapting_;
    adapting_ = true;
    adapter_->AdaptControls(nullptr);
    adapting_ = was;
}

// The adapters leave their controls before they go: each control takes
// its own look back.
void TsSkinProvider::RemoveAdapter()
{
    if (!adapter_)
        return;
    adapter_->BroadcastMessage(AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(SkinManager()));
    adapter_.reset();
}

void TsSkinProvider::AdaptShownForm()
{
    if (adapter_ && !adapting_)
        CreateAdapter();
}

bool TsSkinProvider::AdaptControlCommand(TSkinCommandEvent& m)
{
    if (auto* control = reinterpret_cast<QWidget*>(m.LParam()))
        AdaptNewControl(control);
    else
        AdaptShownForm();
    return true;
}

// A control the form gets after the skin arrived is skinned as it
// appears, with whatever it holds.
void TsSkinProvider::ChildPolished(QObject* child)
{
    auto* control = qobject_cast<QWidget*>(child);
    if (control && !control->isWindow())
        AdaptNewControl(control);
}

// Controls that appear while the adapter is at work are its own: taking
// them then would change its list under it.
void TsSkinProvider::AdaptNewControl(QWidget* control)
{
    if (!adapter_ || adapting_)
        return;
    const TsSkinManagerComponent* manager = adapter_->Manager();
    if (!manager || !(manager->SkinningRules & srThirdParty))
        return;
    adapting_ = true;
    adapter_->AddNewItem(control);
    adapter_->AdaptControls(control);
    adapting_ = false;
}
