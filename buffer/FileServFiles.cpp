#include "buffer/FileServFiles.h"

#include "platform/Files.h"
#include "platform/Paths.h"


std::string CannotReadMessage(const std::string& fileName)
{
    return "Cannot read the file \"" + fileName + "\".";
}

std::string CannotWriteMessage(const std::string& fileName)
{
    return "Cannot write the file \"" + fileName + "\".";
}

bool ReadDumpText(const std::string& fileName, std::string& text, std::string& error)
{
    if (ReadWholeFile(NativePath(fileName), text))
        return true;
    error = CannotReadMessage(fileName);
    return false;
}

bool WriteDumpText(const std::string& fileName, const std::function<bool(const TTextSink&)>& produce,
                   std::string& error)
{
    TSafeFileWriter out(NativePath(fileName));
    const TTextSink sink = [&](const char* text, size_t n) { return out.Write(text, n); };
    if (produce(sink) && out.Commit())
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
        return ParseHexText;
    case TDumpFormat::S19:
        return ParseS19Text;
    case TDumpFormat::Eef:
        return ParseEefText;
    case TDumpFormat::Raw:
        break;
    }
    return nullptr;
}
