#pragma once
// The language dialog's choices, and the language of a first start.
#include "platform/StringList.h"

#include <string>
#include <vector>

// The dialog's list: "English", then every language name of a language list
// (its entries 0, 2, 4, ...; the file names between are skipped).
std::vector<std::string> LanguageChoices(const TStringList& languageList);

// The item selected for a language name: the last item equal to it
// (compared exactly), else 0 ("English").
int LanguageChoiceIndex(const std::vector<std::string>& choices, const std::string& languageName);

// The language of a start without a language setting, from a locale name
// such as "ru_RU": the Russian language file's name "Russian(Русский)" for
// a Russian locale, else "English".
std::string DefaultLanguageName(const std::string& localeName);
// The same for the system's locale.
std::string DefaultLanguageName();
