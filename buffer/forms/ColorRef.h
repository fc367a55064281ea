#pragma once
// Colour references (0x00BBGGRR, red in the low byte) as the dump view's
// settings and the labels keep them, to and from the QColor painting wants.
#include <QColor>

#include <cstdint>

inline QColor ToQColor(uint32_t c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline uint32_t ToColorRef(const QColor& c)
{
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}
