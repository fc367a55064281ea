#include "skin/forms/sSkinMenusStyle.h"

#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinMenusPaint.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>

TacMenuStyle::TacMenuStyle(TsSkinableMenus& menus) : menus_(menus) {}

bool TacMenuStyle::Skins(const QWidget* widget) const
{
    return widget && menus_.Skinning() && menus_.IsHooked(widget);
}

int TacMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (Skins(widget)) {
        switch (metric) {
        case PM_MenuPanelWidth: return menus_.PopupBorder();
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuBarPanelWidth:
        case PM_MenuBarVMargin:
        case PM_MenuDesktopFrameWidth: return 0;
        case PM_MenuBarHMargin: return menus_.Margin;
        case PM_MenuBarItemSpacing: return menus_.Spacing;
        default: break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize TacMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (Skins(widget) && item && type == CT_MenuItem) {
        const TacMenuBackground* bg = menus_.FindMenuBackground(nullptr, 0, 0, const_cast<QWidget*>(widget));
        return MeasureMenuItem(menus_, *item, bg ? bg->ExtraLine : false);
    }
    if (Skins(widget) && item && type == CT_MenuBarItem) {
        // The bar pads its items by the spacing on both sides, as the
        // window system pads owner-drawn bar items beyond their measure.
        const QSize plain = QProxyStyle::sizeFromContents(type, option, size, widget);
        return MeasureMainMenuItem(menus_, *item, plain.height()) + QSize(2 * menus_.Spacing, 0);
    }
    if (Skins(widget) && type == CT_Menu)
        return size;
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void TacMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    if (Skins(widget) && (element == PE_PanelMenu || element == PE_FrameMenu || element == PE_PanelMenuBar)) {
        QWidget* w = const_cast<QWidget*>(widget);
        if (const TacMenuBackground* bg = menus_.FindMenuBackground(nullptr, w->width(), w->height(), w))
            PaintBackgroundPart(*bg, {0, 0, w->width(), w->height()}, *painter);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TacMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    QWidget* w = const_cast<QWidget*>(widget);
    TacMenuBackground* bg = Skins(widget) ? menus_.FindMenuBackground(nullptr, w->width(), w->height(), w) : nullptr;
    if (bg && item) {
        switch (element) {
        case CE_MenuItem: {
            auto* menu = qobject_cast<QMenu*>(w);
            QAction* action = menu ? menu->actionAt(item->rect.center()) : nullptr;
            if (!bg->Framed)
                menus_.PostFrameRequest(action);
            PaintMenuItem(menus_, *item, action, *bg, *painter);
            return;
        }
        case CE_MenuBarItem: PaintMainMenuItem(menus_, *item, *bg, *painter); return;
        case CE_MenuEmptyArea:
        case CE_MenuBarEmptyArea: PaintBackgroundPart(*bg, {0, 0, w->width(), w->height()}, *painter); return;
        default: break;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

int TacMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    // The popup's mask is the menus' own, set and taken back by them.
    if (hint == SH_Menu_Mask && Skins(widget))
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
