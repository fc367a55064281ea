// The insert dialog's text is pasted from anywhere: any lines must read as
// a text dump or be refused without crashing, at most 16 bytes a line, and
// the bytes of an accepted text must come back from their own saved dump.
#include "app/MainEdit.h"
#include "buffer/FileServ.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> lines = SplitLines(std::string(reinterpret_cast<const char*>(data), size));
    int badLine = -1;
    const auto bytes = InsertTextBytes(lines, true, badLine);
    if (!bytes) {
        if (badLine < 0 || badLine >= int(lines.size()))
            std::abort();
        return 0;
    }
    if (bytes->size() > 16 * lines.size())
        std::abort();
    if (bytes->empty())
        return 0;
    TDumpBuffer buffer;
    buffer.SetSize(int64_t(bytes->size()));
    std::copy(bytes->begin(), bytes->end(), buffer.Data.begin());
    for (const bool wordMode : {false, true}) {
        const std::string dump = MakeTextDump(buffer, 0, buffer.LastIndex, wordMode);
        std::vector<std::string> rows;
        for (size_t start = 0, end; (end = dump.find("\r\n", start)) != std::string::npos; start = end + 2)
            rows.push_back(dump.substr(start, end - start));
        const auto again = InsertTextBytes(rows, true, badLine);
        if (!again || *again != *bytes)
            std::abort();
    }
    return 0;
}
