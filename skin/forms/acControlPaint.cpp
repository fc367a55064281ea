#include "skin/forms/acControlPaint.h"

#include "skin/acBorderPaint.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sVclUtils.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

// Lets a control paint its own background into the asker's target.
void RenderBackground(QWidget* control, TBackgroundInfo& info)
{
    TBitmap& dc = *info.DC;
    if (dc.Empty() || (dc.PixelFormat() != pf24bit && dc.PixelFormat() != pf32bit))
        return;
    QImage image(dc.ScanLine(0), dc.Width(), dc.Height(), qsizetype(dc.BytesPerScanline()),
                 dc.PixelFormat() == pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setClipRect(QRect(info.R.Left, info.R.Top, info.R.Width(), info.R.Height()));
    control->render(&painter, QPoint(-info.OffsetX, -info.OffsetY), QRegion(), QWidget::DrawWindowBackground);
}

} // namespace

bool GetControlBackground(TBackgroundInfo& info, QWidget* control, bool paint)
{
    const bool wantedPaint = info.PleaseDraw;
    info.BgType = 0;
    info.PleaseDraw = paint;
    if (!control)
        return false;
    SendSkinCommand(control, AC_GETBG, 0, reinterpret_cast<intptr_t>(&info));
    if (info.BgType != 0)
        return true;
    if (wantedPaint && info.DC) {
        RenderBackground(control, info);
        return false;
    }
    const TColor answer = TColor(SendSkinCommand(control, AC_GETBGCOLOR));
    info.Color = answer != 0 ? answer : ControlColor(control);
    info.BgType = 1;
    if (info.PleaseDraw && info.DC)
        info.DC->FillRect(info.R, info.Color);
    return false;
}

void PaintControlBackground(TsCommonData& sd, const TCacheInfo& cache, int state, TBitmap& bmp, TPoint point,
                            const TRect& rect)
{
    QWidget* owner = sd.OwnerControl;
    const TColor color = sd.CustomColor() && owner ? ControlColor(owner) : clFuchsia;
    PaintSectionBackground(sd.SkinIndex, sd.SkinSection(), cache, color, sd.HotTexture, sd.Texture,
                           sd.GetSkinManager(), bmp, point, rect, state);
}

void PaintControlItem(TsCommonData& sd, const TCacheInfo& cache, bool fillCentre, int state, const TRect& rect,
                      TPoint point, TBitmap& bmp)
{
    TsSkinManager* m = sd.GetSkinManager();
    const TacSkinContent* skin = m ? m->Content() : nullptr;
    if (!skin || !skin->IsValidSkinIndex(sd.SkinIndex))
        return;
    PaintControlBackground(sd, cache, state, bmp, point, rect);
    if (const TsMaskData* border = m->Mask(sd.BorderIndex); border && (state != 0 || !(border->StretchMode & 2))) {
        TCacheInfo shifted = cache;
        shifted.X += point.X;
        shifted.Y += point.Y;
        DrawSkinMask(bmp, rect, fillCentre, *border, state, true, shifted);
    }
    // The corners come after the border here; their see-through pixels
    // keep what is painted.
    const TsGeneralData& s = skin->gd[size_t(sd.SkinIndex)];
    const TCacheInfo self = {&bmp, 0, 0, clFuchsia, true};
    auto corner = [&](int index, bool right, bool bottom) {
        if (const TsMaskData* c = m->Mask(index))
            DrawSkinGlyph(bmp, {right ? rect.Right - MaskFrameWidth(*c) : rect.Left,
                                bottom ? rect.Bottom - MaskFrameHeight(*c) : rect.Top},
                          state, self, *c, 1);
    };
    corner(s.ImgTopLeft, false, false);
    corner(s.ImgTopRight, true, false);
    corner(s.ImgBottomLeft, false, true);
    corner(s.ImgBottomRight, true, true);
}

namespace {

// A container that paints nothing of its own (no filled or styled
// background, no skin) lets what lies under it show through; its colour
// would paint a box around every control in it.
bool SeeThrough(QWidget* w)
{
    return !w->isWindow() && w->parentWidget() && !w->autoFillBackground()
           && !w->testAttribute(Qt::WA_StyledBackground) && !w->testAttribute(Qt::WA_OpaquePaintEvent)
           && !WindowAnswersCommand(w, AC_CTRLHANDLED);
}

} // namespace

TBackgroundInfo ParentBackgroundOf(QWidget* control)
{
    TBackgroundInfo info;
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return info;
    QPoint at = control->pos();
    while (SeeThrough(parent)) {
        at += parent->pos();
        parent = parent->parentWidget();
    }
    GetControlBackground(info, parent, false);
    if (info.BgType == 2) {
        info.OffsetX += at.x();
        info.OffsetY += at.y();
    }
    return info;
}

namespace {

TBackgroundInfo ParentBackground(TsCommonData& sd) { return ParentBackgroundOf(sd.OwnerControl); }

} // namespace

void PaintBorderMaskCorners(TsCommonData& sd, int state, unsigned corners)
{
    TsSkinManager* m = sd.GetSkinManager();
    const TsMaskData* border = m ? m->Mask(sd.BorderIndex) : nullptr;
    QWidget* owner = sd.OwnerControl;
    if (!border || !sd.CacheBmp || !owner || owner->width() < 2 || owner->height() < 2)
        return;
    RestoreBorderCorners(*sd.CacheBmp, owner->width(), owner->height(), *border, state, corners,
                         ParentBackground(sd));
}

void PaintBorderMask(TsCommonData& sd, int state) { PaintBorderMaskCorners(sd, state, bcAll); }

TRect PaintControlBorder(TBitmap& target, const TRect& r, int borderWidth, int state, TsCommonData& sd)
{
    const TColor color = sd.GetBackgroundColor(state != 0);
    TsSkinManager* m = sd.GetSkinManager();
    const TsMaskData* border = m ? m->Mask(sd.BorderIndex) : nullptr;
    const TBackgroundInfo parent = ParentBackground(sd);
    const bool hasParent = sd.OwnerControl && sd.OwnerControl->parentWidget();
    if (!border)
        return PaintControlBorder(target, target, r, borderWidth, state, nullptr, color, nullptr);
    sd.InitCacheBmp();
    if (!sd.CacheBmp)
        return r;
    return PaintControlBorder(target, *sd.CacheBmp, r, borderWidth, state, border, color,
                              hasParent ? &parent : nullptr);
}
