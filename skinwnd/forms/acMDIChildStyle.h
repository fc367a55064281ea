#pragma once
// The style a skinned MDI sub-window wears while its provider paints its
// frame. The sub-window keeps laying itself out from its style: the frame
// width and title bar height are the provider's, the corners are cut where
// the skin's border is see-through, and the style paints no frame or title
// bar of its own, since the provider has painted them already.
#include <QPointer>
#include <QProxyStyle>

class TsSkinProvider;

class TacMDIChildStyle : public QProxyStyle {
public:
    explicit TacMDIChildStyle(TsSkinProvider* provider);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    // Only the sub-window itself is painted by the provider.
    bool Ours(const QWidget* widget) const;

    QPointer<TsSkinProvider> provider_;
};
