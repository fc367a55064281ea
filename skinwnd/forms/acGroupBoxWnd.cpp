#include "skinwnd/forms/acGroupBoxWnd.h"

#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QGroupBox>

TacGroupBoxWnd::TacGroupBoxWnd(QGroupBox* box, const std::string& skinSection, TsSkinManager* manager,
                               TsCommonData* skinData)
    : TacMainWnd(box, false, skinSection.empty() ? "GROUPBOX" : skinSection, manager, skinData)
{
}

TRect TacGroupBoxWnd::CaptionRect(int textWidth, int textHeight, int windowWidth)
{
    return {6, 0, std::min(textWidth + 14, windowWidth - 1), LargerOf(4, textHeight) + 2};
}

TRect TacGroupBoxWnd::CaptionRect() const
{
    QWidget* w = WndHandle();
    const std::string caption = WindowCaption(w);
    const TPoint size = MeasureText(w->font(), caption, 0, DT_SINGLELINE);
    return CaptionRect(caption.empty() ? 0 : size.X, size.Y, w->width());
}

void TacGroupBoxWnd::PrepareCache()
{
    TsCommonData& sd = *SkinData();
    QWidget* w = WndHandle();
    const TacWndGeometry g = SizeCacheToWindow(sd, w);
    TBitmap& cache = *sd.CacheBmp;
    const TCacheInfo parent = GetParentCacheOfWindow(w);
    const TRect caption = CaptionRect();
    const int band = caption.Height() / 2;
    FillParentBackground(cache, {0, 0, g.Width, band}, parent);
    PaintControlItem(sd, parent, true, 0, {0, band, g.Width, g.Height}, {0, band}, cache);
    const std::string text = WindowCaption(w);
    if (!text.empty()) {
        FillParentBackground(cache, caption, parent);
        WriteControlText(cache, text, w->isEnabled(), caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE, &sd, w,
                         false, w->font());
    }
    sd.BGChanged = false;
}

bool TacGroupBoxWnd::WndProc(QEvent* event)
{
    auto* w = qobject_cast<QGroupBox*>(WndHandle());
    // A box with a check in its title keeps its own look: the skin's caption
    // has no place for the check.
    if (!w || w->isCheckable() || !AdapterSkinned(SkinData()))
        return TacMainWnd::WndProc(event);
    if (event->type() == SkinCommandEventType()) {
        auto& m = static_cast<TSkinCommandEvent&>(*event);
        if (m.SubCode() != AC_GETMANAGER)
            return TacMainWnd::WndProc(event);
        m.Result = CaptionRect().Height();
        return true;
    }
    HandleCommonMessage(event, SkinData());
    switch (event->type()) {
    case QEvent::Paint:
        PrepareCache();
        CopyCacheToWindow(w, *SkinData()->CacheBmp);
        return true;
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::Move: SkinData()->BGChanged = true; break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}
