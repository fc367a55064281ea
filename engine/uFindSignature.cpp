#include "engine/uFindSignature.h"

#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <vector>

namespace {

// "," and "=" are tokens of their own; the text between them is a token
// without its surrounding blanks, and no token when nothing is left.
std::vector<std::string> splitTokens(const std::string& line)
{
    std::vector<std::string> tokens;
    std::string current;
    auto endText = [&] {
        if (std::string text = Trim(current); !text.empty())
            tokens.push_back(std::move(text));
        current.clear();
    };
    for (char c : line) {
        if (c == ',' || c == '=') {
            endText();
            tokens.emplace_back(1, c);
        } else {
            current += c;
        }
    }
    endText();
    return tokens;
}

std::string lastComponent(const std::string& path)
{
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A chip named by its last component: an entry whose own last component is
// that name wins over one that merely contains it, so "AB1" finds Grp\AB1
// even when Grp\AB12 comes first.
bool findByName(const std::string& chip, std::string& chipEntry)
{
    const std::string name = AnsiUpperCase(lastComponent(chip));
    if (name.empty())
        return false;
    for (const auto& entry : ChipList) {
        if (AnsiUpperCase(lastComponent(entry)) == name) {
            chipEntry = entry;
            return true;
        }
    }
    for (const auto& entry : ChipList) {
        if (AnsiUpperCase(entry).find(name) != std::string::npos) {
            chipEntry = entry;
            return true;
        }
    }
    return false;
}

} // namespace

bool FindModuleBySignature(int32_t signature, std::string& chipEntry)
{
    std::string bytes;
    if (!ReadWholeFile(NativePath("signatures.cfg"), bytes))
        return false;
    TStringList lines;
    lines.SetText(bytes);
    for (const auto& raw : lines) {
        const std::string line = TrimLeft(raw);
        if (line.empty() || line[0] == ';')
            continue;
        const std::vector<std::string> tokens = splitTokens(line);
        if (tokens.empty())
            continue;
        // -1 is the table's "does not convert", so $FFFFFFFF never matches.
        const auto value = TryStrToInt("$" + tokens[0]);
        if (!value || *value == -1 || *value != signature)
            continue;
        // The first line of the signature decides.
        if (tokens.size() < 3 || tokens[1] != "=" || tokens[2] == "," || tokens[2] == "=")
            return false;
        const std::string& chip = tokens[2];
        const int index = ChipList.IndexOf(chip);
        if (index >= 0) {
            chipEntry = ChipList[index];
            return true;
        }
        return findByName(chip, chipEntry);
    }
    return false;
}
