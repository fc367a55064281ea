#include "platform/forms/TranslucentWindows.h"

#include <QGuiApplication>
#include <QString>

bool TranslucentWindowsSupported()
{
    if (!QGuiApplication::instance())
        return false;
    const QString name = QGuiApplication::platformName();
    // These draw into memory or straight to a frame buffer: whatever a
    // window leaves see-through is never mixed with what lies beneath.
    for (const char* bare : {"offscreen", "minimal", "minimalegl", "linuxfb", "vnc", "eglfs"})
        if (name == QLatin1String(bare))
            return false;
    return true;
}
