// Loading and saving a device buffer with its marker side file.
#include "buffer/FileServ.h"

#include "buffer/FileServFiles.h"
#include "platform/Files.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string OpenedFileChip;

TDumpFormat DumpFormatOf(const std::string& fileName)
{
    const std::string ext = AnsiUpperCase(ExtractFileExt(fileName));
    if (ext == ".HEX")
        return TDumpFormat::Hex;
    if (ext == ".S19")
        return TDumpFormat::S19;
    if (ext == ".EEF")
        return TDumpFormat::Eef;
    return TDumpFormat::Raw;
}

namespace {

bool ReadDumpFile(TDumpParser parse, const std::string& fileName, TDumpImage& image, TDumpError& error)
{
    std::string text;
    if (!ReadDumpText(fileName, text, error.Text)) {
        error.Line = -1;
        return false;
    }
    return parse(text, image, error);
}

std::string TooLargeMessage(const std::string& fileName, uint64_t size)
{
    return "The file \"" + fileName + "\" describes " + IntToStr(int64_t(std::min<uint64_t>(size, INT64_MAX))) +
           " bytes, more than the largest buffer of " + IntToStr(MaxDumpBufferSize) + " bytes.";
}

// The old EEF file's text as far as its first complete data record line:
// the header a save keeps ends there, and the files of large chips run to
// tens of megabytes. A file without one (or without any LF, whose lines
// split at CR) is read whole. A missing file gives no text.
std::string ReadEefHead(const std::string& nativePath)
{
    std::string text;
    std::FILE* f = std::fopen(nativePath.c_str(), "rb");
    if (!f)
        return text;
    constexpr size_t Chunk = 0x10000;
    size_t scanned = 0; // text before this is whole lines and no data record
    bool found = false;
    while (!found) {
        const size_t at = text.size();
        text.resize(at + Chunk);
        const size_t got = std::fread(text.data() + at, 1, Chunk, f);
        text.resize(at + got);
        if (got == 0)
            break;
        const size_t last = text.rfind('\n');
        if (last == std::string::npos || last < scanned)
            continue;
        ForEachDumpLine(text.substr(scanned, last + 1 - scanned), [&](int64_t, const char* b, const char* e) {
            found = e - b >= 2 && b[0] == 'X' && b[1] == '7';
            return !found;
        });
        scanned = last + 1;
    }
    std::fclose(f);
    return text;
}

// Length of the data array SetSize gives a buffer of n bytes.
size_t DataArrayLength(int64_t n)
{
    return n > TDumpBuffer::SmallLimit ? size_t(n) + 1 : size_t(TDumpBuffer::SmallLimit) + 2;
}

} // namespace

bool ReadHexFile(const std::string& fileName, TDumpImage& image, TDumpError& error)
{
    return ReadDumpFile(ParseHexText, fileName, image, error);
}

bool ReadS19File(const std::string& fileName, TDumpImage& image, TDumpError& error)
{
    return ReadDumpFile(ParseS19Text, fileName, image, error);
}

bool ReadEefFile(const std::string& fileName, TDumpImage& image, TDumpError& error)
{
    return ReadDumpFile(ParseEefText, fileName, image, error);
}

