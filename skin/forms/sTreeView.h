#pragma once
// The skinned tree view: a tree widget with skin state and a bound caption
// label. Without a skin manager it behaves as a plain tree widget, apart
// from the skin bookkeeping (section "EDIT", type code 96, frame redraws on
// focus changes, answers to the library's queries).
#include "skin/forms/sCommonData.h"

#include <QTreeWidget>
#include <memory>

class TsTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TsTreeView(QWidget* parent = nullptr);
    ~TsTreeView() override;

    TsCommonData* SkinData() const { return skinData_.get(); }
    TsBoundLabel* BoundLabel() const { return boundLabel_.get(); }

    // Completes construction once the tree sits in its form.
    void Loaded();

protected:
    bool event(QEvent* e) override;
    // Right clicks arrive at the viewport.
    bool viewportEvent(QEvent* e) override;

private:
    // Takes colours from the skin section when skinned; the window adapter
    // of the skinned scroll bars comes with form skinning.
    void ApplySectionColors();
    void UpdateTreeViewWnd();

    std::unique_ptr<TsCommonData> skinData_;
    std::unique_ptr<TsBoundLabel> boundLabel_;
};
