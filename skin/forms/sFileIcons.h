#pragma once
// Icons of files as the desktop shows them, and the system's caption font.
#include <QFont>
#include <QPixmap>

#include <string>

// The icon of a file (native path) at the given size; a null pixmap when
// the file does not exist or has no icon.
QPixmap GetFileIcon(const std::string& nativePath, int size);
// The font of window captions and its height in pixels.
QFont CreateCaptionFont();
int GetCaptionFontHeight();
