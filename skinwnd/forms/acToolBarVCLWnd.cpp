#include "skinwnd/forms/acToolBarVCLWnd.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sVclUtils.h"
#include "skin/sConst.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acHeldChildren.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr unsigned CaptionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

TRect RectOf(const QRect& r) { return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// A tool bar's button shows the menu of its action.
QMenu* MenuOf(const QToolButton* button)
{
    if (button->menu())
        return button->menu();
    return button->defaultAction() ? button->defaultAction()->menu() : nullptr;
}

// Draws a picture onto a 24-bit bitmap through its alpha.
void DrawPicture(TBitmap& bmp, const QImage& picture, int x, int y)
{
    QImage canvas = BitmapCanvas(bmp);
    if (canvas.isNull() || picture.isNull())
        return;
    QPainter(&canvas).drawImage(x, y, picture);
}

} // namespace

TacToolBarVCLWnd::TacToolBarVCLWnd(QWidget* wnd, bool scrollBars, const std::string& section, TsSkinManager* manager,
                                   TsCommonData* skinData)
    : TacMainWnd(wnd, scrollBars, section.empty() ? "TOOLBAR" : section, manager, skinData)
{
    ToolBar = qobject_cast<QToolBar*>(wnd);
    SkinData()->UpdateIndexes();
    buttons_ = new TacHeldChildren(this, [this](QWidget* child, QEvent* event) {
        // A button being destroyed is no tool button any more.
        auto* button = qobject_cast<QToolButton*>(child);
        return button && ButtonEvent(button, event);
    });
    HookButtons();
}

TacToolBarVCLWnd::~TacToolBarVCLWnd()
{
    RestoreColors();
}

void TacToolBarVCLWnd::RestoreColors() { buttons_->ReleaseAll(); }

void TacToolBarVCLWnd::HookButtons()
{
    for (QToolButton* b : Buttons()) {
        if (!buttons_->Hold(b))
            continue;
        QMenu* menu = MenuOf(b);
        if (!menu || std::find(menus_.begin(), menus_.end(), menu) != menus_.end())
            continue;
        menus_.emplace_back(menu);
        QObject::connect(menu, &QMenu::aboutToHide, this, [this] {
            // The drop-down closed: its button is neither pressed nor hot.
            QPointer<QToolButton> closed = DropDownButton;
            if (!closed)
                return;
            HotIndex = -1;
            DropDownButton = nullptr;
            closed->update();
        });
    }
}

std::vector<QToolButton*> TacToolBarVCLWnd::Buttons() const
{
    std::vector<QToolButton*> buttons;
    if (!ToolBar)
        return buttons;
    for (QAction* a : ToolBar->actions())
        if (auto* b = qobject_cast<QToolButton*>(ToolBar->widgetForAction(a)))
            buttons.push_back(b);
    return buttons;
}

int TacToolBarVCLWnd::ButtonAtPoint(QPoint point) const
{
    const std::vector<QToolButton*> buttons = Buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isVisible() && buttons[i]->geometry().contains(point))
            return int(i);
    return -1;
}

void TacToolBarVCLWnd::RepaintButton(int index)
{
    const std::vector<QToolButton*> buttons = Buttons();
    if (index >= 0 && index < int(buttons.size()) && buttons[size_t(index)]->isVisible())
        buttons[size_t(index)]->repaint();
}

int TacToolBarVCLWnd::ButtonState(int index) const
{
    const std::vector<QToolButton*> buttons = Buttons();
    if (index < 0 || index >= int(buttons.size()))
        return 0;
    const QToolButton* b = buttons[size_t(index)];
    if (b->isDown() || b->isChecked() || (DropDownButton == b && MenuOf(b)))
        return 2;
    if (b->isEnabled() && (index == HotIndex || b->hasFocus()))
        return 1;
    return 0;
}

void TacToolBarVCLWnd::SetHotIndex(int index)
{
    if (index == HotIndex)
        return;
    const int old = HotIndex;
    HotIndex = index;
    const std::vector<QToolButton*> buttons = Buttons();
    for (int i : {old, index})
        if (i >= 0 && i < int(buttons.size()) && !buttons[size_t(i)]->isDown())
            buttons[size_t(i)]->update();
}

