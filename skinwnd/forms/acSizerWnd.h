#pragma once
// Size grips painted by the skin: the skin's grip image at the bottom-right
// corner over what lies under the grip.
#include "skinwnd/forms/acMainWnd.h"

class QSizeGrip;

class TacSizerWnd : public TacMainWnd {
public:
    TacSizerWnd(QSizeGrip* grip, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                TsCommonData* skinData = nullptr);

protected:
    bool WndProc(QEvent* event) override;

private:
    bool Paint();
};
