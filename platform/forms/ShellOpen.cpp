#include "platform/forms/ShellOpen.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

bool ShellOpen(const std::string& target)
{
    if (target.empty())
        return false;
    const QString text = QString::fromStdString(target);
    const QUrl url = target.find("://") != std::string::npos ? QUrl(text) : QUrl::fromLocalFile(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}