bool TacToolBarVCLWnd::ButtonEvent(QToolButton* button, QEvent* event)
{
    if (!SkinnedNow())
        return false;
    const std::vector<QToolButton*> buttons = Buttons();
    const int index = int(std::find(buttons.begin(), buttons.end(), button) - buttons.begin());
    switch (event->type()) {
    case QEvent::Paint:
        DrawToolButton(button);
        return true;
    case QEvent::Enter:
        if (button->isEnabled())
            SetHotIndex(index);
        return false;
    case QEvent::Leave:
        if (HotIndex == index)
            SetHotIndex(-1);
        return false;
    case QEvent::MouseButtonPress:
        // A press on the arrow part of a button with a menu opens it.
        if (MenuOf(button) && button->popupMode() == QToolButton::MenuButtonPopup
            && static_cast<QMouseEvent*>(event)->position().x() >= button->width() - (ScrollBarWidth - 2)) {
            DropDownButton = button;
            button->update();
        }
        return false;
    default: return false;
    }
}

void TacToolBarVCLWnd::PrepareCache()
{
    TsCommonData& sd = *SkinData();
    QWidget* bar = WndHandle();
    const bool resized = !sd.CacheBmp || sd.CacheBmp->Width() != bar->width() || sd.CacheBmp->Height() != bar->height();
    sd.InitCacheBmp();
    TBitmap& cache = *sd.CacheBmp;
    if (sd.BGChanged || resized) {
        TBackgroundInfo parent;
        parent.R = RectOf(bar->geometry());
        GetControlBackground(parent, bar->parentWidget(), false);
        TCacheInfo under = BackgroundToCacheInfo(parent);
        under.X += bar->x();
        under.Y += bar->y();
        PaintControlItem(sd, under, true, 0, TRect{0, 0, cache.Width(), cache.Height()}, TPoint{0, 0}, cache);
        sd.BGChanged = false;
    }
}

void TacToolBarVCLWnd::DrawToolBar()
{
    PrepareCache();
    QWidget* bar = WndHandle();
    QPainter(bar).drawImage(0, 0, BitmapToImage(*SkinData()->CacheBmp));
    // Children that wait for their parent may paint now.
    UpdateChildControls(bar);
}

void TacToolBarVCLWnd::DrawToolButton(QToolButton* button)
{
    TsCommonData& sd = *SkinData();
    TsSkinManager* m = sd.GetSkinManager();
    const int w = button->width(), h = button->height();
    if (!m->Content() || w < 1 || h < 1)
        return;
    PrepareCache(); // a button may paint alone
    const std::vector<QToolButton*> buttons = Buttons();
    const int state = ButtonState(int(std::find(buttons.begin(), buttons.end(), button) - buttons.begin()));
    const int section = m->GetSkinIndex("TOOLBUTTON");
    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(w, h);
    const TCacheInfo under = MakeCacheInfo(sd.CacheBmp.get(), button->x(), button->y());
    CopyBitmapRect(buffer, 0, 0, w, h, *sd.CacheBmp, button->x(), button->y());
    PaintSectionItem(section, "TOOLBUTTON", under, true, state, TRect{0, 0, w, h}, TPoint{0, 0}, &buffer, m, -1, -1);
    const bool dropDown = MenuOf(button) && button->popupMode() == QToolButton::MenuButtonPopup;
    PaintButtonContent(buffer, button, state, section, dropDown ? ScrollBarWidth - 2 : 0);
    if (dropDown) {
        const int partState = (DropDownButton == button) || button->isDown() ? 2 : state == 1 ? 1 : 0;
        PaintDropDownPart(buffer, TRect{w - (ScrollBarWidth - 2), 0, w, h}, partState, section, under);
    }
    if (!button->isEnabled())
        ApplyDisabledLook(buffer, 6, GetControlColor(WndHandle()), under, TPoint{0, 0});
    QPainter(button).drawImage(0, 0, BitmapToImage(buffer));
}

