#include "skinwnd/forms/acDragOutline.h"

#include <QPainter>
#include <QRegion>

TacDragOutline::TacDragOutline()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                           | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TacDragOutline"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void TacDragOutline::ShowAt(const QRect& r)
{
    setGeometry(r);
    if (!isVisible())
        show();
}

void TacDragOutline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
    p.fillRect(rect().adjusted(2, 2, -2, -2), Qt::black);
}

void TacDragOutline::resizeEvent(QResizeEvent*)
{
    // A frame too small to have an inside is drawn whole.
    const QRect inside = rect().adjusted(Thickness, Thickness, -Thickness, -Thickness);
    setMask(QRegion(rect()) - QRegion(inside.isValid() ? inside : QRect()));
}
