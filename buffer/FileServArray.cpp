// Any dump file into the program's raw file buffer, for comparing, XOR and
// copying from files.
#include "buffer/FileServ.h"

#include "buffer/FileServFiles.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <new>

namespace {

// Parses a text dump into raw, a block of lines at a time; the message
// numbers lines from 0 (zeroBased, the HEX diagnostics) or from 1.
bool TextToArray(TDumpParser parse, std::vector<uint8_t>& raw, const std::string& fileName, bool zeroBased,
                 std::string& message)
{
    TDumpError error;
    TDumpImage image;
    image.Limit = raw.size();
    try {
        if (parse(TDumpFileLines(fileName), image, error)) {
            if (image.Records > 0) {
                image.CopyTo(raw.data(), raw.size());
                return true;
            }
            error.Line = 0;
            error.Text = dumptext::EmptyString;
        }
    } catch (const std::bad_alloc&) {
        error.Line = -1;
        error.Text = OutOfMemoryMessage(fileName);
    }
    message = zeroBased && error.Line >= 0 ? "Line " + IntToStr(error.Line) + ": " + error.Text
                                           : DumpErrorMessage(error);
    return false;
}

} // namespace

bool ReadHexToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string& message)
{
    return TextToArray(ParseHexLines, raw, fileName, true, message);
}

bool ReadS19ToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string* message)
{
    std::string local;
    return TextToArray(ParseS19Lines, raw, fileName, false, message ? *message : local);
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
    TDumpParser parse = SniffDumpFormat(fileName);
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
