#include "skinwnd/forms/acSpinWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"

#include <QAbstractSpinBox>
#include <QEvent>

TacSpinWnd::TacSpinWnd(QAbstractSpinBox* spin, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : TacMainWnd(spin, false, skinSection.empty() ? "SPEEDBUTTON_SMALL" : skinSection, manager, skinData),
      TacSpinButtons(spin)
{
}

bool TacSpinWnd::WndProc(QEvent* event)
{
    QWidget* w = WndHandle();
    TsCommonData& sd = *SkinData();
    // Skinned also when the skin lacks the section: "BUTTON" stands in.
    if (!w || !CanPaint(sd.GetSkinManager(), sd.SkinIndex) || event->type() == SkinCommandEventType())
        return TacMainWnd::WndProc(event);
    if (TrackMouse(event))
        w->update();
    if (event->type() != QEvent::Paint)
        return TacMainWnd::WndProc(event);
    // The spin box paints its frame and edit first; the buttons go on top.
    static_cast<QObject*>(w)->event(event);
    sd.PrepareCacheBmp();
    PaintButtons(*sd.CacheBmp, sd.GetSkinManager(), sd.SkinSection(), IsVertical());
    sd.BGChanged = false;
    return true;
}
