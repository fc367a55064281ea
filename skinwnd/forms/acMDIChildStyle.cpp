#include "skinwnd/forms/acMDIChildStyle.h"

#include "skinwnd/forms/sSkinProvider.h"

#include <QStyleOption>

TacMDIChildStyle::TacMDIChildStyle(TsSkinProvider* provider) : provider_(provider) {}

bool TacMDIChildStyle::Ours(const QWidget* widget) const
{
    return provider_ && widget && widget == provider_->Form() && provider_->FrameActive();
}

int TacMDIChildStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (Ours(widget)) {
        switch (metric) {
        case PM_MdiSubWindowFrameWidth: return provider_->FormBorderWidth();
        // The sub-window's title bar reaches from its top edge to the
        // client: the border above the caption belongs to it.
        case PM_TitleBarHeight: return provider_->FormBorderWidth() + provider_->CaptionHeight();
        case PM_MdiSubWindowMinimizedWidth: return std::max(QProxyStyle::pixelMetric(metric, option, widget), 160);
        default: break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int TacMDIChildStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const
{
    if (Ours(widget)) {
        switch (hint) {
        case SH_WindowFrame_Mask:
            if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(returnData)) {
                provider_->FillRegionRects();
                mask->region = provider_->CreateFormRgn();
                return 1;
            }
            return 0;
        // The title bar is painted whole by the provider, every time.
        case SH_TitleBar_NoBorder: return 1;
        default: break;
        }
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void TacMDIChildStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                     const QWidget* widget) const
{
    if (element == PE_FrameWindow && Ours(widget))
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TacMDIChildStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                          QPainter* painter, const QWidget* widget) const
{
    if (control == CC_TitleBar && Ours(widget))
        return;
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
