#include "engine/LanguageTexts.h"

#include "engine/Global.h"

namespace {

const char* const builtInEnglish[MessageCount] = {
    "Power pins are not defined in module",
    "Procedure not found: ",
    "Procedure not found: ",
    "Pattern not found",
    "TarkuUSB not present",
    "Power voltage not defined",
    "Incorrect address",
    "Power overload",
    " not found in device list.",
    "No picture",
    "Your file has been changed by another program. Do you want reload this file now?",
    "Are you shure to programming?",
    "Are you shure to programming?",
    "Save this parameters as default?",
    "Save editor data before exit?",
    "File size not correspond buffer size. Load anyway?",
    "Save editor data?",
};

} // namespace

int LanguageTagIndex(const std::string& tag) { return LanguageTexts.IndexOf(tag); }

std::string TLanguageGroup::Text(int offset, const std::string& def) const
{
    if (index_ < 0 || offset < 0 || offset >= LanguageTexts.Count() - index_)
        return def;
    return LanguageTexts[index_ + offset];
}

std::string LanguageText(const std::string& tag, int offset, const std::string& def)
{
    return TLanguageGroup(tag).Text(offset, def);
}

std::string MessageText(int n)
{
    if (n >= 0 && n < MessageTexts.Count())
        return MessageTexts[n];
    return BuiltInEnglishMessage(n);
}

std::string BuiltInEnglishMessage(int n)
{
    return n >= 0 && n < MessageCount ? builtInEnglish[n] : std::string();
}

void AppendBuiltInEnglishMessages(TStringList& messages)
{
    for (const char* text : builtInEnglish)
        messages.Add(text);
}
