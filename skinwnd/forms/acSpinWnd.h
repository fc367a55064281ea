#pragma once
// The up and down buttons of a spin box painted by the skin (see
// TacSpinButtons); the edit part keeps its own painting.
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acSpinButtons.h"

class QAbstractSpinBox;

class TacSpinWnd : public TacMainWnd, public TacSpinButtons {
public:
    TacSpinWnd(QAbstractSpinBox* spin, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
               TsCommonData* skinData = nullptr);

    virtual bool IsVertical() const { return true; }

protected:
    bool WndProc(QEvent* event) override;
};