bool LoadDumpFile(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo& info)
{
    info = TDumpLoadInfo();
    const std::string native = NativePath(fileName);
    const int64_t fileSize = FileSize(native);
    if (fileSize < 0) {
        info.Error = "File not found: \"" + fileName + "\".";
        return false;
    }
    const TDumpFormat format = DumpFormatOf(fileName);

    // Everything is read before the buffer changes.
    TDumpImage image;
    std::vector<uint8_t> raw; // raw data: in EditorMode the new data array
    int64_t loaded = 0;       // bytes of the buffer the file covers
    if (format == TDumpFormat::Raw) {
        info.Size = fileSize;
        if (buffer.EditorMode) {
            if (fileSize > MaxDumpBufferSize) {
                info.Error = TooLargeMessage(fileName, uint64_t(fileSize));
                return false;
            }
            raw.resize(DataArrayLength(fileSize));
            loaded = fileSize;
        } else {
            loaded = std::min(fileSize, buffer.GetSize());
            raw.resize(size_t(loaded));
        }
        if (ReadFileStart(native, raw.data(), size_t(loaded)) != size_t(loaded)) {
            info.Error = CannotReadMessage(fileName);
            return false;
        }
    } else {
        TDumpError error;
        if (!ReadDumpFile(DumpParserOf(format), fileName, image, error)) {
            info.Error = error.Line < 0 ? error.Text
                                        : "Error in the file \"" + fileName + "\":\r\n" + DumpErrorMessage(error);
            return false;
        }
        if (buffer.EditorMode && image.Size > uint64_t(MaxDumpBufferSize)) {
            info.Error = TooLargeMessage(fileName, image.Size);
            return false;
        }
        info.Size = int64_t(image.Size);
        info.EefText = image.EefText;
        loaded = buffer.EditorMode ? info.Size : std::min(info.Size, buffer.GetSize());
    }

    const int64_t newSize = buffer.EditorMode ? loaded : buffer.GetSize();
    const std::string markerName = fileName + ".mrk";
    const std::string markerNative = NativePath(markerName);
    const int64_t markerSize = FileSize(markerNative);
    std::vector<uint8_t> markers;
    if (markerSize >= 0) {
        // A marker file shorter than the buffer marks what it covers.
        markers.resize(size_t(std::min(markerSize, newSize)));
        if (ReadFileStart(markerNative, markers.data(), markers.size()) != markers.size()) {
            info.Error = CannotReadMessage(markerName);
            return false;
        }
    }

    // Commit.
    if (buffer.EditorMode) {
        if (format == TDumpFormat::Raw)
            buffer.Data.swap(raw);
        buffer.SetSize(newSize);
    }
    if (format != TDumpFormat::Raw)
        image.CopyTo(buffer.Data.data(), size_t(newSize));
    else if (!buffer.EditorMode && loaded > 0)
        std::memcpy(buffer.Data.data(), raw.data(), size_t(loaded));
    if (markerSize >= 0) {
        if (!markers.empty())
            std::memcpy(buffer.Markers.data(), markers.data(), markers.size());
        buffer.SetMarkerRange(int64_t(markers.size()), newSize - 1, 0);
    } else {
        buffer.SetMarkerRange(0, loaded - 1, 0);
    }
    buffer.Modified = false;
    return true;
}

bool LoadFromFile(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo* info)
{
    TDumpLoadInfo local;
    TDumpLoadInfo& result = info ? *info : local;
    if (LoadDumpFile(buffer, fileName, result))
        return true;
    ShowMessageBox(result.Error, "Read file", MB_OK | MB_ICONWARNING);
    return false;
}

bool WriteHexFile(const TDumpBuffer& buffer, const std::string& fileName, std::string& error)
{
    return WriteDumpText(fileName, [&](const TTextSink& sink) { return WriteHexText(buffer, sink); }, error);
}

bool WriteS19File(const TDumpBuffer& buffer, const std::string& fileName, std::string& error)
{
    return WriteDumpText(fileName, [&](const TTextSink& sink) { return WriteS19Text(buffer, sink); }, error);
}

bool WriteEefFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& description,
                  std::string& error)
{
    if (buffer.GetSize() > EefMaxSize) {
        error = "EEF files hold at most " + IntToStr(EefMaxSize) + " bytes; save this buffer in another format.";
        return false;
    }
    const std::string old = ReadEefHead(NativePath(fileName));
    return WriteDumpText(
        fileName, [&](const TTextSink& sink) { return WriteEefText(buffer, old, description, sink); }, error);
}

bool SaveDumpFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& eefDescription,
                  std::string& error)
{
    bool ok = false;
    switch (DumpFormatOf(fileName)) {
    case TDumpFormat::Hex:
        ok = WriteHexFile(buffer, fileName, error);
        break;
    case TDumpFormat::S19:
        ok = WriteS19File(buffer, fileName, error);
        break;
    case TDumpFormat::Eef:
        ok = WriteEefFile(buffer, fileName, eefDescription, error);
        break;
    case TDumpFormat::Raw:
        ok = WriteDumpBytes(fileName, buffer.Data.data(), size_t(buffer.GetSize()), error);
        break;
    }
    if (ok && buffer.UseMarkersFile)
        ok = WriteDumpBytes(fileName + ".mrk", buffer.Markers.data(), size_t(buffer.GetSize()), error);
    return ok;
}

bool SaveToFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& eefDescription)
{
    std::string error;
    if (SaveDumpFile(buffer, fileName, eefDescription, error))
        return true;
    ShowMessageBox(error, "Tarku", MB_OK | MB_ICONWARNING);
    return false;
}
