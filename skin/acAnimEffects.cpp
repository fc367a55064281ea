#include "skin/acAnimEffects.h"

#include "skin/sConst.h"
#include "skin/sSkinVersion.h"

#include <algorithm>
#include <cctype>
#include <sstream>

ThirdPartyList::ThirdPartyList() : texts_(DefaultThirdPartyClasses) {}

void ThirdPartyList::GetByIndex(int index, std::string& result) const
{
    if (index >= 0 && index < int(texts_.size()))
        result = texts_[size_t(index)];
}

void ThirdPartyList::SetByIndex(int index, const std::string& value)
{
    if (index >= 0 && index < int(texts_.size()))
        texts_[size_t(index)] = value;
}

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

void UpdateThirdNames(ThirdPartyList& props, std::array<std::vector<std::string>, 18>& lists, bool force)
{
    for (int i = 0; i < 18; ++i) {
        std::string text;
        props.GetByIndex(i, text);
        if (force || text.empty()) {
            text = DefaultThirdPartyClasses[size_t(i)];
            props.SetByIndex(i, text);
        }
        lists[size_t(i)] = Lines(text);
    }
}

std::string SkinVersionRequest(const std::vector<std::string>& args)
{
    for (std::string arg : args) {
        std::transform(arg.begin(), arg.end(), arg.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        if (arg == "/skinver")
            return std::string("Quenderil v") + LibraryVersion;
    }
    return {};
}
