#include "skinwnd/forms/acPanelWnd.h"

#include "skin/acMaskPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QFrame>

TacPanelWnd::TacPanelWnd(QFrame* frame, const std::string& skinSection, TsSkinManager* manager,
                         TsCommonData* skinData)
    : TacMainWnd(frame, false, skinSection.empty() ? FrameSection(frame) : skinSection, manager, skinData)
{
}

std::string TacPanelWnd::PanelSection(TacBevel outer, TacBevel inner, bool hasBorder)
{
    switch (outer) {
    case bvLowered: return inner == bvRaised ? "GROUPBOX" : "PANEL_LOW";
    case bvRaised: return inner == bvLowered ? "GROUPBOX" : "PANEL";
    default: return hasBorder ? "PANEL_LOW" : "CHECKBOX";
    }
}

std::string TacPanelWnd::FrameSection(const QFrame* frame)
{
    if (!frame)
        return "CHECKBOX";
    const bool border = frame->frameShape() != QFrame::NoFrame;
    TacBevel outer = bvNone;
    if (border && frame->frameShadow() == QFrame::Sunken)
        outer = bvLowered;
    else if (border && frame->frameShadow() == QFrame::Raised)
        outer = bvRaised;
    return PanelSection(outer, bvNone, border);
}

void TacPanelWnd::PrepareCache()
{
    TsCommonData& sd = *SkinData();
    QWidget* w = WndHandle();
    const TacWndGeometry g = SizeCacheToWindow(sd, w);
    const TCacheInfo parent = GetParentCacheOfWindow(w);
    PaintControlItem(sd, parent, true, 0, {0, 0, g.Width, g.Height}, {0, 0}, *sd.CacheBmp);
    PaintBorderMaskCorners(sd, 0, bcAll);
    if (!w->isEnabled())
        ApplyWndDisabledLook(*sd.CacheBmp, parent);
    sd.BGChanged = false;
}

bool TacPanelWnd::AnswerCommand(QEvent* event)
{
    auto& m = static_cast<TSkinCommandEvent&>(*event);
    QWidget* w = WndHandle();
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
    case AC_REFRESH: {
        // The manager's broadcast reaches the children itself.
        const bool handled = TacMainWnd::WndProc(event);
        SkinData()->BGChanged = true;
        w->update();
        return handled;
    }
    case AC_REMOVESKIN:
        SkinData()->SkinIndex = -1;
        return TacMainWnd::WndProc(event);
    case AC_CHECKUPDATING:
        SkinData()->Updating = false;
        w->update();
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_PREPARECACHE: return true;
    default: return TacMainWnd::WndProc(event);
    }
}

bool TacPanelWnd::WndProc(QEvent* event)
{
    QWidget* w = WndHandle();
    if (!w)
        return false;
    if (event->type() == SkinCommandEventType())
        return AdapterSkinned(SkinData()) ? AnswerCommand(event) : TacMainWnd::WndProc(event);
    if (!AdapterSkinned(SkinData()))
        return TacMainWnd::WndProc(event);
    HandleCommonMessage(event, SkinData());
    switch (event->type()) {
    case QEvent::Paint:
        PaintWndFromCache(w, *SkinData(), [this] { PrepareCache(); });
        return true;
    case QEvent::EnabledChange:
    case QEvent::Move: SkinData()->BGChanged = true; break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}
