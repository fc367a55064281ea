#include "skinwnd/forms/acCtrlAdapter.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sLabel.h"
#include "skin/forms/sSkinManager.h"
#include "skin/forms/sVclUtils.h"
#include "skinwnd/forms/acControlClasses.h"
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/sFrameAdapter.h"

#include <QLabel>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace {

using K = TacAdapterKind;
// The adapter kind of each class list, in list order.
constexpr std::array<TacAdapterKind, 17> ListKinds = {
    K::EditWnd,       K::BtnWnd,        K::BitBtnWnd,          K::CheckBoxWnd,    K::ComboBoxWnd,    K::GridWnd,
    K::GroupBoxWnd,   K::ListViewWnd,   K::PanelWnd,           K::TreeViewWnd,    K::WWComboBoxWnd,  K::GridEhWnd,
    K::VirtualTreeViewWnd, K::PageControlWnd, K::TabControlWnd, K::ToolBarVCLWnd, K::StatusBarWnd,
};
constexpr int SpeedButtonList = 17;

// Controls the library leaves alone: its own windows, and controls that
// are skinned already.
bool LeftAlone(QWidget* control)
{
    return IsLibraryWindow(control) || WindowAnswersCommand(control, AC_CTRLHANDLED);
}

bool IsSpeedButton(const QWidget* control) { return LibraryClassName(control) == "TSpeedButton"; }

// A fresh skin state for an item: the adapter's manager, no section yet.
std::unique_ptr<TsCommonData> ItemSkinData(TsSkinManager* manager)
{
    auto data = std::make_unique<TsCommonData>(nullptr, true);
    data->ControlTypeCode = 227;
    data->SetSkinManager(manager);
    return data;
}

} // namespace

TacAdapterItem::TacAdapterItem(TacCtrlAdapter* adapter, QWidget* control)
    : Adapter(adapter), Control(control), SkinData(ItemSkinData(adapter->Manager()))
{
}

TacAdapterItem::~TacAdapterItem() { FreeWndAdapter(); }

void TacAdapterItem::FreeWndAdapter() { ::FreeWndAdapter(WndAdapter); }

bool TacAdapterItem::AdapterDead() const { return !WndAdapter || WndAdapter->Detached; }

void TacAdapterItem::DoHook(QWidget* control)
{
    if (!control || !control->parentWidget() || LeftAlone(control))
        return;
    Control = control;
    SkinData->OwnerControl = control;
    SkinData->OwnerObject = control;
    const int list = Adapter->ListIndexOf(control, int(ListKinds.size()) - 1);
    if (list < 0)
        return;
    Kind = ListKinds[size_t(list)];
    // A copy: the adapter's constructor changes the skin data's section.
    const std::string section = SkinData->SkinSection();
    WndAdapter = CreateWndAdapter(Kind, control, true, section, Adapter->Manager(), SkinData.get());
}

TacGraphItem::TacGraphItem(TacCtrlAdapter* adapter, QWidget* control)
    : Adapter(adapter), Control(control), SkinData(ItemSkinData(adapter->Manager()))
{
}

TacGraphItem::~TacGraphItem() { delete Handler.data(); }

void TacGraphItem::DoHook(QWidget* control)
{
    Control = control;
    SkinData->OwnerControl = control;
    SkinData->OwnerObject = control;
    Handler = CreateSpeedButtonHandler(control, SkinData.get(), Adapter->Manager());
}

TacCtrlAdapter::TacCtrlAdapter(QWidget* form, TsSkinManagerComponent* manager, TacCtrlAdapterSettings settings)
    : form_(form), manager_(manager), settings_(std::move(settings))
{
}

TacCtrlAdapter::~TacCtrlAdapter()
{
    CleanItems();
    items_.clear();
    graphItems_.clear();
    for (const QPointer<TsFrameAdapter>& frame : frames_)
        delete frame.data();
    RestoreLabels();
}

TsSkinManagerComponent* TacCtrlAdapter::Manager() const { return manager_; }

int TacCtrlAdapter::ListIndexOf(const QWidget* control, int lastList) const
{
    if (!manager_ || !control)
        return -1;
    const std::vector<std::string> names = ListedClassNames(control);
    for (int list = 0; list <= lastList && list < int(manager_->ThirdLists.size()); ++list)
        for (const std::string& entry : manager_->ThirdLists[size_t(list)])
            if (std::find(names.begin(), names.end(), entry) != names.end())
                return list;
    return -1;
}

bool TacCtrlAdapter::AskOnSkinItem(QWidget* control, std::string& section)
{
    bool canBeAdded = true;
    if (settings_.OnSkinItem)
        settings_.OnSkinItem(control, canBeAdded, section);
    return canBeAdded;
}

bool TacCtrlAdapter::IsControlSupported(QWidget* control)
{
    if (!control || LeftAlone(control))
        return false;
    const bool listed = ListIndexOf(control, SpeedButtonList) >= 0;
    if (qobject_cast<QLabel*>(control) || TsFrameAdapter::IsFrame(control) || (IsSpeedButton(control) && listed)) {
        std::string section;
        return AskOnSkinItem(control, section);
    }
    return listed && !IsSpeedButton(control);
}

void TacCtrlAdapter::AdaptControls(QWidget* parent)
{
    if (!manager_ || !(manager_->SkinningRules & srThirdParty) || walking_)
        return;
    walking_ = true;
    CleanItems();
    Walk(parent ? parent : form_.data());
    walking_ = false;
}

