#include "skinwnd/forms/acAdapterFactory.h"

#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acTabControlWnd.h"
#include "skinwnd/forms/sMDIForm.h"

#include <iterator>

namespace {

using TMaker = TacMainWnd* (*)(QWidget*, bool, const std::string&, TsSkinManager*, TsCommonData*);

template <class T>
TacMainWnd* Make(QWidget* handle, bool scrollBars, const std::string& section, TsSkinManager* manager,
                 TsCommonData* skinData)
{
    return TacMainWnd::Create<T>(handle, scrollBars, section, manager, skinData);
}

struct TKindRow {
    TacAdapterKind Kind;
    const char* Name;
    TMaker Maker; // nullptr: the class is not built
};

using K = TacAdapterKind;
constexpr TKindRow Kinds[] = {
    {K::MainWnd, "TacMainWnd", Make<TacMainWnd>},
    {K::StaticWnd, "TacStaticWnd", nullptr},
    {K::IconWnd, "TacIconWnd", nullptr},
    {K::LinkWnd, "TacLinkWnd", nullptr},
    {K::BtnWnd, "TacBtnWnd", nullptr},
    {K::BitBtnWnd, "TacBitBtnWnd", nullptr},
    {K::SizerWnd, "TacSizerWnd", nullptr},
    {K::SpinWnd, "TacSpinWnd", nullptr},
    {K::CheckBoxWnd, "TacCheckBoxWnd", nullptr},
    {K::ToolBarWnd, "TacToolBarWnd", nullptr},
    {K::TransPanelWnd, "TacTransPanelWnd", nullptr},
    {K::GroupBoxWnd, "TacGroupBoxWnd", nullptr},
    {K::PanelWnd, "TacPanelWnd", nullptr},
    {K::DlgPanelWnd, "TacDlgPanelWnd", nullptr},
    {K::ScrollWnd, "TacScrollWnd", nullptr},
    {K::MnuWnd, "TacMnuWnd", nullptr},
    {K::BaseWnd, "TacBaseWnd", nullptr},
    {K::MDIWnd, "TacMDIWnd", Make<TacMDIWnd>},
    {K::EditWnd, "TacEditWnd", nullptr},
    {K::ComboListWnd, "TacComboListWnd", nullptr},
    {K::ListViewWnd, "TacListViewWnd", nullptr},
    {K::GridWnd, "TacGridWnd", nullptr},
    {K::GridEhWnd, "TacGridEhWnd", nullptr},
    {K::TreeViewWnd, "TacTreeViewWnd", nullptr},
    {K::ComboBoxWnd, "TacComboBoxWnd", nullptr},
    {K::WWComboBoxWnd, "TacWWComboBoxWnd", nullptr},
    {K::VirtualTreeViewWnd, "TacVirtualTreeViewWnd", nullptr},
    {K::TabControlWnd, "TacTabControlWnd", Make<TacTabControlWnd>},
    {K::PageControlWnd, "TacPageControlWnd", Make<TacPageControlWnd>},
    {K::PageWnd, "TacPageWnd", Make<TacPageWnd>},
    {K::ToolBarVCLWnd, "TacToolBarVCLWnd", nullptr},
    {K::StatusBarWnd, "TacStatusBarWnd", nullptr},
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
    const TMaker make = Row(kind).Maker ? Row(kind).Maker : Make<TacMainWnd>;
    return make(handle, scrollBars, skinSection, manager, skinData);
}

QObject* CreateSpeedButtonHandler(QWidget*, TsCommonData*, TsSkinManager*) { return nullptr; }
