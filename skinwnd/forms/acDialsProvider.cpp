// What the hook makes for one window, and the list of all it made.
#include "skinwnd/forms/acDials.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinManager.h"
#include "skin/forms/sVclUtils.h"
#include "skin/sMessageBox.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acControlClasses.h"
#include "skinwnd/forms/acDialogWnd.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QMessageBox>

#include <algorithm>

TacProvider::TacProvider(QWidget* owner) : QObject(owner) {}

TacProvider::~TacProvider()
{
    // The entry stays, empty, until the next sweep: the list may be walked
    // right now.
    if (TacProviderList* list = DialogProviders())
        list->Remove(this);
    for (TacMainWnd* adapter : ChildAdapters)
        delete adapter;
    ChildAdapters.clear();
    delete DialogWnd;
    DialogWnd = nullptr;
}

bool TacProvider::InitDialog(QWidget* wnd)
{
    Wnd = wnd;
    TsSkinManager* manager = DefaultSkinManager;
    if (!wnd || DialogWnd || !manager || !manager->Active())
        return true;
    LeftScrollBar = wnd->layoutDirection() == Qt::RightToLeft;
    DialogWnd = TacMainWnd::Create<TacDialogWnd>(wnd, false, "DIALOG", manager, nullptr);
    DialogWnd->Provider = this;
    // A message box of the library's own opens where its caller asked.
    if (qobject_cast<QMessageBox*>(wnd) && (MsgBoxPosX != -1 || MsgBoxPosY != -1))
        wnd->move(MsgBoxPosX, MsgBoxPosY);
    else if (DialogPosition.X != -1 || DialogPosition.Y != -1)
        wnd->move(DialogPosition.X, DialogPosition.Y);
    if (!WrapChildren(wnd)) {
        if (TacProviderList* list = DialogProviders())
            list->Remove(this);
        return false;
    }
    DialogWnd->Prepare();
    SendSkinCommand(wnd, AC_SETNEWSKIN, 0, reinterpret_cast<intptr_t>(manager));
    return true;
}

bool TacProvider::WrapChildren(QWidget* wnd)
{
    for (QWidget* child : ChildControls(wnd)) {
        if (!WrapChildren(child) || !AddChildAdapter(child))
            return false;
    }
    return true;
}

bool TacProvider::AddChildAdapter(QWidget* child)
{
    if (!child || !DialogWnd || GetAdapterOf(child) || IsLibraryWindow(child)
        || WindowAnswersCommand(child, AC_CTRLHANDLED))
        return true;
    const TacDialogChildRow row = DialogChildRow(child);
    if (!row.Adapted)
        return true;
    WrappingChildren = true;
    TacMainWnd* adapter = CreateWndAdapter(row.Kind, child, true, row.Section, DialogWnd->SkinManager(), nullptr);
    WrappingChildren = false;
    if (!adapter)
        return true;
    adapter->DialogMode = row.DialogMode;
    ChildAdapters.push_back(adapter);
    return true;
}

TacProviderList::~TacProviderList()
{
    // A provider leaves an empty entry as it goes: take each out first.
    while (!items_.empty()) {
        TacProvider* provider = items_.back();
        items_.pop_back();
        delete provider;
    }
}

void TacProviderList::Add(TacProvider* provider)
{
    if (provider)
        items_.push_back(provider);
}

void TacProviderList::Remove(const TacProvider* provider)
{
    for (TacProvider*& item : items_)
        if (item == provider)
            item = nullptr;
}

TacProvider* TacProviderList::Find(const QWidget* wnd) const
{
    if (!wnd)
        return nullptr;
    for (TacProvider* item : items_)
        if (item && item->Wnd == wnd)
            return item;
    return nullptr;
}

int TacProviderList::CountVisible() const
{
    return int(std::count_if(items_.begin(), items_.end(), [](const TacProvider* item) {
        return item && item->DialogWnd && !item->DialogWnd->Detached && item->Wnd && item->Wnd->isVisible();
    }));
}

void TacProviderList::Sweep()
{
    // Freeing a provider empties its own entry: collect first, then free.
    std::vector<TacProvider*> gone;
    for (TacProvider*& item : items_)
        if (item && item->DialogWnd && item->DialogWnd->Detached) {
            gone.push_back(item);
            item = nullptr;
        }
    for (TacProvider* provider : gone)
        delete provider;
    items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

TacProvider* TacProviderList::At(int index) const
{
    return index >= 0 && index < Count() ? items_[size_t(index)] : nullptr;
}
