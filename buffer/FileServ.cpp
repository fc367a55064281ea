// Loading and saving a device buffer with its marker side file.
#include "buffer/FileServ.h"

#include "buffer/FileServFiles.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

std::string OpenedFileChip;
TDumpSizeQuestion ConfirmDumpSize;

void ResetBufferState()
{
    ResetProgramState();
    OpenedFileChip.clear();
    ConfirmDumpSize = nullptr;
}

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
    return parse(TDumpFileLines(fileName), image, error);
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
    return ReadDumpFile(ParseHexLines, fileName, image, error);
}

bool ReadS19File(const std::string& fileName, TDumpImage& image, TDumpError& error)
{
    return ReadDumpFile(ParseS19Lines, fileName, image, error);
}

bool ReadEefFile(const std::string& fileName, TDumpImage& image, TDumpError& error)
{
    return ReadDumpFile(ParseEefLines, fileName, image, error);
}

namespace {

// What a load reads before the buffer changes.
struct TDumpLoad {
    TDumpImage Image;           // text formats
    std::vector<uint8_t> Raw;   // raw data: in EditorMode the new data array
    bool Text = false;
    int64_t Loaded = 0;         // bytes of the buffer the file covers
    int64_t NewSize = 0;        // the buffer's size afterwards
    std::vector<uint8_t> Markers;
    bool HasMarkers = false;
};

bool ReadRawDump(const TDumpBuffer& buffer, const std::string& fileName, int64_t fileSize, TDumpLoad& load,
                 TDumpLoadInfo& info)
{
    info.Size = fileSize;
    if (buffer.EditorMode) {
        if (fileSize > MaxDumpBufferSize) {
            info.Error = TooLargeMessage(fileName, uint64_t(fileSize));
            return false;
        }
        load.Raw.resize(DataArrayLength(fileSize));
        load.Loaded = fileSize;
    } else {
        load.Loaded = std::min(fileSize, buffer.GetSize());
        load.Raw.resize(size_t(load.Loaded));
    }
    if (ReadFileStart(NativePath(fileName), load.Raw.data(), size_t(load.Loaded)) != size_t(load.Loaded)) {
        info.Error = CannotReadMessage(fileName);
        return false;
    }
    return true;
}

bool ReadTextDump(TDumpParser parse, const TDumpBuffer& buffer, const std::string& fileName, int64_t fileSize,
                  TDumpLoad& load, TDumpLoadInfo& info)
{
    load.Text = true;
    TDumpImage& image = load.Image;
    // Data beyond a chip's buffer is left out; an EditorMode buffer grows to
    // what the file describes, within bounds.
    image.Limit = buffer.EditorMode ? uint64_t(MaxDumpBufferSize) : uint64_t(buffer.GetSize());
    image.Expected = size_t(fileSize / 2); // two digits a byte at least
    TDumpError error;
    if (!ReadDumpFile(parse, fileName, image, error)) {
        info.Error =
            error.Line < 0 ? error.Text : "Error in the file \"" + fileName + "\":\r\n" + DumpErrorMessage(error);
        return false;
    }
    if (buffer.EditorMode && image.Size > uint64_t(MaxDumpBufferSize)) {
        info.Error = TooLargeMessage(fileName, image.Size);
        return false;
    }
    // A chip's buffer keeps its bytes rather than become blank for a file
    // that gives it nothing.
    if (!buffer.EditorMode && !image.HasData) {
        info.Error = "The file \"" + fileName + "\" holds no data records; the buffer is left as it was.";
        return false;
    }
    info.Size = int64_t(image.Size);
    info.EefText = image.EefText;
    load.Loaded = buffer.EditorMode ? info.Size : std::min(info.Size, buffer.GetSize());
    return true;
}

// A marker file shorter than the buffer marks what it covers.
bool ReadMarkers(const std::string& fileName, TDumpLoad& load, TDumpLoadInfo& info)
{
    const std::string markerName = fileName + ".mrk";
    const std::string markerNative = NativePath(markerName);
    const int64_t markerSize = FileSize(markerNative);
    load.HasMarkers = markerSize >= 0;
    if (!load.HasMarkers)
        return true;
    load.Markers.resize(size_t(std::min(markerSize, load.NewSize)));
    if (ReadFileStart(markerNative, load.Markers.data(), load.Markers.size()) != load.Markers.size()) {
        info.Error = CannotReadMessage(markerName);
        return false;
    }
    return true;
}

void CommitData(TDumpBuffer& buffer, TDumpLoad& load)
{
    if (!load.Text) {
        if (buffer.EditorMode) {
            buffer.TakeData(load.Raw, load.NewSize);
        } else if (load.Loaded > 0) {
            std::memcpy(buffer.Data.data(), load.Raw.data(), size_t(load.Loaded));
        }
        return;
    }
    TDumpImage& image = load.Image;
    if (buffer.EditorMode && image.IsOneRun() && load.NewSize > 0) {
        // The usual dump, one run from 0, becomes the data array itself, so
        // that its bytes are never held twice.
        image.Bytes.resize(DataArrayLength(load.NewSize));
        buffer.TakeData(image.Bytes, load.NewSize);
        image.Bytes = std::vector<uint8_t>();
        return;
    }
    if (buffer.EditorMode)
        buffer.SetSize(load.NewSize);
    image.CopyTo(buffer.Data.data(), size_t(load.NewSize));
}

bool LoadDump(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo& info)
{
    const int64_t fileSize = FileSize(NativePath(fileName));
    if (fileSize < 0) {
        info.Error = "File not found: \"" + fileName + "\".";
        return false;
    }
    // Dumps are often renamed (".srec", ".mot", ".s28"): a name the program
    // does not give lets the content decide.
    TDumpParser parse = DumpParserOf(DumpFormatOf(fileName));
    if (!parse && AnsiUpperCase(ExtractFileExt(fileName)) != ".BIN")
        parse = SniffDumpFormat(fileName);

    // Everything is read before the buffer changes.
    TDumpLoad load;
    if (parse ? !ReadTextDump(parse, buffer, fileName, fileSize, load, info)
              : !ReadRawDump(buffer, fileName, fileSize, load, info))
        return false;
    if (!buffer.EditorMode) {
        // Loading nothing would leave the old bytes under the new name.
        if (info.Size == 0 && buffer.GetSize() > 0) {
            info.Error = "The file \"" + fileName + "\" is empty; the buffer is left as it was.";
            return false;
        }
        if (info.Size != buffer.GetSize() && ConfirmDumpSize && !ConfirmDumpSize(buffer, fileName, info.Size))
            return false;
    }
    load.NewSize = buffer.EditorMode ? load.Loaded : buffer.GetSize();
    if (!ReadMarkers(fileName, load, info))
        return false;

    CommitData(buffer, load);
    if (load.HasMarkers) {
        if (!load.Markers.empty())
            std::memcpy(buffer.Markers.data(), load.Markers.data(), load.Markers.size());
        buffer.SetMarkerRange(int64_t(load.Markers.size()), load.NewSize - 1, 0);
    } else {
        buffer.SetMarkerRange(0, load.Loaded - 1, 0);
    }
    buffer.Modified = false;
    return true;
}

} // namespace

