#pragma once
// The style the skinned menus give to the menu widgets they hook: it
// measures and paints popup items and menu bar items by the skin, and
// leaves everything else (and every other widget) to the style under it.
#include <QProxyStyle>

class TsSkinableMenus;

class TacMenuStyle : public QProxyStyle {
public:
    explicit TacMenuStyle(TsSkinableMenus& menus);

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;

private:
    // The menus paint only hooked menus while a skin is active.
    bool Skins(const QWidget* widget) const;

    TsSkinableMenus& menus_;
};
