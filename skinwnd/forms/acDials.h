#pragma once
// The dialog hook: skins the top-level windows nobody else skins. Nothing
// sees a window before it is created here, so an application-wide event
// filter, switched on while a default skin manager exists, takes each new
// top-level window as it shows: message boxes, Qt's own dialogs (made
// non-native meanwhile) and forms without a provider of their own get a
// dialog adapter with the provider's frame, their controls adapters through
// the factory. Popup menus nobody else skins go to the skin manager's menu
// skinning while it skins popups; other popups (combo and completer
// lists), tool tips, tool windows and the library's own windows (Tag -98)
// are left alone.
#include "skinwnd/forms/acAdapterFactory.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class TacDialogWnd;
class TacMainWnd;

// What the hook made for one window. It belongs to that window and goes
// with it, freeing the adapters it made.
class TacProvider : public QObject {
public:
    explicit TacProvider(QWidget* owner);
    ~TacProvider() override;

    // Puts the dialog adapter on the window and adapters on its controls;
    // false when the controls could not be wrapped.
    bool InitDialog(QWidget* wnd);
    // Adapters for the controls that have none yet, all levels.
    bool WrapChildren(QWidget* wnd);
    // An adapter for one control, chosen by its class; true also when the
    // control takes none.
    bool AddChildAdapter(QWidget* child);

    bool LeftScrollBar = false;
    QPointer<QWidget> Wnd;
    TacDialogWnd* DialogWnd = nullptr; // owned
    std::vector<TacMainWnd*> ChildAdapters; // owned
};

// Every provider the hook made. A provider that goes away leaves an empty
// entry behind; look-ups skip such entries and the sweep removes them.
class TacProviderList {
public:
    ~TacProviderList();
    void Add(TacProvider* provider);
    // Empties the provider's entry (it is not freed).
    void Remove(const TacProvider* provider);
    // The provider of the window, or nullptr.
    TacProvider* Find(const QWidget* wnd) const;
    // Providers with a dialog adapter whose window is visible.
    int CountVisible() const;
    // Frees the providers whose dialog adapter lost its window and drops
    // every empty entry; the order of the others stays.
    void Sweep();
    int Count() const { return int(items_.size()); }
    TacProvider* At(int index) const;

private:
    std::vector<TacProvider*> items_;
};

// The list while the hook is installed, else nullptr.
TacProviderList* DialogProviders();
// True while AddChildAdapter makes an adapter.
extern bool WrappingChildren;
// Where Qt's own dialogs are placed; -1, -1 for where they open.
struct TacDialogPosition {
    int X = -1, Y = -1;
};
extern TacDialogPosition DialogPosition;

void InstallDialogHook();
void RemoveDialogHook();
bool DialogHookInstalled();

// The hook's decision for a window that shows: true when a provider was made.
bool ActivateHookedWindow(QWidget* wnd);
TacProvider* FindDialogProvider(const QWidget* wnd);
int CountVisibleDialogs();
void SweepDestroyedDialogs();
// Whether a widget under wnd (any level) is of the class (its library
// name or its own class name).
bool HasChildOfClass(QWidget* wnd, const char* className);

// The adapter a control of a hooked window gets: its kind, its section and
// whether it runs in dialog mode.
struct TacDialogChildRow {
    bool Adapted = false; // false: the control keeps its own look
    TacAdapterKind Kind = TacAdapterKind::MainWnd;
    const char* Section = "";
    bool DialogMode = false;
};
TacDialogChildRow DialogChildRow(const QWidget* child);
