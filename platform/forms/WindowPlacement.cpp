#include "platform/forms/WindowPlacement.h"

#include <QGuiApplication>
#include <QString>

bool TopLevelPlacementSupported()
{
    return QGuiApplication::instance() && !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
