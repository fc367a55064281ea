#include "skinwnd/forms/acMDIControlsStyle.h"

#include "platform/forms/BitmapImage.h"
#include "skin/acBlit.h"
#include "skin/acMaskPaint.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace {

// Qt's own classes of the controls a maximised sub-window lends the menu
// bar of its main window.
bool IsMDIControls(const QWidget* w)
{
    return w && qstrcmp(w->metaObject()->className(), "QMdi::ControllerWidget") == 0;
}

bool IsMDIIcon(const QWidget* w)
{
    return w && qstrcmp(w->metaObject()->className(), "QMdi::ControlLabel") == 0;
}

// A button's size: a mask with its own bitmap holds three states across and
// the active and inactive rows down; one cut from the master bitmap knows
// its frame.
QSize ButtonSize(const TsMaskData& m)
{
    if (m.Bmp)
        return {m.Bmp->Width() / 3, m.Bmp->Height() / 2};
    return {MaskFrameWidth(m), MaskFrameHeight(m)};
}

// The buttons right to left, as they stand on the menu line.
constexpr QStyle::SubControl Order[] = {QStyle::SC_MdiCloseButton, QStyle::SC_MdiNormalButton,
                                        QStyle::SC_MdiMinButton};

// The button's place counted from the right among those shown, or -1.
int PlaceOf(QStyle::SubControls shown, QStyle::SubControl sub)
{
    int place = 0;
    for (QStyle::SubControl s : Order) {
        if (!(shown & s))
            continue;
        if (s == sub)
            return place;
        ++place;
    }
    return -1;
}

} // namespace

TacMDIControlsStyle::TacMDIControlsStyle(TsSkinProvider* provider, QMenuBar* bar) : provider_(provider), bar_(bar)
{
    if (!bar)
        return;
    bar->installEventFilter(this);
    // Controls on the bar already are measured again.
    if (AdoptCorners())
        Refresh();
}

TacMDIControlsStyle::~TacMDIControlsStyle()
{
    if (bar_)
        bar_->removeEventFilter(this);
    // A control kept by its sub-window for its next maximising must not
    // keep a style that is gone.
    for (const QPointer<QWidget>& w : styled_)
        if (w && w->style() == this)
            w->setStyle(nullptr);
    if (bar_) {
        QEvent changed(QEvent::StyleChange);
        QCoreApplication::sendEvent(bar_, &changed);
    }
}

QMenuBar* TacMDIControlsStyle::Bar() const { return qobject_cast<QMenuBar*>(bar_.data()); }

std::vector<QWidget*> TacMDIControlsStyle::StyledWidgets() const
{
    std::vector<QWidget*> live;
    for (const QPointer<QWidget>& w : styled_)
        if (w && w->style() == this)
            live.push_back(w);
    return live;
}

bool TacMDIControlsStyle::eventFilter(QObject* watched, QEvent* event)
{
    // The menu bar takes a corner widget as its child.
    if (watched == bar_.data() && event->type() == QEvent::ChildAdded)
        AdoptCorners();
    return false;
}

bool TacMDIControlsStyle::AdoptCorners()
{
    std::erase_if(styled_, [](const QPointer<QWidget>& w) { return !w; });
    QMenuBar* bar = Bar();
    if (!bar)
        return false;
    bool adopted = false;
    for (Qt::Corner corner : {Qt::TopLeftCorner, Qt::TopRightCorner}) {
        QWidget* w = bar->cornerWidget(corner);
        if (!(IsMDIControls(w) || IsMDIIcon(w)) || w->style() == this)
            continue;
        // One the program dressed itself keeps its own look.
        if (w->testAttribute(Qt::WA_SetStyle))
            continue;
        w->setStyle(this);
        adopted = true;
        if (std::find(styled_.begin(), styled_.end(), w) == styled_.end())
            styled_.emplace_back(w);
    }
    return adopted;
}

void TacMDIControlsStyle::Refresh()
{
    for (QWidget* w : StyledWidgets()) {
        QEvent changed(QEvent::StyleChange);
        QCoreApplication::sendEvent(w, &changed);
        w->update();
    }
    // The bar places its corners again by their new sizes.
    if (bar_) {
        QEvent changed(QEvent::StyleChange);
        QCoreApplication::sendEvent(bar_, &changed);
    }
}

bool TacMDIControlsStyle::Skinned() const
{
    if (!provider_ || !provider_->FrameActive() || !provider_->SkinManager())
        return false;
    const TacSkinContent* skin = provider_->SkinManager()->Content();
    return skin && skin->IsValidImageIndex(provider_->MDIChildButtonMasks().Close);
}

