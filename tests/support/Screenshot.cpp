#include "Screenshot.h"

#include <QByteArray>
#include <QDir>
#include <QString>

bool SaveScreenshot(const QImage& image, const std::string& name)
{
    const QByteArray folder = qgetenv("TARKU_SCREENSHOTS");
    if (folder.isEmpty())
        return true;
    return QDir().mkpath(QString::fromUtf8(folder)) &&
           image.save(QString::fromUtf8(folder) + "/" + QString::fromStdString(name) + ".png");
}

bool SaveScreenshot(QWidget& widget, const std::string& name)
{
    return qEnvironmentVariableIsEmpty("TARKU_SCREENSHOTS") || SaveScreenshot(widget.grab().toImage(), name);
}
