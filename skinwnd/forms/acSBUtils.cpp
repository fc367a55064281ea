#include "skinwnd/forms/acSBUtils.h"

#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
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

// A plain container (a main window's central widget, the holder of a
// layout) paints nothing of its own: what shows through it is its
// parent's.
bool SeeThrough(const QWidget* w)
{
    return w->metaObject() == &QWidget::staticMetaObject && !w->isWindow() && w->parentWidget()
           && !w->autoFillBackground() && !GetAdapterOf(w) && !IsLibraryWindow(w);
}

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
    QWidget* parent = wnd ? wnd->parentWidget() : nullptr;
    while (parent && SeeThrough(parent))
        parent = parent->parentWidget();
    if (!parent)
        return EmptyCacheInfo;
    TBackgroundInfo info;
    GetControlBackground(info, parent, false);
    TCacheInfo cache = BackgroundToCacheInfo(info);
    // The parent answers for its own origin.
    if (info.BgType == 2 && info.Bmp) {
        const QPoint at = wnd->mapTo(parent, QPoint());
        cache.X += at.x();
        cache.Y += at.y();
    }
    return cache;
}

void AdaptTopLevelControls(QWidget* wnd)
{
    if (wnd)
        SendSkinCommand(wnd->window(), AC_ADAPTCONTROL, 0, 0);
}
