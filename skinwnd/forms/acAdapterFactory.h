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
// arguments.
TacMainWnd* CreateWndAdapter(TacAdapterKind kind, QWidget* handle, bool scrollBars, const std::string& skinSection,
                             TsSkinManager* manager, TsCommonData* skinData);

// The handler that paints a tool button outside tool bars; nullptr while
// no handler class is built.
QObject* CreateSpeedButtonHandler(QWidget* button, TsCommonData* skinData, TsSkinManager* manager);
