#pragma once
// The adapter of a tree view: the edit adapter's frame, bars and font
// colour, with the section's own colour (the system window colour in a
// dialog) as the background whatever the tree's state.
#include "skinwnd/forms/acEditWnd.h"

class TacTreeViewWnd : public TacEditWnd {
public:
    TacTreeViewWnd(QWidget* handle, bool scrollBars = true, const std::string& skinSection = {},
                   TsSkinManager* manager = nullptr, TsCommonData* skinData = nullptr);

    void ApplySkinColors() override;
};