bool LoadDumpFile(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo& info)
{
    info = TDumpLoadInfo();
    try {
        return LoadDump(buffer, fileName, info);
    } catch (const std::bad_alloc&) {
        info.Error = OutOfMemoryMessage(fileName);
        return false;
    }
}

bool LoadFromFile(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo* info)
{
    TDumpLoadInfo local;
    TDumpLoadInfo& result = info ? *info : local;
    if (LoadDumpFile(buffer, fileName, result))
        return true;
    if (!result.Error.empty())
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

namespace {

std::string eefTooLargeMessage()
{
    return "EEF files hold at most " + IntToStr(EefMaxSize) + " bytes; save this buffer in another format.";
}

// The text of the buffer in the format its name asks for.
std::function<bool(const TTextSink&)> dumpProducer(const TDumpBuffer& buffer, const std::string& fileName,
                                                   const std::string& eefDescription)
{
    switch (DumpFormatOf(fileName)) {
    case TDumpFormat::Hex:
        return [&buffer](const TTextSink& sink) { return WriteHexText(buffer, sink); };
    case TDumpFormat::S19:
        return [&buffer](const TTextSink& sink) { return WriteS19Text(buffer, sink); };
    case TDumpFormat::Eef:
        return [&buffer, &eefDescription, old = ReadEefHead(NativePath(fileName))](const TTextSink& sink) {
            return WriteEefText(buffer, old, eefDescription, sink);
        };
    case TDumpFormat::Raw:
        break;
    }
    return [&buffer](const TTextSink& sink) {
        return sink(reinterpret_cast<const char*>(buffer.Data.data()), size_t(buffer.GetSize()));
    };
}

} // namespace

bool WriteEefFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& description,
                  std::string& error)
{
    if (buffer.GetSize() > EefMaxSize) {
        error = eefTooLargeMessage();
        return false;
    }
    return WriteDumpText(fileName, dumpProducer(buffer, fileName, description), error);
}

bool SaveDumpFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& eefDescription,
                  std::string& error)
{
    if (DumpFormatOf(fileName) == TDumpFormat::Eef && buffer.GetSize() > EefMaxSize) {
        error = eefTooLargeMessage();
        return false;
    }
    // A dump and its markers belong together: both are written in full
    // before either replaces its file, so a refused marker file leaves the
    // old dump in place too.
    TSafeFileWriter dump(NativePath(fileName));
    if (!PrepareDumpText(dump, fileName, dumpProducer(buffer, fileName, eefDescription), error))
        return false;
    const std::string markerName = fileName + ".mrk";
    std::optional<TSafeFileWriter> markers;
    if (buffer.UseMarkersFile) {
        markers.emplace(NativePath(markerName));
        const auto produce = [&](const TTextSink& sink) {
            return sink(reinterpret_cast<const char*>(buffer.Markers.data()), size_t(buffer.GetSize()));
        };
        if (!PrepareDumpText(*markers, markerName, produce, error))
            return false;
    }
    if (!dump.Commit()) {
        error = CannotWriteMessage(fileName);
        return false;
    }
    if (markers && !markers->Commit()) {
        error = CannotWriteMessage(markerName);
        return false;
    }
    return true;
}

bool SaveToFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& eefDescription)
{
    // The user agreed to replace a dump and with it its markers; a marker
    // file beside a name that holds no dump is another's: left by a dump
    // removed without it, or a file of the user's own.
    const std::string markerName = fileName + ".mrk";
    if (buffer.UseMarkersFile && !FileExists(NativePath(fileName)) && FileExists(NativePath(markerName)) &&
        !AskReplaceFile(markerName))
        return false;
    std::string error;
    if (SaveDumpFile(buffer, fileName, eefDescription, error))
        return true;
    ShowMessageBox(error, "Tarku", MB_OK | MB_ICONWARNING);
    return false;
}
