#pragma once
// Links between windows and the adapters that skin them. An adapter sits in
// front of its window as an event filter; the registry answers which
// adapter a window has, and forgets a window the moment it is destroyed.
#include "skin/sConst.h"

#include <QObject>

class QWidget;
class TacMainWnd;
class TsCommonData;

// The adapter filters every event of the window from now on.
void AttachWnd(TacMainWnd* adapter, QWidget* wnd);
// Undoes the attachment once; a second call (or a null adapter) only frees
// when asked. With freeAdapter the adapter is deleted and the pointer set
// to nullptr.
void DetachWnd(QWidget* wnd, bool freeAdapter, TacMainWnd*& adapter);
// nullptr for a window without adapter.
TacMainWnd* GetAdapterOf(const QObject* wnd);

// Windows the library makes for itself carry this Tag (a dynamic property
// "Tag"); adapters and the control adapter leave them alone.
constexpr int LibraryWindowTag = -98;
bool IsLibraryWindow(const QObject* wnd);

// What lies under a window as its parent shows it: the parent's image at
// the window's place, or its colour; EmptyCacheInfo without a parent.
TCacheInfo GetParentCacheOfWindow(QWidget* wnd);

// Asks the provider of the window's form to adapt all its controls again.
void AdaptTopLevelControls(QWidget* wnd);

// Keeps the tree-view adapter of a control that skins itself (its skin
// data's owner) in step with its skin state: while skinned an adapter that
// lost its window is freed and, when none is left, a tree-view adapter is
// made on the owner with the data's section; when not skinned the adapter
// is freed. The skinned tree view of the skin library reaches it through
// its hooks, which this unit sets.
void UpdateTreeViewWnd(TsCommonData* skinData, TacMainWnd*& wnd);
