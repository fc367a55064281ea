#include "skinwnd/forms/acSpeedButtonHandler.h"

#include "platform/Cp1251.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QToolButton>

TacSpeedButtonPlace SpeedButtonPlace(int w, int h, TPoint glyph, TPoint text, TButtonLayout layout, int margin,
                                     int spacing, bool pressed)
{
    TacSpeedButtonPlace p;
    const int gw = glyph.X, gh = glyph.Y, tw = text.X, th = text.Y;
    const bool hasGlyph = gw > 0 && gh > 0, hasCaption = tw > 0;
    const int sp = hasGlyph && hasCaption ? spacing : 0;
    const int fw = (w - gw - sp - tw) / 2, fh = (h - gh - sp - th) / 2;
    const int mx = margin == -1 ? fw : margin, my = margin == -1 ? fh : margin;
    const int d = pressed ? 1 : 0;
    if (hasGlyph) {
        int x = 0, y = 0;
        switch (layout) {
        case blGlyphLeft: x = mx, y = (h - gh) / 2; break;
        case blGlyphRight: x = w - mx - gw, y = (h - gh) / 2; break;
        case blGlyphTop: x = (w - gw) / 2, y = my; break;
        case blGlyphBottom: x = (w - gw) / 2, y = h - my - gh; break;
        }
        p.Glyph = {x + d, y + d, x + d + gw, y + d + gh};
    }
    const bool across = layout == blGlyphTop || layout == blGlyphBottom;
    int x = 0, y = d + (h - th) / 2;
    if (hasGlyph) {
        switch (layout) {
        case blGlyphLeft: x = p.Glyph.Right + spacing; break;
        case blGlyphRight: x = p.Glyph.Left - spacing - tw; break;
        case blGlyphTop: y = p.Glyph.Bottom + spacing; break;
        case blGlyphBottom: y = p.Glyph.Top - spacing - th; break;
        }
    } else if (margin == -1) {
        x = d + (w - tw) / 2;
    } else {
        switch (layout) {
        case blGlyphLeft: x = margin; break;
        case blGlyphRight: x = w - margin - tw; break;
        case blGlyphTop: y = margin; break;
        case blGlyphBottom: y = h - margin - th; break;
        }
    }
    if (across)
        x = d + (w - tw) / 2;
    p.Caption = {x, y};
    return p;
}

TacSpeedButtonHandler::TacSpeedButtonHandler(QToolButton* control, const std::string& skinSection,
                                             TsSkinManager* manager, TsCommonData* skinData)
    : ButtonControl(control), SkinManager(manager ? manager : skinData->GetSkinManager()), SkinData(skinData)
{
    if (SkinData->SkinSection().empty())
        SkinData->SetSkinSection(skinSection);
    if (control)
        control->installEventFilter(this);
}

TacSpeedButtonHandler::~TacSpeedButtonHandler()
{
    if (!Detached && ButtonControl) {
        ButtonControl->removeEventFilter(this);
        ButtonControl->update();
    }
    Detached = true;
    SkinManager = nullptr;
}

int TacSpeedButtonHandler::CurrentState() const
{
    if (ButtonControl && (ButtonControl->isDown() || ButtonControl->isChecked()))
        return 2;
    return SkinData->IsHotState() ? 1 : 0;
}

