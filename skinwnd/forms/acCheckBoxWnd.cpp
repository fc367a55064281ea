#include "skinwnd/forms/acCheckBoxWnd.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acMaskPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QCheckBox>
#include <algorithm>
#include <QRadioButton>

TacCheckBoxWnd::TacCheckBoxWnd(QAbstractButton* button, const std::string& skinSection, TsSkinManager* manager,
                               TsCommonData* skinData)
    : TacMainWnd(button, false, skinSection.empty() ? "CHECKBOX" : skinSection, manager, skinData)
{
}

QAbstractButton* TacCheckBoxWnd::Button() const { return qobject_cast<QAbstractButton*>(WndHandle()); }

std::string TacCheckBoxWnd::GlyphMaskName(bool radio, int checkState)
{
    if (radio)
        return checkState == 1 ? "RADIOCHECKED" : "RADIOUNCHECKED";
    return checkState == 2 ? "BOXGRAYED" : checkState == 1 ? "BOXCHECKED" : "BOXUNCHECKED";
}

bool TacCheckBoxWnd::Hot() const
{
    const TsCommonData* sd = SkinData();
    const QAbstractButton* b = Button();
    return b && b->isEnabled() && (sd->Focused || b->hasFocus() || sd->MouseAbove);
}

int TacCheckBoxWnd::GlyphState() const
{
    if (Button() && Button()->isDown())
        return 2;
    return Hot() ? 1 : 0;
}

namespace {

// 0 unchecked, 1 checked, 2 the third state.
int CheckState(const QAbstractButton* b)
{
    if (const auto* box = qobject_cast<const QCheckBox*>(b))
        return box->checkState() == Qt::PartiallyChecked ? 2 : box->checkState() == Qt::Checked ? 1 : 0;
    return b->isChecked() ? 1 : 0;
}

} // namespace

TRect TacCheckBoxWnd::PaintGlyph(TBitmap& cache)
{
    QAbstractButton* b = Button();
    TsSkinManager* m = SkinData()->GetSkinManager();
    const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
    const TsMaskData* mask = SectionMask(m, "GLOBALINFO", GlyphMaskName(radio, CheckState(b)));
    // A missing glyph still takes its place in the layout.
    int w = 16, h = 16;
    if (mask) {
        const TacSkinContent& skin = *m->Content();
        skin.GetMaskFrameSize(int(mask - skin.ma.data()), w, h);
    }
    const bool leftText = b->isRightToLeft();
    const int x = leftText ? b->width() - w : 0, y = (b->height() - h) / 2;
    if (mask) {
        const TCacheInfo self = MakeCacheInfo(&cache);
        DrawSkinGlyph(cache, {x, y}, GlyphState(), self, *mask, 1);
    }
    return {x, y, x + w, y + h};
}

void TacCheckBoxWnd::PaintCaption(TBitmap& cache, const TRect& glyph)
{
    QAbstractButton* b = Button();
    const std::string caption = WindowCaption(b);
    if (caption.empty())
        return;
    const int available = b->width() - glyph.Width() - 2;
    const TPoint size = MeasureText(b->font(), caption, available, DT_SINGLELINE);
    const int top = std::max(0, (b->height() - size.Y) / 2);
    const int left = b->isRightToLeft() ? 2 : glyph.Right + 2;
    const TRect r{left, top - 1, left + std::min(size.X, available), top - 1 + size.Y};
    WriteControlText(cache, caption, b->isEnabled(), r, DT_SINGLELINE, SkinData(), b, Hot(), b->font());
    if (b->hasFocus())
        DrawDottedFrame(cache, {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
}

void TacCheckBoxWnd::PrepareCache()
{
    TsCommonData& sd = *SkinData();
    QAbstractButton* b = Button();
    const TacWndGeometry g = SizeCacheToWindow(sd, b);
    TBitmap& cache = *sd.CacheBmp;
    const TCacheInfo parent = GetParentCacheOfWindow(b);
    PaintControlItem(sd, parent, true, Hot() ? 1 : 0, {0, 0, g.Width, g.Height}, {0, 0}, cache);
    PaintCaption(cache, PaintGlyph(cache));
    if (!b->isEnabled())
        ApplyWndDisabledLook(cache, parent);
    sd.BGChanged = false;
}

bool TacCheckBoxWnd::WndProc(QEvent* event)
{
    QAbstractButton* b = Button();
    if (!b || !AdapterSkinned(SkinData()) || event->type() == SkinCommandEventType()) {
        if (b && event->type() == SkinCommandEventType()) {
            const uint16_t code = static_cast<TSkinCommandEvent*>(event)->SubCode();
            if (code == AC_MOUSEENTER || code == AC_MOUSELEAVE) {
                SkinData()->Updating = false;
                b->update();
            }
        }
        return TacMainWnd::WndProc(event);
    }
    HandleCommonMessage(event, SkinData());
    switch (event->type()) {
    case QEvent::Paint:
        SkinData()->Updating = SkinData()->GetUpdating();
        if (SkinData()->Updating)
            return true;
        SendSkinCommand(b->parentWidget(), AC_CHILDPAINT);
        PrepareCache();
        CopyCacheToWindow(b, *SkinData()->CacheBmp);
        return true;
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::FocusIn:
    case QEvent::FocusOut: b->update(); break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}
