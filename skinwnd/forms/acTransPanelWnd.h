#pragma once
// Containers without a look of their own (dialog pages and the like)
// painted by the skin's section, under their children.
#include "skinwnd/forms/acMainWnd.h"

class TacTransPanelWnd : public TacMainWnd {
public:
    TacTransPanelWnd(QWidget* container, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                     TsCommonData* skinData = nullptr);

protected:
    bool WndProc(QEvent* event) override;
    virtual void PaintWindow();
};
