#pragma once
// The control adapter of a skinned form: it walks the form's controls and
// puts a window adapter on each control whose class the skin manager's
// class lists name (the list decides the kind of adapter), gives frames
// (widgets marked as TsFrameAdapter::FrameProperty) a frame adapter, lets
// plain labels take the skin's text colour, and takes controls added later.
// Controls marked as the library's own (Tag -98) and controls already
// skinned (they answer command 7) are left alone. Nothing is adapted
// unless the manager's rules hold srThirdParty.
//
// The form's skin provider owns it and
// - makes it when the form is skinned at run time (the form is loaded with
//   a skin, or sub-code 1 arrives while none exists) and lets it walk the
//   whole form: AdaptControls(nullptr);
// - hands it each control added later: AddNewItem(child) for a child the
//   form gets (QEvent::ChildPolished on the form); for sub-code 25 with a
//   control AddNewItem(control) then AdaptControls(control), with 0
//   AdaptControls(nullptr);
// - on sub-code 3 with its manager: AdaptControls(nullptr), then
//   BroadcastMessage(AC_REFRESH, 0, manager);
// - on sub-code 2 with its manager: BroadcastMessage(AC_REMOVESKIN, 0,
//   manager), then deletes it: every adapter it made is detached, every
//   frame adapter it made deleted and every label it recoloured gets its
//   own palette back.
#include "skinwnd/forms/acAdapterFactory.h"

#include <QPalette>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class TacCtrlAdapter;
class TacMainWnd;
class TsCommonData;
class TsFrameAdapter;
class TsSkinManagerComponent;

// What the control adapter takes from its provider.
struct TacCtrlAdapterSettings {
    // Asked before a control is skinned (CanBeAdded true, the section the
    // adapter would give): may refuse the control or change its section.
    std::function<void(QWidget* item, bool& canBeAdded, std::string& skinSection)> OnSkinItem;
};

// One adapted control: its skin state and its window adapter.
class TacAdapterItem {
public:
    TacAdapterItem(TacCtrlAdapter* adapter, QWidget* control);
    ~TacAdapterItem();
    TacAdapterItem(const TacAdapterItem&) = delete;
    TacAdapterItem& operator=(const TacAdapterItem&) = delete;

    // Chooses the adapter kind by the class lists and makes the adapter;
    // none for a control in no list.
    void DoHook(QWidget* control);
    void FreeWndAdapter();
    // The window adapter is missing or was detached (its window died).
    bool AdapterDead() const;

    TacCtrlAdapter* Adapter;
    QPointer<QWidget> Control;
    std::unique_ptr<TsCommonData> SkinData;
    TacMainWnd* WndAdapter = nullptr; // owned
    TacAdapterKind Kind = TacAdapterKind::MainWnd;
};

// One tool button outside tool bars, painted by a handler rather than an
// adapter.
class TacGraphItem {
public:
    TacGraphItem(TacCtrlAdapter* adapter, QWidget* control);
    ~TacGraphItem();
    TacGraphItem(const TacGraphItem&) = delete;
    TacGraphItem& operator=(const TacGraphItem&) = delete;

    void DoHook(QWidget* control);
    bool HandlerDead() const { return !Handler || !Control; }

    TacCtrlAdapter* Adapter;
    QPointer<QWidget> Control;
    std::unique_ptr<TsCommonData> SkinData;
    QPointer<QObject> Handler; // owned
};

class TacCtrlAdapter {
public:
    TacCtrlAdapter(QWidget* form, TsSkinManagerComponent* manager, TacCtrlAdapterSettings settings = {});
    ~TacCtrlAdapter();
    TacCtrlAdapter(const TacCtrlAdapter&) = delete;
    TacCtrlAdapter& operator=(const TacCtrlAdapter&) = delete;

    // Adapts the controls under parent (the form for nullptr), all levels.
    void AdaptControls(QWidget* parent);
    bool IsControlSupported(QWidget* control);
    void AddNewItem(QWidget* control) { AddControl(control, DefaultSection); }
    // An empty section leaves the adapter kind's own section to apply.
    void AddControl(QWidget* control, const std::string& section);
    void AddGraphControl(QWidget* control);
    int Count() const { return int(items_.size()); }
    // nullptr outside 0 .. Count() - 1.
    TacAdapterItem* GetItem(int index) const;
    int GraphCount() const { return int(graphItems_.size()); }
    TacGraphItem* GetGraphItem(int index) const;
    // Frees the item; the last item takes its place.
    void RemoveItem(int index);
    // The command to the control of every item with a live adapter.
    void BroadcastMessage(uint16_t subCode, uint16_t low, intptr_t lParam);
    // Drops the items whose adapter or handler is gone; the order stays.
    void CleanItems();

    // The first list (0 .. lastList) that names the control; -1 for none.
    int ListIndexOf(const QWidget* control, int lastList) const;

    QWidget* Form() const { return form_; }
    TsSkinManagerComponent* Manager() const;

    std::string DefaultSection;

private:
    struct TLabelState {
        QPointer<QWidget> Label;
        QPalette Palette;
        bool OwnPalette;
        bool AutoFill;
    };

    void Walk(QWidget* parent);
    bool AskOnSkinItem(QWidget* control, std::string& section);
    // A frame adapter on the frame, in the frames' section "GROUPBOX".
    void AddFrame(QWidget* frame);
    void RecolourLabel(QLabel* label);
    void RestoreLabels();

    QPointer<QWidget> form_;
    QPointer<TsSkinManagerComponent> manager_;
    TacCtrlAdapterSettings settings_;
    std::vector<std::unique_ptr<TacAdapterItem>> items_;
    std::vector<std::unique_ptr<TacGraphItem>> graphItems_;
    std::vector<TLabelState> labels_;
    std::vector<QPointer<TsFrameAdapter>> frames_;
    bool walking_ = false;
};
