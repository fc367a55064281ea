#include "engine/LanguageTexts.h"

#include "engine/Global.h"
#include "platform/Cp1251.h"

namespace {

// The item number that marks a tag line.
constexpr uint32_t tagLineMark = 1;

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

void AddLanguageTag(TStringList& texts, const std::string& tag) { texts.AddObject(tag, tagLineMark); }

int LanguageTagIndex(const std::string& tag)
{
    for (int i = 0; i < LanguageTexts.Count(); ++i)
        if (LanguageTexts.Objects(i) == tagLineMark && AnsiSameText(LanguageTexts[i], tag))
            return i;
    return -1;
}

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
