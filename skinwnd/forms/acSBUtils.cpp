#include "skinwnd/forms/acSBUtils.h"

#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sTreeView.h"
#include "skinwnd/forms/acAdapterFactory.h"
#include "skinwnd/forms/acMainWnd.h"

#include <QHash>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

QHash<const QObject*, QPointer<TacMainWnd>>& Registry()
{
    static QHash<const QObject*, QPointer<TacMainWnd>> registry;
    return registry;
}

// The skin library's tree view keeps its adapter as a plain object.
void UpdateTreeViewWndHook(TsCommonData* skinData, QObject*& wnd)
{
    auto* adapter = static_cast<TacMainWnd*>(wnd);
    UpdateTreeViewWnd(skinData, adapter);
    wnd = adapter;
}

void FreeTreeViewWndHook(QObject*& wnd)
{
    auto* adapter = static_cast<TacMainWnd*>(wnd);
    FreeWndAdapter(adapter);
    wnd = adapter;
}

const bool TreeViewHooksSet = (TreeViewWndHooks = {&UpdateTreeViewWndHook, &FreeTreeViewWndHook}, true);

} // namespace

void AttachWnd(TacMainWnd* adapter, QWidget* wnd)
{
    adapter->Scrolling = false;
    // The link is made before the adapter sees any event, so that a
    // handler that looks the window up finds its adapter.
    Registry().insert(wnd, adapter);
    wnd->installEventFilter(adapter);
    QObject::connect(wnd, &QObject::destroyed, adapter, [adapter, wnd] {
        Registry().remove(wnd);
        adapter->WindowGone();
    });
}

void DetachWnd(QWidget* wnd, bool freeAdapter, TacMainWnd*& adapter)
{
    if (!adapter)
        return;
    if (!adapter->Detached) {
        if (wnd) {
            wnd->removeEventFilter(adapter);
            QObject::disconnect(wnd, &QObject::destroyed, adapter, nullptr);
            Registry().remove(wnd);
        }
        adapter->RestoreColors();
        if (wnd && wnd->isVisible())
            wnd->update();
        adapter->Detached = true;
    }
    if (freeAdapter) {
        delete adapter;
        adapter = nullptr;
    }
}

TacMainWnd* GetAdapterOf(const QObject* wnd)
{
    return Registry().value(wnd);
}

bool IsLibraryWindow(const QObject* wnd)
{
    const QVariant tag = wnd ? wnd->property("Tag") : QVariant();
    return tag.isValid() && tag.toInt() == LibraryWindowTag;
}

TCacheInfo GetParentCacheOfWindow(QWidget* wnd)
{
    if (!wnd || !wnd->parentWidget())
        return EmptyCacheInfo;
    return BackgroundToCacheInfo(ParentBackgroundOf(wnd));
}

void AdaptTopLevelControls(QWidget* wnd)
{
    if (wnd)
        SendSkinCommand(wnd->window(), AC_ADAPTCONTROL, 0, 0);
}

void UpdateTreeViewWnd(TsCommonData* skinData, TacMainWnd*& wnd)
{
    if (!skinData)
        return;
    if (!skinData->Skinned()) {
        FreeWndAdapter(wnd);
        return;
    }
    if (wnd && wnd->Detached)
        FreeWndAdapter(wnd);
    // The adapter asks the skin data for its manager: the default one may
    // go while the adapter lives.
    if (!wnd && skinData->OwnerControl)
        wnd = CreateWndAdapter(TacAdapterKind::TreeViewWnd, skinData->OwnerControl, true, skinData->SkinSection(),
                               nullptr, skinData);
}
