#include "skinwnd/forms/acSpinWnd.h"

#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QAbstractSpinBox>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>

TacSpinWnd::TacSpinWnd(QAbstractSpinBox* spin, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : TacMainWnd(spin, false, skinSection.empty() ? "SPEEDBUTTON_SMALL" : skinSection, manager, skinData)
{
}

TRect TacSpinWnd::ButtonsRect() const
{
    auto* spin = qobject_cast<QAbstractSpinBox*>(WndHandle());
    if (!spin || spin->buttonSymbols() == QAbstractSpinBox::NoButtons)
        return {0, 0, 0, 0};
    QStyleOptionSpinBox opt;
    opt.initFrom(spin);
    opt.frame = spin->hasFrame();
    opt.buttonSymbols = spin->buttonSymbols();
    opt.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame
                      | QStyle::SC_SpinBoxEditField;
    const QRect up = spin->style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, spin);
    const QRect down = spin->style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxDown, spin);
    const QRect both = up.united(down);
    return {both.left(), both.top(), both.right() + 1, both.bottom() + 1};
}

void TacSpinWnd::HalfStates(bool vertical, const TRect& b, bool inside, QPoint pos, bool mouseDown, int& first,
                            int& second)
{
    first = second = 0;
    const bool over = inside && pos.x() >= b.Left && pos.x() < b.Right && pos.y() >= b.Top && pos.y() < b.Bottom;
    if (!over)
        return;
    const bool inFirst = vertical ? pos.y() < (b.Top + b.Bottom) / 2 : pos.x() < (b.Left + b.Right) / 2;
    (inFirst ? first : second) = mouseDown ? 2 : 1;
}

void TacSpinWnd::PaintHalf(TBitmap& cache, const TRect& r, int state, bool first)
{
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TacSkinContent* skin = m->Content();
    // A skin without the section paints the halves as buttons.
    std::string section = SkinData()->SkinSection();
    int index = skin->GetSkinIndex(section);
    if (index < 0)
        index = skin->GetSkinIndex(section = "BUTTON");
    if (index < 0)
        return;
    TCacheInfo under = MakeCacheInfo(&cache);
    PaintSectionItem(index, section, under, true, state, r, {r.Left, r.Top}, &cache, m, -1, -1);
    const bool vertical = IsVertical();
    const char* arrow = vertical ? (first ? "SCROLLBTNTOP" : "SCROLLBTNBOTTOM") : (first ? "SCROLLBTNLEFT" : "SCROLLBTNRIGHT");
    if (const TsMaskData* glyph = SectionMask(m, arrow, "GLYPHMASK")) {
        const int gw = MaskFrameWidth(*glyph), gh = MaskFrameHeight(*glyph);
        DrawSkinGlyph(cache, {r.Left + (r.Width() - gw) / 2, r.Top + (r.Height() - gh) / 2}, state, under, *glyph, 1);
    }
}

void TacSpinWnd::PrepareCache(const TRect& b)
{
    TsCommonData& sd = *SkinData();
    sd.PrepareCacheBmp();
    TBitmap& cache = *sd.CacheBmp;
    cache.SetSize(b.Width(), b.Height());
    cache.FillRect({0, 0, b.Width(), b.Height()}, ControlColor(WndHandle()));
    const bool vertical = IsVertical();
    const int middle = vertical ? b.Height() / 2 : b.Width() / 2;
    const TRect first = vertical ? TRect{0, 0, b.Width(), middle} : TRect{0, 0, middle, b.Height()};
    const TRect second = vertical ? TRect{0, middle, b.Width(), b.Height()} : TRect{middle, 0, b.Width(), b.Height()};
    PaintHalf(cache, first, FirstState, true);
    PaintHalf(cache, second, SecondState, false);
    if (!WndHandle()->isEnabled())
        ApplyWndDisabledLook(cache, GetParentCacheOfWindow(WndHandle()));
    sd.BGChanged = false;
}

void TacSpinWnd::TrackMouse(QEvent* event)
{
    QWidget* w = WndHandle();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        MouseDown = event->type() == QEvent::MouseButtonPress;
        [[fallthrough]];
    case QEvent::MouseMove:
        mousePos_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        mouseInside_ = w->rect().contains(mousePos_);
        break;
    case QEvent::HoverMove:
        mousePos_ = static_cast<QHoverEvent*>(event)->position().toPoint();
        mouseInside_ = w->rect().contains(mousePos_);
        break;
    case QEvent::Enter:
        mouseInside_ = true;
        if (DefaultSkinManager && w->isEnabled())
            DefaultSkinManager->SetActiveControl(w);
        return;
    case QEvent::Leave:
        mouseInside_ = false;
        MouseDown = false;
        break;
    default: return;
    }
    w->update();
}

namespace {

// Skinned also when the skin lacks the section: "BUTTON" stands in.
bool SpinSkinned(const TsCommonData* sd)
{
    TsSkinManager* m = sd->GetSkinManager();
    return m && m->Active() && m->Content() && (m->IsValidSkinIndex(sd->SkinIndex) || m->GetSkinIndex("BUTTON") >= 0);
}

} // namespace

bool TacSpinWnd::WndProc(QEvent* event)
{
    QWidget* w = WndHandle();
    if (!w || !SpinSkinned(SkinData()) || event->type() == SkinCommandEventType())
        return TacMainWnd::WndProc(event);
    TrackMouse(event);
    if (event->type() != QEvent::Paint)
        return TacMainWnd::WndProc(event);
    // The spin box paints its frame and edit first; the buttons go on top.
    static_cast<QObject*>(w)->event(event);
    const TRect b = ButtonsRect();
    if (b.Width() > 0 && b.Height() > 0) {
        HalfStates(IsVertical(), b, mouseInside_, mousePos_, MouseDown, FirstState, SecondState);
        PrepareCache(b);
        CopyCacheToWindow(w, *SkinData()->CacheBmp, b.Left + (IsVertical() ? LeftOffset : 0), b.Top);
    }
    return true;
}
