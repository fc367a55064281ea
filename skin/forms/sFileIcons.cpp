#include "skin/forms/sFileIcons.h"

#include "platform/Files.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetrics>

QPixmap GetFileIcon(const std::string& nativePath, int size)
{
    if (!FileExists(nativePath))
        return {};
    QIcon icon = QFileIconProvider().icon(QFileInfo(QString::fromStdString(nativePath)));
    return icon.isNull() ? QPixmap() : icon.pixmap(size, size);
}

QFont CreateCaptionFont()
{
    return QApplication::font("QMdiSubWindowTitleBar");
}

int GetCaptionFontHeight()
{
    return QFontMetrics(CreateCaptionFont()).height();
}
