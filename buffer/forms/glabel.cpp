#include "buffer/forms/glabel.h"

#include "buffer/forms/ColorRef.h"

#include <QMouseEvent>
#include <QPainter>

TGLabel::TGLabel(QWidget* parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

void TGLabel::SetGradient(uint8_t g)
{
    gradient_ = g;
    update();
}

void TGLabel::SetActiveMode(bool on)
{
    activeMode_ = on;
    if (on) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
        Hot = false;
    }
}

void TGLabel::SetVert(bool on)
{
    vert_ = on;
    update();
}

uint32_t TGLabel::StripColor(uint32_t start, uint32_t end, int k, int n)
{
    if (k <= 0 || n <= 0)
        return start;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t s = (start >> shift) & 0xFF;
        const int64_t e = (end >> shift) & 0xFF;
        out |= uint32_t(s - (s - e) * k / n) << shift;
    }
    return out;
}

void TGLabel::GradientEnds(uint32_t base, uint8_t gradient, uint32_t& start, uint32_t& end)
{
    start = end = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = int((base >> shift) & 0xFF);
        start |= uint32_t(std::min(c + gradient, 255)) << shift;
        end |= uint32_t(std::max(c - gradient, 0)) << shift;
    }
}

uint32_t TGLabel::ResolveColor(uint32_t c) const
{
    if ((c >> 24) != 0xFF)
        return c & 0xFFFFFF;
    // The common system colour indexes, by the palette role that plays them.
    QPalette::ColorRole role;
    switch (c & 0xFF) {
    case 5: role = QPalette::Base; break;
    case 8: role = QPalette::WindowText; break;
    case 13: role = QPalette::Highlight; break;
    case 14: role = QPalette::HighlightedText; break;
    case 16: role = QPalette::Mid; break;
    case 18: role = QPalette::ButtonText; break;
    case 20: role = QPalette::Light; break;
    case 24: role = QPalette::ToolTipBase; break;
    case 15: role = QPalette::Button; break;
    default: role = QPalette::Window; break;
    }
    return ToColorRef(palette().color(role));
}

void TGLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    uint32_t start, end;
    GradientEnds(ResolveColor(Hot ? ActiveColor : Color), gradient_, start, end);
    const int n = vert_ ? height() : width();
    for (int k = 0; k < n; ++k) {
        const QColor c = ToQColor(StripColor(start, end, k, n));
        if (vert_)
            p.fillRect(0, k, width(), 1, c);
        else
            p.fillRect(k, 0, 1, height(), c);
    }
    // The caption over the gradient, placed as the alignment asks.
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(text());
    const int y = (height() - fm.height()) / 2;
    int x = 0;
    if (alignment() & Qt::AlignRight)
        x = width() - textWidth;
    else if (alignment() & Qt::AlignHCenter)
        x = (width() - textWidth) / 2;
    p.drawText(x, y + fm.ascent(), text());
}

void TGLabel::mouseMoveEvent(QMouseEvent* e)
{
    if (activeMode_ && !Hot) {
        Hot = true;
        update();
    }
    QLabel::mouseMoveEvent(e);
}

void TGLabel::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown) {
        const QPoint pos = e->position().toPoint();
        OnMouseDown(e->button(), pos.x(), pos.y());
    }
    QLabel::mousePressEvent(e);
}

void TGLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        OnClick();
    QLabel::mouseReleaseEvent(e);
}

void TGLabel::leaveEvent(QEvent* e)
{
    if (activeMode_ && Hot) {
        Hot = false;
        update();
    }
    QLabel::leaveEvent(e);
}
