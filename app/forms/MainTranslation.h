#pragma once
// The class library's own texts (the standard buttons of message boxes and
// file dialogs) in the interface language: the library's translations for
// that language, when the system has them installed.
#include <string>

// languageName is the interface language as the settings name it
// ("Russian(...)"); English, or a language the system has no translation
// for, keeps the library's own texts.
void InstallLibraryTranslation(const std::string& languageName);
void RemoveLibraryTranslation();
