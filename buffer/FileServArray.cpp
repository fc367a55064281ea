// Any dump file into the program's raw file buffer, for comparing, XOR and
// copying from files.
#include "buffer/FileServ.h"

#include "buffer/FileServFiles.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>

namespace {

bool HasRecordLine(const std::string& text)
{
    bool found = false;
    ForEachDumpLine(text, [&](int64_t, const char* b, const char* e) {
        found = b != e;
        return !found;
    });
    return found;
}

// Parses a whole text dump into raw; the message numbers lines from 0
// (zeroBased, the HEX diagnostics) or from 1.
bool TextToArray(TDumpParser parse, std::vector<uint8_t>& raw, const std::string& fileName, bool zeroBased,
                 std::string& message)
{
    std::string text;
    if (!ReadDumpText(fileName, text, message))
        return false;
    TDumpError error;
    if (!HasRecordLine(text)) {
        error.Line = 0;
        error.Text = dumptext::EmptyString;
    } else {
        TDumpImage image;
        if (parse(text, image, error)) {
            image.CopyTo(raw.data(), raw.size());
            return true;
        }
    }
    message = zeroBased && error.Line >= 0 ? "Line " + IntToStr(error.Line) + ": " + error.Text
                                           : DumpErrorMessage(error);
    return false;
}

// The parser of a text whose first record line is a sound record of one of
// the text formats; null for anything else.
TDumpParser SniffTextFormat(const std::string& head)
{
    std::string first;
    ForEachDumpLine(head, [&](int64_t, const char* b, const char* e) {
        if (b == e)
            return true;
        first.assign(b, e);
        return false;
    });
    if (first.empty())
        return nullptr;
    TDumpImage image;
    TDumpError error;
    if (ParseHexText(first, image, error))
        return ParseHexText;
    if (ParseS19Text(first, image, error))
        return ParseS19Text;
    // The EEF reader skips records of foreign types unread; a sniffed
    // first line must be a whole record.
    std::string data;
    int count;
    int64_t address;
    if (ParseEefRecord(first, data, count, address))
        return ParseEefText;
    return nullptr;
}

} // namespace

bool ReadHexToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string& message)
{
    return TextToArray(ParseHexText, raw, fileName, true, message);
}

bool ReadS19ToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string* message)
{
    std::string local;
    return TextToArray(ParseS19Text, raw, fileName, false, message ? *message : local);
}

bool LoadFileToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string* message)
{
    std::string local;
    std::string& text = message ? *message : local;
    const std::string native = NativePath(fileName);
    const int64_t size = FileSize(native);
    if (size < 0) {
        text = "File not found: \"" + fileName + "\".";
        return false;
    }
    // Dumps are often renamed, so the content decides before the extension.
    std::string head(size_t(std::min<int64_t>(size, 4096)), '\0');
    if (ReadFileStart(native, reinterpret_cast<uint8_t*>(head.data()), head.size()) != head.size()) {
        text = CannotReadMessage(fileName);
        return false;
    }
    TDumpParser parse = SniffTextFormat(head);
    if (!parse)
        parse = DumpParserOf(DumpFormatOf(fileName));
    if (parse)
        return TextToArray(parse, raw, fileName, false, text);
    const size_t n = size_t(std::min<int64_t>(size, int64_t(raw.size()) - 1));
    if (raw.empty() || n == 0) {
        text = "The file \"" + fileName + "\" is empty.";
        return false;
    }
    if (ReadFileStart(native, raw.data(), n) != n) {
        text = CannotReadMessage(fileName);
        return false;
    }
    return true;
}
