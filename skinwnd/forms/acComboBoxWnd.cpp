#include "skinwnd/forms/acComboBoxWnd.h"

#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/sConst.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acEditFrame.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

// The edge of a combo box's frame.
constexpr int ComboEdge = 3;

// A rectangle outlined in one colour and filled with another, of which
// only the ring outside client is drawn.
void DrawPlainFrame(QPainter& painter, const QRect& rect, const QRect& client, TColor fill, TColor line)
{
    painter.save();
    painter.setClipRegion(QRegion(rect) - QRegion(client), Qt::IntersectClip);
    painter.fillRect(rect, QColorFromColor(fill));
    painter.setPen(QColorFromColor(line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace

TacComboBoxWnd::TacComboBoxWnd(QWidget* handle, bool scrollBars, const std::string& skinSection,
                               TsSkinManager* manager, TsCommonData* skinData)
    : TacEditWnd(handle, scrollBars, skinSection.empty() ? "COMBOBOX" : skinSection, manager, skinData)
{
    if (QComboBox* combo = Combo()) {
        list_ = combo->view();
        list_->installEventFilter(this);
    }
}

TacComboBoxWnd::~TacComboBoxWnd()
{
    if (list_)
        list_->removeEventFilter(this);
    FreeListAdapter();
}

QComboBox* TacComboBoxWnd::Combo() const { return qobject_cast<QComboBox*>(WndHandle()); }

void TacComboBoxWnd::FreeListAdapter()
{
    TacMainWnd* list = listAdapter_;
    listAdapter_ = nullptr;
    DetachScrollWnd(list_, true, list);
}

void TacComboBoxWnd::CreateListAdapter()
{
    if (listAdapter_ || !list_)
        return;
    const bool hasItems = list_->model() && list_->model()->rowCount() > 0;
    listAdapter_ = TacMainWnd::Create<TacComboListWnd>(list_.get(), hasItems, "EDIT", SkinManager(), nullptr);
    listAdapter_->DialogMode = DialogMode;
}

void TacComboBoxWnd::RestoreColors()
{
    // The list goes back to its own look with the combo; it is adapted
    // again when it drops down under a skin.
    FreeListAdapter();
    TacEditWnd::RestoreColors();
}

QRect TacComboBoxWnd::GetButtonRect() const
{
    const QWidget* w = WndHandle();
    if (!w)
        return {};
    const int width = ScrollBarWidth;
    const int x = w->layoutDirection() == Qt::RightToLeft ? 2 : w->width() - width - 2;
    return QRect(x, 2, width, w->height() - 4);
}

QRect TacComboBoxWnd::ClientRect() const
{
    const QWidget* w = WndHandle();
    return w ? w->rect().adjusted(ComboEdge, ComboEdge, -ComboEdge, -ComboEdge) : QRect();
}

QRect TacComboBoxWnd::TextRect() const
{
    const QWidget* w = WndHandle();
    if (!w)
        return {};
    const QRect button = GetButtonRect();
    const int top = ComboEdge, bottom = w->height() - ComboEdge;
    if (w->layoutDirection() == Qt::RightToLeft)
        return QRect(QPoint(button.right() + 1, top), QPoint(w->width() - ComboEdge - 1, bottom - 1));
    return QRect(QPoint(ComboEdge, top), QPoint(button.left() - 1, bottom - 1));
}

int TacComboBoxWnd::ButtonState() const
{
    if (list_ && list_->isVisible())
        return 2;
    return FrameState();
}

void TacComboBoxWnd::PaintButton(TBitmap& bmp)
{
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TacSkinContent* skin = m ? m->Content() : nullptr;
    const QRect r = GetButtonRect();
    if (!skin || r.isEmpty())
        return;
    const TacScrollBtnIndexes& button = skin->CachedIndexes.ComboBtn;
    const TRect target{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    const TCacheInfo self = MakeCacheInfo(&bmp, 0, 0);
    const int state = ButtonState();
    if (skin->IsValidSkinIndex(button.Section))
        PaintSectionItemWithMask(button.Section, button.Border, button.Pattern, button.HotPattern, self, true, state,
                                 target, {0, 0}, &bmp, m);
    if (const TsMaskData* glyph = m->Mask(skin->CachedIndexes.ComboGlyph)) {
        const int gw = MaskFrameWidth(*glyph), gh = MaskFrameHeight(*glyph);
        DrawSkinGlyph(bmp, {target.Left + (r.width() - gw) / 2, target.Top + (r.height() - gh) / 2}, state, self,
                      *glyph, 1);
    }
}

void TacComboBoxWnd::PaintText(QPainter& painter)
{
    QComboBox* combo = Combo();
    if (!combo || combo->isEditable())
        return;
    QRect r = TextRect();
    const QPalette& pal = combo->palette();
    QColor text = pal.color(combo->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    // In a dialog the field keeps the section's picture, not the window
    // colour an edit takes there: its text takes the section's colour.
    if (const TsGeneralData* s = SkinData()->Section(); DialogMode && s && combo->isEnabled() && !SkinData()->CustomFont())
        text = QColorFromColor(s->FontColor);
    if ((SkinData()->Focused || combo->hasFocus()) && ButtonState() != 2) {
        painter.fillRect(r, pal.color(QPalette::Highlight));
        text = pal.color(QPalette::HighlightedText);
        QStyleOptionFocusRect focus;
        focus.initFrom(combo);
        focus.rect = r;
        focus.backgroundColor = pal.color(QPalette::Highlight);
        combo->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, combo);
    }
    const bool rtl = combo->layoutDirection() == Qt::RightToLeft;
    r.adjust(2, 0, -2, 0);
    if (const QIcon icon = combo->itemIcon(combo->currentIndex()); !icon.isNull()) {
        const QSize size = combo->iconSize();
        const QRect place(rtl ? r.right() - size.width() + 1 : r.left(), r.center().y() - size.height() / 2,
                          size.width(), size.height());
        icon.paint(&painter, place);
        r.adjust(rtl ? 0 : size.width() + 4, 0, rtl ? -size.width() - 4 : 0, 0);
    }
    painter.setFont(combo->font());
    painter.setPen(text);
    const QString shown = combo->fontMetrics().elidedText(combo->currentText(), Qt::ElideRight, r.width());
    painter.drawText(r, Qt::AlignVCenter | Qt::TextSingleLine | (rtl ? Qt::AlignRight : Qt::AlignLeft), shown);
}

bool TacComboBoxWnd::PaintWindow(QEvent*)
{
    if (!SkinColorsApplied)
        ApplySkinColors();
    TsCommonData& sd = *SkinData();
    if (!PaintEditCache(sd, WndHandle(), FrameState()))
        return false;
    PaintButton(*sd.CacheBmp);
    // The cache now holds the button too: the frame is painted afresh next
    // time.
    sd.BGChanged = true;
    QPainter painter(WndHandle());
    painter.drawImage(0, 0, CacheImage(*sd.CacheBmp));
    PaintText(painter);
    return true;
}

bool TacComboBoxWnd::WndProc(QEvent* event)
{
    const bool handled = TacEditWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (WndHandle())
            WndHandle()->update();
        break;
    default: break;
    }
    return handled;
}

bool TacComboBoxWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != list_ || watched == WndHandle())
        return TacEditWnd::eventFilter(watched, event);
    if (Detached)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (SkinOn())
            CreateListAdapter();
        WndHandle()->update();
        break;
    case QEvent::Hide: WndHandle()->update(); break;
    default: break;
    }
    return false;
}

