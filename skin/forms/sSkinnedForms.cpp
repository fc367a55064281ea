#include "skin/forms/sSkinnedForms.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sFileIcons.h"
#include "skin/forms/sVclUtils.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerIntf.h"

#include <QApplication>
#include <QScreen>

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

// The default manager's skin-change fade when it is on, else nullptr.
const TacSkinChanging* SkinChangeAnimation(const TsSkinManager* manager)
{
    if (!manager || manager != DefaultSkinManager)
        return nullptr;
    const TacSkinChanging& animation = manager->AnimEffects().SkinChanging;
    return animation.Active ? &animation : nullptr;
}

// What each form frozen for a faded change showed before the change,
// taken as the form locks.
std::vector<std::pair<QPointer<QWidget>, QImage>> picturesBefore;

// What a form shows on the screen: the window system's picture of it, or,
// before it has one, the form painted now. Painted now it could already
// show parts of the new skin, or of none while the skin is being handed
// round.
QImage ShownPicture(QWidget* form)
{
    if (QScreen* screen = form->screen()) {
        QImage shown = screen->grabWindow(form->winId()).toImage();
        if (!shown.isNull())
            return shown;
    }
    return form->grab().toImage();
}

std::vector<std::pair<QPointer<QWidget>, QImage>>::iterator PictureOf(QWidget* form)
{
    return std::find_if(picturesBefore.begin(), picturesBefore.end(), [form](const auto& p) { return p.first == form; });
}

} // namespace

void LockSkinnedForms(const TsSkinManager* manager)
{
    if (ApplicationMinimised())
        return;
    const bool animated = SkinChangeAnimation(manager) != nullptr;
    if (animated)
        FormAnimating = true;
    for (const QPointer<QWidget>& form : SkinnedForms)
        if (TacFormProvider* provider = ChangingProvider(form, manager)) {
            // A lock inside a lock keeps the picture of the first: the
            // form has shown nothing new since.
            if (animated && form->updatesEnabled() && PictureOf(form) == picturesBefore.end())
                picturesBefore.emplace_back(form, ShownPicture(form));
            provider->SetSkinChanging(true);
            form->setUpdatesEnabled(false);
        }
}

void UnlockSkinnedForms(const TsSkinManager* manager, bool repaint)
{
    if (ApplicationMinimised())
        return;
    // Read once: the manager may go while a fade pumps messages.
    const TacSkinChanging* animation = SkinChangeAnimation(manager);
    const bool animated = animation != nullptr;
    const int time = animated ? animation->Time : 0;
    if (manager && manager == DefaultSkinManager)
        FormAnimating = false;
    // A fade pumps messages, and a receiver may register or unregister
    // forms: walk a copy.
    const std::vector<QPointer<QWidget>> forms = SkinnedForms;
    for (const QPointer<QWidget>& form : forms) {
        TacFormProvider* provider = ChangingProvider(form, manager);
        if (!provider)
            continue;
        QImage before;
        if (auto p = PictureOf(form); p != picturesBefore.end())
            before = std::move(p->second);
        if (!repaint) {
            form->setUpdatesEnabled(true);
            continue;
        }
        // One fade at a time: a change made while another fades shows at once.
        if (animated && !OutputWindow()) {
            if (!before.isNull())
                ShowOutputOver(form, before);
            AnimateRepaint(form, provider->DrawNonClientArea() ? time : 0);
            provider = ChangingProvider(form, manager);
            if (!provider)
                continue;
        }
        form->setUpdatesEnabled(true);
        provider->SetSkinChanging(false);
        if (provider->DrawNonClientArea())
            provider->UpdateFrame();
        form->repaint();
    }
    // Every form that was to fade has: what was not shown again (hidden or
    // gone meanwhile) would show another picture by the next change.
    picturesBefore.clear();
}

void BroadcastToControls(QWidget* parent, const TacBroadcast& msg)
{
    // A control of the library's own passes the message on to its children
    // itself: walked into as well, they would hear it twice.
    const QList<QPointer<QWidget>> children = [parent] {
        QList<QPointer<QWidget>> list;
        for (QObject* child : parent->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
                list.append(w);
        return list;
    }();
    for (const QPointer<QWidget>& w : children) {
        if (!w)
            continue;
        const bool passesOn = SendSkinCommand(w, AC_CTRLHANDLED) == 1;
        SendSkinCommand(w, msg.SubCode, msg.Low, msg.LParam);
        if (w && !passesOn)
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
    picturesBefore.clear();
}
