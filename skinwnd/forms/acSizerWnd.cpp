#include "skinwnd/forms/acSizerWnd.h"

#include "skin/acMaskPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QSizeGrip>

TacSizerWnd::TacSizerWnd(QSizeGrip* grip, const std::string& skinSection, TsSkinManager* manager,
                         TsCommonData* skinData)
    : TacMainWnd(grip, false, skinSection.empty() ? "CHECKBOX" : skinSection, manager, skinData)
{
}

bool TacSizerWnd::Paint()
{
    QWidget* w = WndHandle();
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TsMaskData* grip = SectionMask(m, "GLOBALINFO", "GRIPIMAGE");
    if (!grip)
        return false;
    // A work bitmap: what lies under the grip, then the grip image.
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(w->width(), w->height());
    FillParentBackground(work, {0, 0, w->width(), w->height()}, GetParentCacheOfWindow(w));
    const int gw = MaskFrameWidth(*grip), gh = MaskFrameHeight(*grip);
    DrawSkinGlyph(work, {w->width() - gw, w->height() - gh}, 0, MakeCacheInfo(&work), *grip, 1);
    CopyCacheToWindow(w, work);
    return true;
}

bool TacSizerWnd::WndProc(QEvent* event)
{
    QWidget* w = WndHandle();
    if (!w || !AdapterSkinned(SkinData()) || event->type() == SkinCommandEventType())
        return TacMainWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::Paint:
        if (Paint())
            return true;
        break;
    case QEvent::Enter:
        // The grip is never the hot control.
        if (DefaultSkinManager && w->isEnabled())
            DefaultSkinManager->SetActiveControl(nullptr);
        break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}
