#include "buffer/FileServFiles.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

int64_t DumpFileSize(const std::string& nativePath)
{
    struct stat st {};
    if (stat(nativePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return int64_t(st.st_size);
}

bool ReadFileBytes(const std::string& nativePath, uint8_t* dest, size_t n)
{
    std::FILE* f = std::fopen(nativePath.c_str(), "rb");
    if (!f)
        return false;
    const size_t got = n == 0 ? 0 : std::fread(dest, 1, n, f);
    std::fclose(f);
    return got == n;
}

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
    // One allocation of the file's size: dumps of large chips run to tens
    // of megabytes.
    const std::string native = NativePath(fileName);
    const int64_t size = DumpFileSize(native);
    std::string bytes(size_t(std::max<int64_t>(size, 0)), '\0');
    if (size >= 0 && ReadFileBytes(native, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size())) {
        text = std::move(bytes);
        return true;
    }
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
