#include "skinwnd/forms/acAdapterFactory.h"

#include "skinwnd/forms/acBtnWnd.h"
#include "skinwnd/forms/acCheckBoxWnd.h"
#include "skinwnd/forms/acComboBoxWnd.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acGridWnd.h"
#include "skinwnd/forms/acGroupBoxWnd.h"
#include "skinwnd/forms/acListViewWnd.h"
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acPanelWnd.h"
#include "skinwnd/forms/acScrollWnd.h"
#include "skinwnd/forms/acSizerWnd.h"
#include "skinwnd/forms/acSpeedButtonHandler.h"
#include "skinwnd/forms/acSpinWnd.h"
#include "skinwnd/forms/acStaticWnd.h"
#include "skinwnd/forms/acStatusBarWnd.h"
#include "skinwnd/forms/acTabControlWnd.h"
#include "skinwnd/forms/acToolBarVCLWnd.h"
#include "skinwnd/forms/acToolBarWnd.h"
#include "skinwnd/forms/acTransPanelWnd.h"
#include "skinwnd/forms/acTreeViewWnd.h"
#include "skinwnd/forms/sMDIForm.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QSizeGrip>
#include <QToolBar>
#include <QToolButton>

#include <iterator>

namespace {

using TMaker = TacMainWnd* (*)(QWidget*, bool, const std::string&, TsSkinManager*, TsCommonData*);

template <class T>
TacMainWnd* Make(QWidget* handle, bool scrollBars, const std::string& section, TsSkinManager* manager,
                 TsCommonData* skinData)
{
    return TacMainWnd::Create<T>(handle, scrollBars, section, manager, skinData);
}

// Adapters of one widget class, whose constructors take no scroll-bar flag:
// nullptr for a window of another class, which then gets the plain adapter
// rather than one that would take it for what it is not.
template <class T, class W>
TacMainWnd* MakeOn(QWidget* handle, bool, const std::string& section, TsSkinManager* manager, TsCommonData* skinData)
{
    auto* widget = qobject_cast<W*>(handle);
    return widget ? TacMainWnd::Create<T>(widget, section, manager, skinData) : nullptr;
}

struct TKindRow {
    TacAdapterKind Kind;
    const char* Name;
    TMaker Maker; // nullptr: the class is not built
};

using K = TacAdapterKind;
constexpr TKindRow Kinds[] = {
    {K::MainWnd, "TacMainWnd", Make<TacMainWnd>},
    {K::StaticWnd, "TacStaticWnd", MakeOn<TacStaticWnd, QLabel>},
    {K::IconWnd, "TacIconWnd", MakeOn<TacIconWnd, QLabel>},
    {K::LinkWnd, "TacLinkWnd", MakeOn<TacLinkWnd, QLabel>},
    {K::BtnWnd, "TacBtnWnd", MakeOn<TacBtnWnd, QAbstractButton>},
    {K::BitBtnWnd, "TacBitBtnWnd", MakeOn<TacBitBtnWnd, QAbstractButton>},
    {K::SizerWnd, "TacSizerWnd", MakeOn<TacSizerWnd, QSizeGrip>},
    {K::SpinWnd, "TacSpinWnd", MakeOn<TacSpinWnd, QAbstractSpinBox>},
    {K::CheckBoxWnd, "TacCheckBoxWnd", MakeOn<TacCheckBoxWnd, QAbstractButton>},
    {K::ToolBarWnd, "TacToolBarWnd", MakeOn<TacToolBarWnd, QToolBar>},
    {K::TransPanelWnd, "TacTransPanelWnd", MakeOn<TacTransPanelWnd, QWidget>},
    {K::GroupBoxWnd, "TacGroupBoxWnd", MakeOn<TacGroupBoxWnd, QGroupBox>},
    {K::PanelWnd, "TacPanelWnd", MakeOn<TacPanelWnd, QFrame>},
    {K::DlgPanelWnd, "TacDlgPanelWnd", nullptr},
    {K::ScrollWnd, "TacScrollWnd", Make<TacScrollWnd>},
    {K::MnuWnd, "TacMnuWnd", nullptr},
    {K::BaseWnd, "TacBaseWnd", Make<TacBaseWnd>},
    {K::MDIWnd, "TacMDIWnd", Make<TacMDIWnd>},
    {K::EditWnd, "TacEditWnd", Make<TacEditWnd>},
    {K::ComboListWnd, "TacComboListWnd", Make<TacComboListWnd>},
    {K::ListViewWnd, "TacListViewWnd", Make<TacListViewWnd>},
    {K::GridWnd, "TacGridWnd", Make<TacGridWnd>},
    {K::GridEhWnd, "TacGridEhWnd", Make<TacGridWnd>}, // the grid adapter serves it whole
    {K::TreeViewWnd, "TacTreeViewWnd", Make<TacTreeViewWnd>},
    {K::ComboBoxWnd, "TacComboBoxWnd", Make<TacComboBoxWnd>},
    {K::WWComboBoxWnd, "TacWWComboBoxWnd", Make<TacComboBoxWnd>}, // its button is the combo box's own
    {K::VirtualTreeViewWnd, "TacVirtualTreeViewWnd", nullptr},
    {K::TabControlWnd, "TacTabControlWnd", Make<TacTabControlWnd>},
    {K::PageControlWnd, "TacPageControlWnd", Make<TacPageControlWnd>},
    {K::PageWnd, "TacPageWnd", Make<TacPageWnd>},
    {K::ToolBarVCLWnd, "TacToolBarVCLWnd", Make<TacToolBarVCLWnd>},
    {K::StatusBarWnd, "TacStatusBarWnd", Make<TacStatusBarWnd>},
    {K::DialogWnd, "TacDialogWnd", nullptr},
};

constexpr bool RowsInKindOrder()
{
    for (size_t i = 0; i < std::size(Kinds); ++i)
        if (size_t(Kinds[i].Kind) != i)
            return false;
    return std::size(Kinds) == size_t(K::DialogWnd) + 1;
}
static_assert(RowsInKindOrder(), "one row per kind, in the order of the kinds");

const TKindRow& Row(TacAdapterKind kind) { return Kinds[size_t(kind)]; }

} // namespace

const char* AdapterClassName(TacAdapterKind kind) { return Row(kind).Name; }

bool AdapterKindBuilt(TacAdapterKind kind) { return Row(kind).Maker != nullptr; }

TacMainWnd* CreateWndAdapter(TacAdapterKind kind, QWidget* handle, bool scrollBars, const std::string& skinSection,
                             TsSkinManager* manager, TsCommonData* skinData)
{
    if (!handle)
        return nullptr;
    if (const TMaker make = Row(kind).Maker)
        if (TacMainWnd* adapter = make(handle, scrollBars, skinSection, manager, skinData))
            return adapter;
    return Make<TacMainWnd>(handle, scrollBars, skinSection, manager, skinData);
}

void FreeWndAdapter(TacMainWnd*& adapter)
{
    // The scroll-bar adapters give their bars back before they let go of
    // the window; for the others this is the plain detaching.
    if (adapter)
        DetachScrollWnd(adapter->WndHandle(), true, adapter);
}

QObject* CreateSpeedButtonHandler(QWidget* button, TsCommonData* skinData, TsSkinManager* manager)
{
    auto* toolButton = qobject_cast<QToolButton*>(button);
    if (!toolButton || !skinData)
        return nullptr;
    auto* handler = new TacSpeedButtonHandler(toolButton, "SPEEDBUTTON", manager, skinData);
    // Made on a shown button, the handler paints at once.
    toolButton->update();
    return handler;
}