// The bar's height without the margins it adds around its corner widgets:
// a corner widget that high leaves the bar as high as it is.
int TacMDIControlsStyle::RowHeight() const
{
    if (!bar_)
        return 0;
    const QStyle* s = bar_->style();
    const int margin = 2 * s->pixelMetric(PM_MenuBarVMargin, nullptr, bar_)
                       + 2 * s->pixelMetric(PM_MenuBarPanelWidth, nullptr, bar_)
                       + s->styleHint(SH_MainWindow_SpaceBelowMenuBar, nullptr, bar_);
    return bar_->height() - margin;
}

int TacMDIControlsStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    // The icon asks with its menu bar: it fills the menu line but a pixel
    // above and below.
    if (metric == PM_TitleBarButtonIconSize && widget && widget == bar_.data() && Skinned())
        return std::max(1, RowHeight() - 2);
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize TacMDIControlsStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                            const QWidget* widget) const
{
    const auto* complex = qstyleoption_cast<const QStyleOptionComplex*>(option);
    if (type != CT_MdiControls || !complex || !Skinned())
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const TacSkinContent* skin = provider_->SkinManager()->Content();
    const QSize button = ButtonSize(skin->ma[size_t(provider_->MDIChildButtonMasks().Close)]);
    int shown = 0;
    for (SubControl s : Order)
        shown += (complex->subControls & s) ? 1 : 0;
    // Each button and the pixel right of it.
    return {shown * (button.width() + 1), std::max(button.height(), RowHeight())};
}

QRect TacMDIControlsStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                          const QWidget* widget) const
{
    if (control != CC_MdiControls || !Skinned())
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const int place = PlaceOf(option->subControls, sub);
    if (place < 0)
        return {};
    const TacSkinContent* skin = provider_->SkinManager()->Content();
    const QSize button = ButtonSize(skin->ma[size_t(provider_->MDIChildButtonMasks().Close)]);
    // Right-aligned, centred on the menu line.
    const auto* controls = qobject_cast<const QWidget*>(option->styleObject);
    const int top = controls && bar_ ? (bar_->height() - button.height()) / 2 - controls->y() : 0;
    const int right = option->rect.right() + 1 - place * (button.width() + 1) - 1;
    return {right - button.width(), std::max(0, top), button.width(), button.height()};
}

void TacMDIControlsStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                             QPainter* painter, const QWidget* widget) const
{
    auto* controls = qobject_cast<QWidget*>(option->styleObject);
    if (control != CC_MdiControls || !controls || !Skinned()) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const TacSkinContent* skin = provider_->SkinManager()->Content();
    const TsSkinProvider::MDIChildMasks masks = provider_->MDIChildButtonMasks();
    // The sub-window's own system menu decides what is enabled.
    const auto* area = qobject_cast<const QMdiArea*>(widget);
    QMdiSubWindow* child = area ? area->currentSubWindow() : nullptr;
    TsSkinProvider* childProvider = GetSkinProvider(child);
    const TacFormTraits traits = childProvider ? childProvider->Traits() : TacFormTraits{};
    const bool active = provider_->Form()->isActiveWindow();
    const TBitmap* frame = provider_->FrameCache();
    for (SubControl s : Order) {
        const QRect r = subControlRect(control, option, s, widget);
        const int mask = s == SC_MdiCloseButton ? masks.Close : s == SC_MdiNormalButton ? masks.Restore : masks.Min;
        if (r.isEmpty() || !skin->IsValidImageIndex(mask))
            continue;
        bool enabled = true;
        if (s == SC_MdiNormalButton)
            enabled = EnabledRestore(traits);
        else if (s == SC_MdiMinButton)
            enabled = EnabledMin(traits);
        int state = 0;
        if (option->activeSubControls & s)
            state = (option->state & State_Sunken) ? 2 : (option->state & State_MouseOver) ? 1 : 0;
        TBitmap bmp;
        bmp.SetPixelFormat(pf24bit);
        bmp.SetSize(r.width(), r.height());
        // Before the form's first paint its colour stands in.
        bmp.FillRect({0, 0, r.width(), r.height()}, ColorFromQColor(controls->palette().color(QPalette::Window)));
        // What lies under the button in the form's picture.
        if (frame) {
            const QPoint at = controls->mapTo(provider_->Form(), r.topLeft());
            CopyBitmapRect(bmp, 0, 0, r.width(), r.height(), *frame, at.x(), at.y());
        }
        const bool inactive = (!active || !enabled) && state == 0;
        DrawTitleGlyph(bmp, {0, 0}, enabled ? state : 0, skin->ma[size_t(mask)], inactive);
        painter->drawImage(r.topLeft(), BitmapToImage(bmp));
    }
}
