#include "buffer/FileServFiles.h"

#include "platform/Files.h"
#include "platform/Paths.h"

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
    if (ReadWholeFile(NativePath(fileName), text))
        return true;
    error = CannotReadMessage(fileName);
    return false;
}

bool WriteDumpBytes(const std::string& fileName, const std::string& bytes, std::string& error)
{
    if (WriteWholeFileSafely(NativePath(fileName), bytes))
        return true;
    error = CannotWriteMessage(fileName);
    return false;
}
