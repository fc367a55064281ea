#pragma once
// The skinned tree view: a tree widget with skin state and a bound caption
// label. Without a skin manager it behaves as a plain tree widget, apart
// from the skin bookkeeping (section "EDIT", type code 96, frame redraws on
// focus changes, answers to the library's queries).
#include "skin/forms/sCommonData.h"

#include <QTreeWidget>
#include <memory>

// The window adapter that paints a skinned tree's frame and scroll bars
// belongs to the window skinning, which this library does not know: that
// layer sets these when it is linked in; while they are unset a tree gets
// no adapter.
struct TacTreeViewWndHooks {
    // Keeps the adapter in step with the skin state: made while skinned
    // (one that lost its window is made again), freed when not.
    void (*Update)(TsCommonData* skinData, QObject*& wnd) = nullptr;
    void (*Free)(QObject*& wnd) = nullptr;
};
extern TacTreeViewWndHooks TreeViewWndHooks;

class TsTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TsTreeView(QWidget* parent = nullptr);
    ~TsTreeView() override;

    TsCommonData* SkinData() const { return skinData_.get(); }
    TsBoundLabel* BoundLabel() const { return boundLabel_.get(); }
    // The window adapter of the tree, or nullptr.
    QObject* WndAdapter() const { return wndAdapter_; }

    // Completes construction once the tree sits in its form.
    void Loaded();

protected:
    bool event(QEvent* e) override;
    // Right clicks arrive at the viewport.
    bool viewportEvent(QEvent* e) override;

private:
    // Takes colours from the skin section when skinned.
    void ApplySectionColors();
    void UpdateTreeViewWnd();
    void FreeTreeViewWnd();

    std::unique_ptr<TsCommonData> skinData_;
    std::unique_ptr<TsBoundLabel> boundLabel_;
    QObject* wndAdapter_ = nullptr; // owned, through the hooks
};
