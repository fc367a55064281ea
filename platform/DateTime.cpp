#include "platform/DateTime.h"

#include "platform/Cp1251.h"

#include <QLocale>

namespace {

// A time format without its "t" fields; quoted text stays as it is.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.trimmed();
}

// Locales may separate with narrow or no-break spaces, which the code page
// lacks or a file name would hide; the class library writes plain blanks.
std::string plainBlanks(QString text)
{
    for (QChar& c : text)
        if (c.isSpace())
            c = u' ';
    return QStringToCp1251(text);
}

} // namespace

std::string DateToStr(QDate date)
{
    const QLocale locale;
    return plainBlanks(locale.toString(date, QLocale::ShortFormat));
}

std::string TimeToStr(QTime time)
{
    const QLocale locale;
    return plainBlanks(locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat))));
}
