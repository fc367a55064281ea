#pragma once
// Date and time texts as the class library writes them with the user's
// locale (the application's default QLocale): code page 1251.
#include <QDate>
#include <QTime>

#include <string>

// The locale's short date ("07.12.2026", "12/7/26").
std::string DateToStr(QDate date);
// The locale's long time without its time-zone name ("14:05:09",
// "2:05:09 PM"): the class library's long time has none.
std::string TimeToStr(QTime time);
