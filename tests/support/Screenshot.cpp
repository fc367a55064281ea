#include "Screenshot.h"

#include <QByteArray>
#include <QDir>
#include <QString>

void SaveScreenshot(const QImage& image, const std::string& name)
{
    const QByteArray folder = qgetenv("TARKU_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(QString::fromUtf8(folder));
    image.save(QString::fromUtf8(folder) + "/" + QString::fromStdString(name) + ".png");
}

void SaveScreenshot(QWidget& widget, const std::string& name)
{
    if (!qEnvironmentVariableIsEmpty("TARKU_SCREENSHOTS"))
        SaveScreenshot(widget.grab().toImage(), name);
}
