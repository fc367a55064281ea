#include "engine/ModulesReader.h"

#include "platform/Cp1251.h"

namespace modules {

bool IsSignChar(char c) { return c == '(' || c == ')' || c == ',' || c == ';' || c == '='; }

bool IsCommentLine(const std::string& line)
{
    return line.empty() || line[0] == '/' || (line.size() > 1 && line[1] == '/');
}

bool IsSectionHeader(const std::string& line) { return !line.empty() && line[0] == '['; }

int FindSection(const TStringList& lines, const std::string& name)
{
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string upper = AnsiUpperCase(lines[i]);
        if (upper.find(name) != std::string::npos)
            return i;
        if (upper.find("[HOST]") != std::string::npos)
            return -1;
    }
    return -1;
}

std::string TLineReader::NextToken()
{
    if (index_ < 0 || index_ >= lines_.Count())
        return {};
    const std::string& line = lines_[index_];
    size_t i = pos_;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    if (i >= line.size()) {
        pos_ = line.size();
        tokenStart_ = pos_;
        return {};
    }
    tokenStart_ = i;
    std::string token;
    if (IsSignChar(line[i])) {
        token = line.substr(i, 1);
        ++i;
    } else if (line[i] == '"') {
        const size_t close = line.find('"', i + 1);
        const size_t end = close == std::string::npos ? line.size() : close;
        token = line.substr(i + 1, end - i - 1);
        i = close == std::string::npos ? line.size() : close + 1;
    } else {
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && !IsSignChar(line[i]))
            ++i;
        token = line.substr(start, i - start);
    }
    pos_ = i;
    return token;
}

bool TLineReader::NextLine()
{
    if (index_ + 1 >= lines_.Count())
        return false;
    ++index_;
    pos_ = 0;
    return true;
}

TListEnd ReadValueList(TLineReader& reader, TStringList& list)
{
    list.Clear();
    std::string last = "=";
    for (;;) {
        const std::string item = reader.NextToken();
        if (item.empty()) {
            if (last != ",") {
                list.Clear();
                return TListEnd::Malformed;
            }
            if (!reader.NextLine()) {
                list.Clear();
                return TListEnd::EndOfFile;
            }
            continue;
        }
        if (IsSignChar(item[0]))
            return TListEnd::Cut;
        list.Add(item);
        const std::string separator = reader.NextToken();
        if (separator.empty()) {
            list.Clear();
            return TListEnd::Malformed;
        }
        if (separator == ";") {
            if (!reader.NextToken().empty()) {
                list.Clear();
                return TListEnd::Malformed;
            }
            return TListEnd::Complete;
        }
        // "," or a stray token: another item follows (the stray one is dropped).
        last = separator;
    }
}

TControlEnd ReadControlParameters(TLineReader& reader, TStringList& params, std::vector<TTokenPlace>* places)
{
    auto next = [&reader](std::string& token) {
        for (;;) {
            token = reader.NextToken();
            if (!token.empty())
                return true;
            if (!reader.NextLine())
                return false;
        }
    };
    std::string token;
    for (;;) {
        if (!next(token))
            return TControlEnd::EndOfFile;
        params.Add(token);
        if (places)
            places->push_back({reader.Index(), reader.TokenStart(), reader.TokenEnd()});
        if (!next(token))
            return TControlEnd::EndOfFile;
        if (token == ",")
            continue;
        if (token != ")")
            return TControlEnd::Dropped;
        if (!next(token))
            return TControlEnd::EndOfFile;
        if (token == ";")
            return TControlEnd::Complete;
    }
}

} // namespace modules
