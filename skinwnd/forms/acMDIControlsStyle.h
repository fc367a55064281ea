#pragma once
// The style that a skinned MDI form gives to the controls a maximised
// sub-window puts on the form's menu bar: the minimise, restore and close
// buttons in the right corner and the sub-window's icon in the left one.
// The buttons are drawn from the skin's small title-button masks, right-
// aligned and centred on the menu line, in the states Qt tracks for them
// (normal, hot, pressed) and with the inactive look of a disabled button or
// an inactive form; the icon is as high as the menu line less 2 pixels.
// Qt keeps measuring hits and handling clicks through the same style, so
// what is clicked is what is drawn. The widgets get their own style back
// when this one goes.
#include <QPointer>
#include <QProxyStyle>

#include <vector>

class QMenuBar;
class TsSkinProvider;

class TacMDIControlsStyle : public QProxyStyle {
public:
    // provider: the MDI form's; bar: its menu bar, watched for the controls
    // that sub-windows put into its corners.
    TacMDIControlsStyle(TsSkinProvider* provider, QMenuBar* bar);
    ~TacMDIControlsStyle() override;

    QMenuBar* Bar() const;
    // The skin changed: the controls measure and paint again.
    void Refresh();
    // The corner widgets that wear this style now.
    std::vector<QWidget*> StyledWidgets() const;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Dresses the corner widgets that are a sub-window's controls; true
    // when one was new to this style.
    bool AdoptCorners();
    // The skin's masks for the buttons, or false while the form is not
    // painted by the skin or the skin has no close mask for them.
    bool Skinned() const;
    // The row of the menu bar the buttons are centred on (bar coordinates).
    int RowHeight() const;

    QPointer<TsSkinProvider> provider_;
    // Watched while it is being destroyed too: kept as a plain widget.
    QPointer<QWidget> bar_;
    std::vector<QPointer<QWidget>> styled_;
};
