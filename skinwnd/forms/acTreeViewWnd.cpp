#include "skinwnd/forms/acTreeViewWnd.h"

TacTreeViewWnd::TacTreeViewWnd(QWidget* handle, bool scrollBars, const std::string& skinSection,
                               TsSkinManager* manager, TsCommonData* skinData)
    : TacEditWnd(handle, scrollBars, skinSection, manager, skinData)
{
}

void TacTreeViewWnd::ApplySkinColors()
{
    TacEditWnd::ApplySkinColors();
    ApplySectionBackground();
}