void TacCtrlAdapter::Walk(QWidget* parent)
{
    for (QWidget* child : ChildControls(parent)) {
        // The library's own windows are left alone with all they hold.
        if (IsLibraryWindow(child))
            continue;
        if (IsControlSupported(child)) {
            if (auto* label = qobject_cast<QLabel*>(child))
                RecolourLabel(label);
            else if (IsSpeedButton(child))
                AddGraphControl(child);
            else
                AddControl(child, {});
        }
        // A frame with its adapter adapts what it holds itself.
        if (TsFrameAdapter::IsFrame(child) && WindowAnswersCommand(child, AC_CTRLHANDLED))
            continue;
        Walk(child);
    }
}

void TacCtrlAdapter::AddControl(QWidget* control, const std::string& section)
{
    if (!control || !control->parentWidget() || LeftAlone(control))
        return;
    std::string skinSection = section;
    if (!AskOnSkinItem(control, skinSection))
        return;
    if (TsFrameAdapter::IsFrame(control)) {
        AddFrame(control);
        return;
    }
    auto found = std::find_if(items_.begin(), items_.end(), [control](const auto& i) { return i->Control == control; });
    const bool isNew = found == items_.end();
    if (isNew) {
        items_.push_back(std::make_unique<TacAdapterItem>(this, control));
        found = items_.end() - 1;
    }
    TacAdapterItem& item = **found;
    // An empty section would read as "UNKNOWN" and leave the control
    // unskinned; without one the adapter kind's own section applies.
    if (!skinSection.empty())
        item.SkinData->SetSkinSection(skinSection);
    if (!isNew) {
        if (item.WndAdapter && item.WndAdapter->Detached) {
            item.FreeWndAdapter();
            item.DoHook(control);
        }
        return;
    }
    item.DoHook(control);
    if (!item.WndAdapter)
        items_.pop_back();
}

void TacCtrlAdapter::AddFrame(QWidget* frame)
{
    // The frame adapter paints the frame and answers for it from now on;
    // it goes with the frame, or with this adapter.
    auto* adapter = new TsFrameAdapter(frame);
    adapter->ChildSettings = settings_;
    adapter->SkinData()->SetSkinManager(Manager());
    adapter->SkinData()->SetSkinSection("GROUPBOX");
    frames_.emplace_back(adapter);
    adapter->Loaded();
}

void TacCtrlAdapter::AddGraphControl(QWidget* control)
{
    if (!control || !control->parentWidget() || LeftAlone(control))
        return;
    std::string section = "SPEEDBUTTON";
    if (!AskOnSkinItem(control, section))
        return;
    auto found = std::find_if(graphItems_.begin(), graphItems_.end(),
                              [control](const auto& i) { return i->Control == control; });
    const bool isNew = found == graphItems_.end();
    if (isNew) {
        graphItems_.push_back(std::make_unique<TacGraphItem>(this, control));
        found = graphItems_.end() - 1;
    }
    TacGraphItem& item = **found;
    auto* button = qobject_cast<QToolButton*>(control);
    item.SkinData->SetSkinSection(button && button->autoRaise() ? "SPEEDBUTTON_SMALL" : "SPEEDBUTTON");
    if (!isNew) {
        if (item.HandlerDead()) {
            delete item.Handler.data();
            item.DoHook(control);
        }
        return;
    }
    item.DoHook(control);
    if (!item.Handler)
        graphItems_.pop_back();
}

TacAdapterItem* TacCtrlAdapter::GetItem(int index) const
{
    return index >= 0 && index < Count() ? items_[size_t(index)].get() : nullptr;
}

TacGraphItem* TacCtrlAdapter::GetGraphItem(int index) const
{
    return index >= 0 && index < GraphCount() ? graphItems_[size_t(index)].get() : nullptr;
}

void TacCtrlAdapter::RemoveItem(int index)
{
    if (index < 0 || index >= Count())
        return;
    if (index != Count() - 1)
        items_[size_t(index)] = std::move(items_.back());
    items_.pop_back();
}

void TacCtrlAdapter::BroadcastMessage(uint16_t subCode, uint16_t low, intptr_t lParam)
{
    // A receiver may change the items: the controls are taken first.
    std::vector<QPointer<QWidget>> controls;
    for (const auto& item : items_)
        if (!item->AdapterDead() && item->Control && item->Control->parentWidget())
            controls.push_back(item->Control);
    for (const QPointer<QWidget>& control : controls)
        if (control)
            SendSkinCommand(control, subCode, low, lParam);
}

void TacCtrlAdapter::CleanItems()
{
    items_.erase(std::remove_if(items_.begin(), items_.end(), [](const auto& i) { return i->AdapterDead(); }),
                 items_.end());
    graphItems_.erase(std::remove_if(graphItems_.begin(), graphItems_.end(),
                                     [](const auto& i) { return i->HandlerDead(); }),
                      graphItems_.end());
}

void TacCtrlAdapter::RecolourLabel(QLabel* label)
{
    // The library's labels take the skin's colour themselves; Tag 98 marks
    // a label that keeps its own.
    if (qobject_cast<TsCustomLabel*>(label) || label->property("Tag").toInt() == 98 || !DefaultSkinManager)
        return;
    // A skin without a global text colour has none to give.
    const TColor color = DefaultSkinManager->GlobalFontColor();
    if (color == clFuchsia)
        return;
    const bool known = std::any_of(labels_.begin(), labels_.end(), [label](const TLabelState& s) { return s.Label == label; });
    if (!known)
        labels_.push_back({label, label->palette(), label->testAttribute(Qt::WA_SetPalette), label->autoFillBackground()});
    label->setAutoFillBackground(false);
    SetFontColor(label, color);
}

void TacCtrlAdapter::RestoreLabels()
{
    for (const TLabelState& s : labels_)
        if (s.Label) {
            s.Label->setPalette(s.OwnPalette ? s.Palette : QPalette());
            s.Label->setAutoFillBackground(s.AutoFill);
        }
    labels_.clear();
}