TButtonLayout TacSpeedButtonHandler::EffectiveLayout() const
{
    if (ButtonControl && ButtonControl->toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
        return blGlyphTop;
    return Layout;
}

void TacSpeedButtonHandler::Repaint()
{
    if (ButtonControl && ButtonControl->isVisible())
        ButtonControl->update();
}

void TacSpeedButtonHandler::PaintContent(TBitmap& cache, int state)
{
    QToolButton* b = ButtonControl;
    const Qt::ToolButtonStyle style = b->toolButtonStyle();
    const bool showGlyph = !b->icon().isNull() && style != Qt::ToolButtonTextOnly;
    const std::string caption = style == Qt::ToolButtonIconOnly && showGlyph ? "" : QStringToCp1251(b->text());
    const TPoint glyph = showGlyph ? TPoint{b->iconSize().width(), b->iconSize().height()} : TPoint{0, 0};
    const TPoint text = caption.empty() ? TPoint{0, 0} : MeasureText(b->font(), caption, 255, DT_WORDBREAK);
    const TacSpeedButtonPlace place =
        SpeedButtonPlace(b->width(), b->height(), glyph, text, EffectiveLayout(), Margin, Spacing, state == 2);
    if (!caption.empty()) {
        const TRect r{place.Caption.X, place.Caption.Y, place.Caption.X + text.X, place.Caption.Y + text.Y};
        WriteControlText(cache, caption, b->isEnabled(), r, DT_WORDBREAK | DT_NOCLIP, SkinData, b, state != 0,
                         b->font());
    }
    if (showGlyph) {
        const QIcon::Mode mode = !b->isEnabled() ? QIcon::Disabled : state == 1 ? QIcon::Active : QIcon::Normal;
        DrawIconInBox(cache, b->icon(), b->iconSize(), mode, {place.Glyph.Left, place.Glyph.Top});
    }
}

void TacSpeedButtonHandler::Paint()
{
    QToolButton* b = ButtonControl;
    TsCommonData& sd = *SkinData;
    sd.InitCacheBmp();
    TBackgroundInfo info;
    GetControlBackground(info, b->parentWidget(), false);
    // A parent whose image is not ready yet: the last cache is shown again.
    const bool parentEmpty = info.BgType == 2 && info.Bmp && info.Bmp->Width() == 0;
    if (!parentEmpty) {
        if (info.BgType == 2) {
            info.OffsetX += b->x();
            info.OffsetY += b->y();
        }
        const TCacheInfo parent = BackgroundToCacheInfo(info);
        const int state = CurrentState();
        PaintControlItem(sd, parent, true, state, {0, 0, b->width(), b->height()}, {0, 0}, *sd.CacheBmp);
        PaintBorderMask(sd, state);
        PaintContent(*sd.CacheBmp, state);
        if (!b->isEnabled())
            ApplyWndDisabledLook(*sd.CacheBmp, parent);
        sd.BGChanged = false;
    }
    CopyCacheToWindow(b, *sd.CacheBmp);
}

bool TacSpeedButtonHandler::AnswerCommand(QEvent* event)
{
    auto& m = static_cast<TSkinCommandEvent&>(*event);
    const bool ours = m.LParam() == reinterpret_cast<intptr_t>(SkinData->GetSkinManager());
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
        if (!ours)
            return false;
        HandleCommonMessage(event, SkinData);
        return true;
    case AC_REMOVESKIN:
        if (ours) {
            HandleCommonMessage(event, SkinData);
            Repaint();
        }
        return false;
    case AC_REFRESH:
        if (!ours)
            return false;
        HandleCommonMessage(event, SkinData);
        Repaint();
        return true;
    case AC_CHECKUPDATING:
        if (!SkinData->Updating)
            return false;
        SkinData->Updating = false;
        Repaint();
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_REPAINT:
        SkinData->Updating = false;
        SkinData->BGChanged = true;
        Repaint();
        return false;
    case AC_GETAPPLICATION: m.Result = ApplicationAnswer(); return true;
    default: return false;
    }
}

bool TacSpeedButtonHandler::WndProc(QEvent* event)
{
    if (event->type() == SkinCommandEventType())
        return AnswerCommand(event);
    switch (event->type()) {
    case QEvent::Paint:
        // Without a skin the button paints itself: the handler may outlive
        // the skin until its owner frees it.
        if (!AdapterSkinned(SkinData))
            return false;
        Paint();
        return true;
    case QEvent::Enter:
    case QEvent::Leave:
        SkinData->MouseAbove = event->type() == QEvent::Enter;
        static_cast<QObject*>(ButtonControl.get())->event(event);
        Repaint();
        return true;
    default: return false;
    }
}

bool TacSpeedButtonHandler::eventFilter(QObject* watched, QEvent* event)
{
    if (Detached || watched != ButtonControl)
        return false;
    return WndProc(event);
}
