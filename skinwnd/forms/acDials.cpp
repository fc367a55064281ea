#include "skinwnd/forms/acDials.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinManager.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sVclUtils.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acControlClasses.h"
#include "skinwnd/forms/acDialogWnd.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QApplication>
#include <QColorDialog>
#include <QErrorMessage>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>

#include <algorithm>
#include <memory>

bool WrappingChildren = false;
TacDialogPosition DialogPosition;

namespace {

// Popup menus that nobody hands to the menu skinning, such as the context
// menus Qt makes for its edits, are given to it as they are polished
// (before they take their size) or, polished while no skin was on, as they
// show. The menu skinning lets them go when they are destroyed or the skin
// goes. Menus with a style of their own and the library's own keep their
// look.
void HookPopupMenuWindow(QMenu* menu)
{
    auto* manager = dynamic_cast<TsSkinManagerComponent*>(DefaultSkinManager);
    if (!manager || !manager->Active() || !manager->SkinnedPopups() || IsLibraryWindow(menu)
        || menu->testAttribute(Qt::WA_SetStyle) || manager->SkinableMenus().IsHooked(menu))
        return;
    manager->HookPopupMenu(menu);
}

// The application-wide filter that stands in for a hook on window creation.
class TacDialogHook : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Polish || type == QEvent::Show)
            if (auto* menu = qobject_cast<QMenu*>(watched))
                HookPopupMenuWindow(menu);
        if (type != QEvent::Show && type != QEvent::Hide)
            return false;
        auto* wnd = qobject_cast<QWidget*>(watched);
        if (!wnd || !wnd->isWindow())
            return false;
        SweepDestroyedDialogs();
        if (type == QEvent::Show)
            ActivateHookedWindow(wnd);
        return false;
    }
};

struct THookState {
    TacDialogHook Filter;
    TacProviderList Providers;
    bool HadNonNativeDialogs = false;
};
std::unique_ptr<THookState> Hook;

void SwitchDialogHook(bool install)
{
    if (install)
        InstallDialogHook();
    else
        RemoveDialogHook();
}

// The window skinning switches the hook through the manager.
const bool HookSwitchSet = (DialogHookSwitch = &SwitchDialogHook, true);

// Menus, combo and completer lists, tool tips, tool windows and splash
// screens keep their own look or are skinned elsewhere.
bool HookableWindowType(const QWidget* wnd)
{
    const Qt::WindowType type = wnd->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// Qt's own dialogs: the stand-ins of the system's dialogs.
bool IsStandardDialog(const QWidget* wnd)
{
    return qobject_cast<const QFileDialog*>(wnd) || qobject_cast<const QColorDialog*>(wnd)
        || qobject_cast<const QFontDialog*>(wnd) || qobject_cast<const QInputDialog*>(wnd)
        || qobject_cast<const QProgressDialog*>(wnd) || qobject_cast<const QErrorMessage*>(wnd);
}

// Whether the manager's rules let the hook take the window at all.
bool RuleAllows(const QWidget* wnd, TacSkinningRules rules)
{
    if (qobject_cast<const QMessageBox*>(wnd) || IsStandardDialog(wnd))
        return rules & srStdDialogs;
    return rules & srStdForms;
}

} // namespace

TacProviderList* DialogProviders() { return Hook ? &Hook->Providers : nullptr; }

bool DialogHookInstalled() { return Hook != nullptr; }

void InstallDialogHook()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (Hook || !app)
        return;
    Hook = std::make_unique<THookState>();
    // A native dialog is a window of another toolkit that nothing here can
    // paint: Qt's own are used while the hook is in.
    Hook->HadNonNativeDialogs = QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    app->installEventFilter(&Hook->Filter);
}

void RemoveDialogHook()
{
    if (!Hook)
        return;
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, Hook->HadNonNativeDialogs);
    // The providers go first: their windows get their frames back.
    Hook.reset();
}

TacProvider* FindDialogProvider(const QWidget* wnd) { return Hook ? Hook->Providers.Find(wnd) : nullptr; }

int CountVisibleDialogs() { return Hook ? Hook->Providers.CountVisible() : 0; }

void SweepDestroyedDialogs()
{
    if (Hook)
        Hook->Providers.Sweep();
}

bool HasChildOfClass(QWidget* wnd, const char* className)
{
    if (!wnd)
        return false;
    for (QWidget* child : wnd->findChildren<QWidget*>()) {
        const std::vector<std::string> names = ListedClassNames(child);
        if (std::find(names.begin(), names.end(), className) != names.end())
            return true;
    }
    return false;
}

bool ActivateHookedWindow(QWidget* wnd)
{
    if (!wnd || !Hook || WindowAnswersCommand(wnd, AC_CTRLHANDLED))
        return false;
    auto* manager = dynamic_cast<TsSkinManagerComponent*>(DefaultSkinManager);
    if (!manager || FindDialogProvider(wnd) || IsLibraryWindow(wnd) || !HookableWindowType(wnd))
        return false;
    if (!RuleAllows(wnd, manager->SkinningRules))
        return false;
    // A standard dialog opened over a skinned one keeps its own look,
    // unless it has a tool bar to show.
    if (IsStandardDialog(wnd) && CountVisibleDialogs() > 0 && !HasChildOfClass(wnd, "TToolBar"))
        return false;
    auto* provider = new TacProvider(wnd);
    Hook->Providers.Add(provider);
    if (!provider->InitDialog(wnd))
        delete provider;
    return true;
}
