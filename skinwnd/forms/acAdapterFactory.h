#pragma once
// The one place window adapters are made by kind: the control adapter, the
// tab adapters (and whoever else needs an adapter for a window it does not
// know the class of) ask here, so that a kind whose class is written later
// is plugged in with one row of the table in the source.
#include <QWidget>

#include <string>

class TacMainWnd;
class TsCommonData;
class TsSkinManager;

// The adapter family, one kind per class.
enum class TacAdapterKind {
    MainWnd, StaticWnd, IconWnd, LinkWnd, BtnWnd, BitBtnWnd, SizerWnd, SpinWnd, CheckBoxWnd, ToolBarWnd,
    TransPanelWnd, GroupBoxWnd, PanelWnd, DlgPanelWnd, ScrollWnd, MnuWnd, BaseWnd, MDIWnd, EditWnd, ComboListWnd,
    ListViewWnd, GridWnd, GridEhWnd, TreeViewWnd, ComboBoxWnd, WWComboBoxWnd, VirtualTreeViewWnd, TabControlWnd,
    PageControlWnd, PageWnd, ToolBarVCLWnd, StatusBarWnd, DialogWnd,
};

// The class name of a kind ("TacBtnWnd").
const char* AdapterClassName(TacAdapterKind kind);
// Whether the kind's own class is built; any other kind is made as the
// plain base adapter, which answers the library's commands and leaves the
// window's look alone.
bool AdapterKindBuilt(TacAdapterKind kind);

// Makes and attaches an adapter of the kind with the family's constructor
// arguments. A kind whose class serves one widget class (buttons, labels,
// group boxes ...) makes the plain base adapter for a window of another
// class.
TacMainWnd* CreateWndAdapter(TacAdapterKind kind, QWidget* handle, bool scrollBars, const std::string& skinSection,
                             TsSkinManager* manager, TsCommonData* skinData);

// Detaches an adapter made here, the way its class needs, and deletes it;
// the pointer is set to nullptr.
void FreeWndAdapter(TacMainWnd*& adapter);

// The handler that paints a tool button outside tool bars, owned by the
// caller; skinData (its section already set) must outlive it. nullptr for
// a window that is not a tool button.
QObject* CreateSpeedButtonHandler(QWidget* button, TsCommonData* skinData, TsSkinManager* manager);
