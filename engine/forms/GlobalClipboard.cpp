#include "engine/forms/GlobalClipboard.h"

#include "engine/Global.h"
#include "platform/Cp1251.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool ClipboardHasHexText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return false;
    return IsHexDumpText(QStringToCp1251(data->text()));
}
