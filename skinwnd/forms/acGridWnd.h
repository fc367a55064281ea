#pragma once
// The adapter of a table view: the edit adapter's frame, bars and colours,
// and the fixed cells (the headers) in the skin's global colours. Lines and
// selection keep the table's own colours.
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acSavedPalette.h"

#include <vector>

class TacGridWnd : public TacEditWnd {
public:
    TacGridWnd(QWidget* handle, bool scrollBars = true, const std::string& skinSection = {},
               TsSkinManager* manager = nullptr, TsCommonData* skinData = nullptr);

    void SaveColors() override;
    void RestoreColors() override;
    void ApplySkinColors() override;

private:
    std::vector<QWidget*> FixedParts() const;

    std::vector<TacSavedPalette> fixed_;
};