void TacToolBarVCLWnd::PaintButtonContent(TBitmap& buffer, QToolButton* button, int state, int section,
                                          int arrowWidth)
{
    const int w = buffer.Width(), h = buffer.Height();
    const Qt::ToolButtonStyle style = button->toolButtonStyle();
    // A button without an icon shows its caption whatever its style, as the
    // tool bar itself does: an empty face would hide what it is for.
    const bool showText = !button->text().isEmpty() && (style != Qt::ToolButtonIconOnly || button->icon().isNull());
    const QImage icon = style == Qt::ToolButtonTextOnly || button->icon().isNull()
                            ? QImage()
                            : button->icon().pixmap(button->iconSize()).toImage();
    const int shift = state == 2 ? 1 : 0; // a pressed button's content moves down and right
    const QFont font = button->font();
    const int textHeight = QFontMetrics(font).height();
    TRect text;
    if (style == Qt::ToolButtonTextBesideIcon) {
        text = TRect{icon.isNull() ? 1 : icon.width() + 6, 2, w - arrowWidth - 2, h - 2};
        DrawPicture(buffer, icon, 5 + shift, (h - icon.height()) / 2 + shift);
    } else {
        const int block = icon.height() + (showText ? (icon.isNull() ? 0 : 3) + textHeight : 0);
        const int top = (h - block) / 2;
        DrawPicture(buffer, icon, (w - icon.width()) / 2 - (arrowWidth ? 8 : 0) + shift, top + shift);
        const int textTop = top + block - textHeight;
        text = TRect{0, textTop, w - arrowWidth, textTop + textHeight};
    }
    if (showText)
        DrawSectionText(buffer, QStringToCp1251(button->text()), button->isEnabled(), SkinData()->GetSkinManager(),
                        state != 0, section, CaptionFlags,
                        TRect{text.Left + shift, text.Top + shift, text.Right + shift, text.Bottom + shift}, font);
}

void TacToolBarVCLWnd::PaintDropDownPart(TBitmap& buffer, const TRect& part, int state, int section,
                                         const TCacheInfo& under)
{
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TacSkinContent* skin = m->Content();
    if (const TsMaskData* border = skin->IsValidSkinIndex(section) ? m->Mask(skin->gd[size_t(section)].BorderIndex)
                                                                   : nullptr)
        DrawSkinMask(buffer, part, true, *border, state, true, under);
    // The arrow is the skin's combo box arrow.
    if (const TsMaskData* arrow = m->Mask(skin->CachedIndexes.ComboGlyph)) {
        int gw = 0, gh = 0;
        skin->GetMaskFrameSize(skin->CachedIndexes.ComboGlyph, gw, gh);
        DrawSkinGlyph(buffer, TPoint{part.Left + (part.Width() - gw) / 2, (part.Height() - gh) / 2}, state, under,
                      *arrow, 1);
    }
}

bool TacToolBarVCLWnd::WndProc(QEvent* event)
{
    if (event->type() == SkinCommandEventType()) {
        const auto& m = static_cast<const TSkinCommandEvent&>(*event);
        const bool ours = m.LParam() == reinterpret_cast<intptr_t>(SkinData()->GetSkinManager());
        if (ours && (m.SubCode() == AC_REMOVESKIN || m.SubCode() == AC_REFRESH))
            DropDownButton = nullptr;
        return TacMainWnd::WndProc(event);
    }
    if (!SkinnedNow())
        return TacMainWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::Paint:
        HookButtons();
        DrawToolBar();
        return true;
    case QEvent::ActionRemoved:
        // The bar lets its button go first; a hot index past the end is none.
        static_cast<QObject*>(WndHandle())->event(event);
        if (HotIndex >= int(Buttons().size()))
            HotIndex = -1;
        return true;
    case QEvent::Resize: {
        const bool handled = TacMainWnd::WndProc(event);
        WndHandle()->update();
        return handled;
    }
    default: return TacMainWnd::WndProc(event);
    }
}
