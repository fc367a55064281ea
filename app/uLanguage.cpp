#include "app/uLanguage.h"

#include "app/uLoadLanguages.h"
#include "platform/Cp1251.h"

#include <QLocale>
#include <QString>

std::vector<std::string> LanguageChoices(const TStringList& languageList)
{
    std::vector<std::string> choices{EnglishLanguageName};
    for (int i = 0; i < languageList.Count(); i += 2)
        choices.push_back(languageList[i]);
    return choices;
}

int LanguageChoiceIndex(const std::vector<std::string>& choices, const std::string& languageName)
{
    for (size_t i = choices.size(); i-- > 0;)
        if (choices[i] == languageName)
            return static_cast<int>(i);
    return 0;
}

std::string DefaultLanguageName(const std::string& localeName)
{
    if (QLocale(QString::fromStdString(localeName)).language() == QLocale::Russian)
        return Utf8ToCp1251("Russian(Русский)");
    return EnglishLanguageName;
}

std::string DefaultLanguageName() { return DefaultLanguageName(QLocale::system().name().toStdString()); }
