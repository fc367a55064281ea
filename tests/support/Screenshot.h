#pragma once
// Screenshots of windows for a person to look at: saved as <name>.png in the
// folder that TARKU_SCREENSHOTS names, and not at all when it is unset, so
// test runs write nothing outside their own folders.
#include <QImage>
#include <QWidget>
#include <string>

// false when a screenshot was asked for and could not be saved (the folder
// is made when missing).
bool SaveScreenshot(const QImage& image, const std::string& name);
bool SaveScreenshot(QWidget& widget, const std::string& name);
