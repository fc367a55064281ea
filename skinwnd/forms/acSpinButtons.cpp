#include "skinwnd/forms/acSpinButtons.h"

#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QAbstractSpinBox>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>

TacSpinButtons::TacSpinButtons(QAbstractSpinBox* spin) : spin_(spin) {}

TRect TacSpinButtons::ButtonsRect() const
{
    QAbstractSpinBox* spin = spin_;
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

void TacSpinButtons::HalfStates(bool vertical, const TRect& b, bool inside, QPoint pos, bool mouseDown, int& first,
                                int& second)
{
    first = second = 0;
    const bool over = inside && pos.x() >= b.Left && pos.x() < b.Right && pos.y() >= b.Top && pos.y() < b.Bottom;
    if (!over)
        return;
    const bool inFirst = vertical ? pos.y() < (b.Top + b.Bottom) / 2 : pos.x() < (b.Left + b.Right) / 2;
    (inFirst ? first : second) = mouseDown ? 2 : 1;
}

bool TacSpinButtons::CanPaint(TsSkinManager* m, int sectionIndex)
{
    return m && m->Active() && m->Content() && (m->IsValidSkinIndex(sectionIndex) || m->GetSkinIndex("BUTTON") >= 0);
}

bool TacSpinButtons::TrackMouse(QEvent* event)
{
    QWidget* w = spin_;
    if (!w)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        MouseDown = event->type() == QEvent::MouseButtonPress;
        [[fallthrough]];
    case QEvent::MouseMove:
        mousePos_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        mouseInside_ = w->rect().contains(mousePos_);
        return true;
    case QEvent::HoverMove:
        mousePos_ = static_cast<QHoverEvent*>(event)->position().toPoint();
        mouseInside_ = w->rect().contains(mousePos_);
        return true;
    case QEvent::Enter:
        mouseInside_ = true;
        if (DefaultSkinManager && w->isEnabled())
            DefaultSkinManager->SetActiveControl(w);
        return false;
    case QEvent::Leave:
        mouseInside_ = false;
        MouseDown = false;
        return true;
    default: return false;
    }
}

void TacSpinButtons::PaintHalf(TBitmap& cache, const TRect& r, int state, bool first, TsSkinManager* m,
                               const std::string& spinSection, bool vertical)
{
    const TacSkinContent* skin = m->Content();
    // A skin without the section paints the halves as buttons.
    std::string section = spinSection;
    int index = skin->GetSkinIndex(section);
    if (index < 0)
        index = skin->GetSkinIndex(section = "BUTTON");
    if (index < 0)
        return;
    TCacheInfo under = MakeCacheInfo(&cache);
    PaintSectionItem(index, section, under, true, state, r, {r.Left, r.Top}, &cache, m, -1, -1);
    const char* arrow = vertical ? (first ? "SCROLLBTNTOP" : "SCROLLBTNBOTTOM") : (first ? "SCROLLBTNLEFT" : "SCROLLBTNRIGHT");
    if (const TsMaskData* glyph = SectionMask(m, arrow, "GLYPHMASK")) {
        const int gw = MaskFrameWidth(*glyph), gh = MaskFrameHeight(*glyph);
        DrawSkinGlyph(cache, {r.Left + (r.Width() - gw) / 2, r.Top + (r.Height() - gh) / 2}, state, under, *glyph, 1);
    }
}

void TacSpinButtons::PaintButtons(TBitmap& cache, TsSkinManager* m, const std::string& section, bool vertical)
{
    QWidget* w = spin_;
    const TRect b = ButtonsRect();
    if (!w || !m || !m->Content() || b.Width() <= 0 || b.Height() <= 0)
        return;
    // Nothing to paint them by: the spin box's own buttons stay.
    if (m->GetSkinIndex(section) < 0 && m->GetSkinIndex("BUTTON") < 0)
        return;
    HalfStates(vertical, b, mouseInside_, mousePos_, MouseDown, FirstState, SecondState);
    cache.SetPixelFormat(pf24bit);
    cache.SetSize(b.Width(), b.Height());
    cache.FillRect({0, 0, b.Width(), b.Height()}, ControlColor(w));
    const int middle = vertical ? b.Height() / 2 : b.Width() / 2;
    const TRect first = vertical ? TRect{0, 0, b.Width(), middle} : TRect{0, 0, middle, b.Height()};
    const TRect second = vertical ? TRect{0, middle, b.Width(), b.Height()} : TRect{middle, 0, b.Width(), b.Height()};
    PaintHalf(cache, first, FirstState, true, m, section, vertical);
    PaintHalf(cache, second, SecondState, false, m, section, vertical);
    if (!w->isEnabled())
        ApplyWndDisabledLook(cache, GetParentCacheOfWindow(w));
    CopyCacheToWindow(w, cache, b.Left + (vertical ? LeftOffset : 0), b.Top);
}
