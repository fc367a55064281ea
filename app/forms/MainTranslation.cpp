#include "app/forms/MainTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace {

QPointer<QTranslator> Installed;

// The language whose English name starts the setting, before the
// parenthesis that holds its own name.
QLocale::Language LanguageNamed(const std::string& languageName)
{
    const QString english = QString::fromLatin1(languageName.substr(0, languageName.find('('))).trimmed();
    if (english.isEmpty())
        return QLocale::AnyLanguage;
    for (int l = QLocale::C + 1; l <= QLocale::LastLanguage; ++l) {
        const auto language = static_cast<QLocale::Language>(l);
        if (QLocale::languageToString(language).compare(english, Qt::CaseInsensitive) == 0)
            return language;
    }
    return QLocale::AnyLanguage;
}

} // namespace

void InstallLibraryTranslation(const std::string& languageName)
{
    RemoveLibraryTranslation();
    const QLocale::Language language = LanguageNamed(languageName);
    if (!QCoreApplication::instance() || language == QLocale::AnyLanguage || language == QLocale::English)
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    Installed = translator;
}

void RemoveLibraryTranslation()
{
    if (!Installed)
        return;
    QCoreApplication::removeTranslator(Installed);
    delete Installed;
}
