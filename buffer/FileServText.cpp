// Text dumps of an address range, and what the file dialogs do with the
// file the user chose.
#include "buffer/FileServ.h"

#include "buffer/FileServFiles.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <vector>

const char* const SaveBufferFilter =
    "Binary files (*.bin)|*.bin|Intel HEX files (*.hex)|*.hex|Motorola S19 files (*.s19)|*.s19|EEF files (*.eef)|*.eef";
const char* const OpenBufferFilter = "Binary files (*.bin)|*.bin|Intel HEX files (*.hex)|*.hex|Motorola S-records "
                                     "(*.s19)|*.s19|EEF files (*.eef)|*.eef|Any files (*.*)|*.*";
const char* const SelectDumpFilter = "Binary files (*.bin)|*.bin|Intel HEX files (*.hex)|*.hex|Any files (*.*)|*.*";
const char* const SaveRangeFilter = "Binary files (*.bin)|*.bin|Text dump (*.txt)|*.txt";

namespace {

// Row address: at least 5 hex digits.
char* PutRowAddress(char* p, uint64_t address)
{
    int digits = 5;
    while (digits < 16 && (address >> (4 * digits)) != 0)
        ++digits;
    for (int i = digits - 1; i >= 0; --i)
        *p++ = "0123456789ABCDEF"[(address >> (4 * i)) & 15];
    p[0] = ':';
    p[1] = ' ';
    return p + 2;
}

// The folder of a file name, without its trailing separator.
std::string FolderOf(const std::string& fileName)
{
    std::string folder = ExtractFilePath(fileName);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

} // namespace

bool WriteTextDump(const TDumpBuffer& buffer, int64_t from, int64_t to, bool wordMode, const TTextSink& sink)
{
    from = std::max<int64_t>(from, 0);
    to = std::min(to, buffer.LastIndex);
    if (from > to)
        return true;
    const uint8_t* data = buffer.Data.data();
    const int64_t firstRow = from & ~int64_t(15);
    TTextBlock block(sink);
    for (int64_t row = firstRow; row <= to && block.Ok(); row += 16) {
        // Address up to 16 digits, ": ", 48 or 40 hex columns, " ", 16, CR LF.
        char* p = block.Room(16 + 2 + 48 + 1 + 16 + 2);
        p = PutRowAddress(p, uint64_t(wordMode ? row / 2 : row));
        if (wordMode) {
            for (int64_t pair = row; pair < row + 16; pair += 2) {
                if (pair < from || pair > to) {
                    std::memset(p, ' ', 5);
                } else {
                    // The high byte of a last odd byte lies past the buffer.
                    if (pair + 1 <= buffer.LastIndex)
                        PutHexByte(p, data[pair + 1]);
                    else
                        p[0] = p[1] = ' ';
                    PutHexByte(p + 2, data[pair]);
                    p[4] = ' ';
                }
                p += 5;
            }
        } else {
            for (int64_t i = row; i < row + 16; ++i) {
                if (i < from || i > to) {
                    std::memset(p, ' ', 3);
                } else {
                    PutHexByte(p, data[i]);
                    p[2] = ' ';
                }
                p += 3;
            }
        }
        *p++ = ' ';
        for (int64_t i = row; i < row + 16; ++i) {
            const uint8_t c = data[std::min(i, buffer.LastIndex)];
            *p++ = i < from || i > to ? ' ' : c < 32 ? '.' : char(c);
        }
        *p++ = '\r';
        *p++ = '\n';
        block.Used(p);
    }
    return block.Finish();
}

std::string MakeTextDump(const TDumpBuffer& buffer, int64_t from, int64_t to, bool wordMode)
{
    return GatherText([&](const TTextSink& sink) { return WriteTextDump(buffer, from, to, wordMode, sink); });
}

namespace {

// The extensions of a "text|*.ext|text|*.ext" filter, in filter order; ""
// for a pattern that names none ("*.*").
std::vector<std::string> filterExtensions(const char* filter)
{
    std::vector<std::string> extensions;
    const std::string text = filter;
    size_t start = 0;
    for (int field = 0; start <= text.size(); ++field) {
        const size_t bar = std::min(text.find('|', start), text.size());
        const std::string pattern = text.substr(start, bar - start);
        if (field % 2 == 1)
            extensions.push_back(pattern.rfind("*.", 0) == 0 && pattern != "*.*" ? pattern.substr(1) : "");
        start = bar + 1;
    }
    return extensions;
}

} // namespace

std::string SettleSaveName(const std::string& typed, const char* filter, int filterIndex)
{
    const std::vector<std::string> extensions = filterExtensions(filter);
    const std::string name = ExtractFileName(typed);
    for (const std::string& ext : extensions)
        if (!ext.empty() && name.size() > ext.size() &&
            AnsiUpperCase(name.substr(name.size() - ext.size())) == AnsiUpperCase(ext))
            return typed;
    if (filterIndex < 1 || size_t(filterIndex) > extensions.size())
        return typed;
    return typed + extensions[size_t(filterIndex - 1)];
}

bool SaveBufferChosen(const TDumpBuffer& buffer, const std::string& chosen, int filterIndex, std::string& fileName,
                      const std::string& eefDescription)
{
    SaveFileExtension = filterIndex;
    SaveDirectory = FolderOf(chosen);
    const std::string name = SettleSaveName(chosen, SaveBufferFilter, filterIndex);
    // The buffer's file stays what it was unless the save really wrote it.
    if (!SaveToFile(buffer, name, eefDescription))
        return false;
    fileName = name;
    return true;
}

bool OpenBufferChosen(TDumpBuffer& buffer, const std::string& chosen, int filterIndex, std::string& fileName)
{
    SaveDirectory = FolderOf(chosen);
    OpenFileExtension = filterIndex;
    if (!LoadFromFile(buffer, chosen))
        return false;
    fileName = chosen;
    return true;
}

bool SaveArrayRangeChosen(const TDumpBuffer& buffer, int64_t from, int64_t to, bool wordMode,
                          const std::string& chosen, int filterIndex, std::string& error)
{
    from = std::max<int64_t>(from, 0);
    to = std::min(to, buffer.LastIndex);
    if (from > to) {
        error = MessageText(msgIncorrectAddress);
        return false;
    }
    const std::string name = SettleSaveName(chosen, SaveRangeFilter, filterIndex);
    if (AnsiUpperCase(ExtractFileExt(name)) == ".TXT")
        return WriteDumpText(
            name, [&](const TTextSink& sink) { return WriteTextDump(buffer, from, to, wordMode, sink); }, error);
    return WriteDumpBytes(name, buffer.Data.data() + from, size_t(to - from + 1), error);
}
