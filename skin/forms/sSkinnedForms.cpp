#include "skin/forms/sSkinnedForms.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sFileIcons.h"
#include "skin/sMessages.h"

#include <QApplication>

#include <algorithm>

std::vector<QPointer<QWidget>> SkinnedForms;
QImage AppIconLarge, AppIconSmall;

void RegisterSkinnedForm(QWidget* form)
{
    if (form && std::find(SkinnedForms.begin(), SkinnedForms.end(), form) == SkinnedForms.end())
        SkinnedForms.emplace_back(form);
}

void UnregisterSkinnedForm(QWidget* form)
{
    for (size_t i = 0; i < SkinnedForms.size();)
        if (SkinnedForms[i] == form) {
            SkinnedForms[i] = SkinnedForms.back();
            SkinnedForms.pop_back();
        } else {
            ++i;
        }
}

namespace {

// Every visible top-level window is minimised.
bool ApplicationMinimised()
{
    bool any = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) {
            if (!w->isMinimized())
                return false;
            any = true;
        }
    return any;
}

// The provider of a registered form that takes part in a skin change of
// this manager, or nullptr.
TacFormProvider* ChangingProvider(QWidget* form, const TsSkinManager* manager)
{
    if (!form || !form->isWindow() || form->isMinimized() || !form->isVisible())
        return nullptr;
    auto* provider = reinterpret_cast<TacFormProvider*>(SendSkinCommand(form, AC_GETPROVIDER));
    return provider && provider->SkinManager() == manager ? provider : nullptr;
}

bool Registered(QWidget* form)
{
    return std::find(SkinnedForms.begin(), SkinnedForms.end(), form) != SkinnedForms.end();
}

} // namespace

void LockSkinnedForms(const TsSkinManager* manager)
{
    if (ApplicationMinimised())
        return;
    for (const QPointer<QWidget>& form : SkinnedForms)
        if (TacFormProvider* provider = ChangingProvider(form, manager)) {
            provider->SetSkinChanging(true);
            form->setUpdatesEnabled(false);
        }
}

void UnlockSkinnedForms(const TsSkinManager* manager, bool repaint)
{
    if (ApplicationMinimised())
        return;
    for (const QPointer<QWidget>& form : SkinnedForms) {
        TacFormProvider* provider = ChangingProvider(form, manager);
        if (!provider)
            continue;
        form->setUpdatesEnabled(true);
        if (!repaint)
            continue;
        provider->SetSkinChanging(false);
        if (provider->DrawNonClientArea())
            provider->UpdateFrame();
        form->repaint();
    }
}

void BroadcastToControls(QWidget* parent, const TacBroadcast& msg)
{
    for (QObject* child : parent->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow()) {
            SendSkinCommand(w, msg.SubCode, msg.Low, msg.LParam);
            BroadcastToControls(w, msg);
        }
}

void BroadcastToSkinnedForms(const TacBroadcast& msg)
{
    // A receiver may register or unregister forms: walk a copy.
    const std::vector<QPointer<QWidget>> forms = SkinnedForms;
    for (const QPointer<QWidget>& form : forms)
        if (form) {
            SendSkinCommand(form, msg.SubCode, msg.Low, msg.LParam);
            if (form)
                BroadcastToControls(form, msg);
        }
}

void BroadcastToAppForms(const TacBroadcast& msg)
{
    QList<QPointer<QWidget>> forms;
    for (QWidget* w : QApplication::topLevelWidgets())
        forms.append(w);
    for (qsizetype i = forms.size() - 1; i >= 0; --i) {
        QWidget* form = forms[i];
        if (!form || Registered(form) || SendSkinCommand(form, AC_CTRLHANDLED) == 1)
            continue;
        SendSkinCommand(form, msg.SubCode, msg.Low, msg.LParam);
        if (forms[i])
            BroadcastToControls(form, msg);
    }
    BroadcastToSkinnedForms(msg);
}

void sSkinnedFormsInitialization()
{
    const std::string exe = QCoreApplication::applicationFilePath().toStdString();
    AppIconSmall = GetFileIcon(exe, 16).toImage();
    AppIconLarge = GetFileIcon(exe, 32).toImage();
}

void sSkinnedFormsFinalization()
{
    AppIconSmall = AppIconLarge = QImage();
    SkinnedForms.clear();
}
