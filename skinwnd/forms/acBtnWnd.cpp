#include "skinwnd/forms/acBtnWnd.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acMaskPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QAbstractButton>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPushButton>

TacBtnWnd::TacBtnWnd(QAbstractButton* button, const std::string& skinSection, TsSkinManager* manager,
                     TsCommonData* skinData)
    : TacMainWnd(button, false, skinSection.empty() ? "BUTTON" : skinSection, manager, skinData)
{
}

QAbstractButton* TacBtnWnd::Button() const { return qobject_cast<QAbstractButton*>(WndHandle()); }

bool TacBtnWnd::Pushed() const { return Button() && Button()->isDown(); }

int TacBtnWnd::CurrentState()
{
    QAbstractButton* b = Button();
    if (!b)
        return 0;
    if (Pushed()) {
        ClearGlows();
        return 2;
    }
    if (!b->isEnabled())
        return 0;
    if (b->hasFocus() || hot_)
        return 1;
    const auto* push = qobject_cast<const QPushButton*>(b);
    return push && push->isDefault() ? 1 : 0;
}

unsigned TacBtnWnd::CaptionFlags() const
{
    // Buttons of the class library break their captions at word ends.
    return DT_CENTER | DT_WORDBREAK;
}

int TacBtnWnd::GetMaxTextWidth()
{
    if (WindowCaption(Button()).empty())
        return 0;
    const TPoint glyph = GetGlyphSize();
    return Button()->width() - (glyph.X > 0 ? glyph.X + 2 : 0) - 2;
}

TPoint TacBtnWnd::GetTextSize()
{
    return MeasureText(Button()->font(), WindowCaption(Button()), GetMaxTextWidth(), CaptionFlags());
}

TRect TacBtnWnd::GetCaptionRect()
{
    const TPoint size = GetTextSize();
    const int x = (Button()->width() - size.X) / 2, y = (Button()->height() - size.Y) / 2;
    TRect r{x, y, x + size.X, y + size.Y};
    if (Pushed())
        r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    return r;
}

void TacBtnWnd::DrawCaption(const TRect& r, unsigned flags)
{
    WriteControlText(*SkinData()->CacheBmp, WindowCaption(Button()), Button()->isEnabled(), r, flags, SkinData(),
                     Button(), CurrentState() != 0, Button()->font());
}

void TacBtnWnd::PaintCaption()
{
    const std::string caption = WindowCaption(Button());
    if (caption.empty())
        return;
    const TRect r = GetCaptionRect();
    DrawCaption(r, CaptionFlags());
    const TsGeneralData* s = SkinData()->Section();
    if (Button()->isEnabled() && Button()->hasFocus() && s && s->ShowFocus)
        DrawDottedFrame(*SkinData()->CacheBmp, {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
}

void TacBtnWnd::PrepareCache()
{
    TsCommonData& sd = *SkinData();
    QAbstractButton* b = Button();
    const TacWndGeometry g = SizeCacheToWindow(sd, b);
    const TCacheInfo parent = GetParentCacheOfWindow(b);
    const int state = CurrentState();
    PaintControlItem(sd, parent, true, state, {0, 0, g.Width, g.Height}, {0, 0}, *sd.CacheBmp);
    PaintBorderMaskCorners(sd, state, bcAll);
    PaintCaption();
    PaintGlyph();
    if (!b->isEnabled())
        ApplyWndDisabledLook(*sd.CacheBmp, parent);
    sd.BGChanged = false;
}

void TacBtnWnd::Repaint()
{
    SkinData()->BGChanged = true;
    if (Button())
        Button()->update();
}

void TacBtnWnd::TrackMouse(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        mouseInside_ = true;
        if (DefaultSkinManager && Button()->isEnabled())
            DefaultSkinManager->SetActiveControl(Button());
        break;
    case QEvent::Leave:
        mouseInside_ = false;
        if (DefaultSkinManager && hot_)
            DefaultSkinManager->SetActiveControl(nullptr);
        break;
    case QEvent::MouseMove: {
        const auto* m = static_cast<QMouseEvent*>(event);
        mouseInside_ = Button()->rect().contains(m->position().toPoint());
        if (DefaultSkinManager && !mouseInside_ && hot_)
            DefaultSkinManager->SetActiveControl(nullptr);
        break;
    }
    default: break;
    }
}

bool TacBtnWnd::AnswerCommand(QEvent* event)
{
    auto& m = static_cast<TSkinCommandEvent&>(*event);
    switch (m.SubCode()) {
    case AC_MOUSEENTER:
        if (!hot_ && mouseInside_) {
            hot_ = true;
            SkinData()->Updating = false;
            Repaint();
            SkinData()->UpdateGlow(false);
        }
        return true;
    case AC_MOUSELEAVE:
        if (hot_) {
            ClearGlows();
            SkinData()->GlowID = -1;
            hot_ = false;
            SkinData()->Updating = false;
            Repaint();
        }
        return true;
    default: return TacMainWnd::WndProc(event);
    }
}

bool TacBtnWnd::WndProc(QEvent* event)
{
    if (!Button())
        return false;
    if (event->type() == SkinCommandEventType())
        return AdapterSkinned(SkinData()) ? AnswerCommand(event) : TacMainWnd::WndProc(event);
    TrackMouse(event);
    if (!AdapterSkinned(SkinData()))
        return TacMainWnd::WndProc(event);
    HandleCommonMessage(event, SkinData());
    switch (event->type()) {
    case QEvent::Paint:
        if (!painted_) {
            painted_ = true;
            ApplySkinColors();
        }
        PrepareCache();
        CopyCacheToWindow(Button(), *SkinData()->CacheBmp);
        return true;
    case QEvent::Move:
        if (SkinData()->IsTransparent())
            Repaint();
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::FontChange: Repaint(); break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}

TPoint TacBitBtnWnd::GetGlyphSize()
{
    QAbstractButton* b = Button();
    if (!b || b->icon().isNull())
        return {0, 0};
    return {b->iconSize().width(), b->iconSize().height()};
}

TRect TacBitBtnWnd::GetCaptionRect()
{
    TRect r = TacBtnWnd::GetCaptionRect();
    const int shift = GetGlyphSize().X / 2 + 1;
    if (GetGlyphSize().X > 0)
        r = {r.Left + shift, r.Top, r.Right + shift, r.Bottom};
    return r;
}

void TacBitBtnWnd::PaintGlyph()
{
    QAbstractButton* b = Button();
    const TPoint size = GetGlyphSize();
    if (size.X <= 0 || size.Y <= 0)
        return;
    const std::string caption = WindowCaption(b);
    const int d = Pushed() ? 1 : 0;
    // Beside the caption, the pair centred together; alone, centred.
    const int x = caption.empty() ? (b->width() - size.X) / 2 + d : GetCaptionRect().Left - size.X - 2;
    const int y = (b->height() - size.Y) / 2 + d;
    const QIcon::Mode mode = !b->isEnabled() ? QIcon::Disabled : CurrentState() == 1 ? QIcon::Active : QIcon::Normal;
    DrawIconInBox(*SkinData()->CacheBmp, b->icon(), QSize(size.X, size.Y), mode, {x, y});
}
