#include "buffer/FileServFiles.h"

#include "buffer/FileServRecords.h"

#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <algorithm>


std::string CannotReadMessage(const std::string& fileName)
{
    return "Cannot read the file \"" + fileName + "\".";
}

std::string CannotWriteMessage(const std::string& fileName)
{
    return "Cannot write the file \"" + fileName + "\".";
}

std::string OutOfMemoryMessage(const std::string& fileName)
{
    return "Not enough memory to load the file \"" + fileName + "\".";
}

bool AskReplaceFile(const std::string& fileName)
{
    return ShowMessageBox(ExtractFileName(fileName) + " already exists.\r\nDo you want to replace it?", "Tarku",
                          MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool PrepareDumpText(TSafeFileWriter& out, const std::string& fileName,
                     const std::function<bool(const TTextSink&)>& produce, std::string& error)
{
    const TTextSink sink = [&](const char* text, size_t n) { return out.Write(text, n); };
    if (produce(sink) && out.Finish())
        return true;
    error = CannotWriteMessage(fileName);
    return false;
}

bool WriteDumpText(const std::string& fileName, const std::function<bool(const TTextSink&)>& produce,
                   std::string& error)
{
    TSafeFileWriter out(NativePath(fileName));
    if (!PrepareDumpText(out, fileName, produce, error))
        return false;
    if (out.Commit())
        return true;
    error = CannotWriteMessage(fileName);
    return false;
}

bool WriteDumpBytes(const std::string& fileName, const uint8_t* bytes, size_t n, std::string& error)
{
    return WriteDumpText(
        fileName, [&](const TTextSink& sink) { return sink(reinterpret_cast<const char*>(bytes), n); }, error);
}

TDumpParser DumpParserOf(TDumpFormat format)
{
    switch (format) {
    case TDumpFormat::Hex:
        return ParseHexLines;
    case TDumpFormat::S19:
        return ParseS19Lines;
    case TDumpFormat::Eef:
        return ParseEefLines;
    case TDumpFormat::Raw:
        break;
    }
    return nullptr;
}

TDumpParser SniffDumpFormat(const std::string& fileName)
{
    const std::string native = NativePath(fileName);
    std::string head(size_t(std::max<int64_t>(0, std::min<int64_t>(FileSize(native), 4096))), '\0');
    head.resize(ReadFileStart(native, reinterpret_cast<uint8_t*>(head.data()), head.size()));
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
        return ParseHexLines;
    if (ParseS19Text(first, image, error))
        return ParseS19Lines;
    // The EEF reader skips records of foreign types unread; a sniffed
    // first line must be a whole record.
    std::string data;
    int count;
    int64_t address;
    if (ParseEefRecord(first, data, count, address))
        return ParseEefLines;
    return nullptr;
}
