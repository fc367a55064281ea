#include "app/forms/HotLabel.h"

#include "buffer/forms/ColorRef.h"

#include <QMouseEvent>

THotLabel::THotLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    AddUnderline();
    // Move events without a pressed button arrive only with tracking on.
    setMouseTracking(true);
}

void THotLabel::SetHotEnabled(bool on)
{
    hotEnabled_ = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void THotLabel::AddUnderline()
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

void THotLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (hotEnabled_) {
        AddUnderline();
        if (!Hot) {
            QPalette p = palette();
            p.setColor(QPalette::WindowText, ToQColor(HotColor));
            setPalette(p);
            Hot = true;
        }
    }
    QLabel::mouseMoveEvent(event);
}

void THotLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void THotLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click && OnClick)
        OnClick();
}