TacComboListWnd::TacComboListWnd(QWidget* handle, bool scrollBars, const std::string& skinSection,
                                 TsSkinManager* manager, TsCommonData* skinData)
    : TacEditWnd(handle, scrollBars, skinSection, manager, skinData)
{
    // Made while the list shows for the first time.
    Shown = handle && handle->isVisible();
    if (handle && handle->parentWidget() && handle->parentWidget()->isWindow()) {
        popup_ = handle->parentWidget();
        popup_->installEventFilter(this);
    }
}

TacComboListWnd::~TacComboListWnd()
{
    if (popup_) {
        popup_->removeEventFilter(this);
        popup_->update();
    }
}

void TacComboListWnd::ApplySkinColors()
{
    TacEditWnd::ApplySkinColors();
    const TsGeneralData* s = SkinData()->Section();
    Color = DialogMode || !s ? clWindow() : s->Color;
    FrameColor = 0;
    // A list that draws its items the way menus are drawn takes the window
    // colours instead of the text ones.
    if (SkinOn() && !SkinData()->CustomColor())
        SetRoleColor(QPalette::Window, Color, true);
    if (SkinOn() && s && !SkinData()->CustomFont())
        SetRoleColor(QPalette::WindowText, DialogMode ? clWindowText() : s->FontColor, true);
    if (popup_)
        popup_->update();
}

void TacComboListWnd::RestoreColors()
{
    TacEditWnd::RestoreColors();
    if (popup_)
        popup_->update();
}

void TacComboListWnd::PaintFrame(QPainter& painter)
{
    const QRect client = ClientRect();
    if (WndHandle() && client != WndHandle()->rect())
        DrawPlainFrame(painter, WndHandle()->rect(), client, Color, FrameColor);
}

bool TacComboListWnd::WndProc(QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        Shown = event->type() == QEvent::Show;
    return TacEditWnd::WndProc(event);
}

bool TacComboListWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != popup_ || watched == WndHandle())
        return TacEditWnd::eventFilter(watched, event);
    if (Detached || event->type() != QEvent::Paint || !SkinOn())
        return false;
    // The popup draws itself, then its frame is replaced by the plain one.
    static_cast<QObject*>(popup_.data())->event(event);
    if (auto* frame = qobject_cast<QFrame*>(popup_.data()); frame && frame->frameWidth() > 0) {
        if (!SkinColorsApplied)
            ApplySkinColors();
        const int fw = frame->frameWidth();
        QPainter painter(frame);
        DrawPlainFrame(painter, frame->rect(), frame->rect().adjusted(fw, fw, -fw, -fw), Color, FrameColor);
    }
    return true;
}
