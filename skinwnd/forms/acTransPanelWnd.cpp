#include "skinwnd/forms/acTransPanelWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

TacTransPanelWnd::TacTransPanelWnd(QWidget* container, const std::string& skinSection, TsSkinManager* manager,
                                   TsCommonData* skinData)
    : TacMainWnd(container, false, skinSection.empty() ? "CHECKBOX" : skinSection, manager, skinData)
{
}

void TacTransPanelWnd::PaintWindow()
{
    QWidget* w = WndHandle();
    SkinData()->BGChanged = true;
    PrepareAdapterCache(SkinData(), w, false);
    CopyCacheToWindow(w, *SkinData()->CacheBmp);
}

bool TacTransPanelWnd::WndProc(QEvent* event)
{
    if (WndHandle() && event->type() == QEvent::Paint && AdapterSkinned(SkinData())) {
        PaintWindow();
        return true;
    }
    return TacMainWnd::WndProc(event);
}
