#include "app/MainEdit.h"

#include "buffer/FileServ.h"
#include "buffer/HDumpEdit.h"
#include "buffer/uPrint.h"
#include "engine/Global.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

uint8_t HexPair(char high, char low) { return uint8_t(HexDigitValue(high) * 16 + HexDigitValue(low)); }

// Reads n bytes at offset of a file; false when it holds fewer.
bool ReadFileAt(const std::string& fileName, int64_t offset, uint8_t* dest, size_t n)
{
    FILE* f = std::fopen(NativePath(fileName).c_str(), "rb");
    if (!f)
        return false;
    const bool ok = fseeko(f, offset, SEEK_SET) == 0 && std::fread(dest, 1, n, f) == n;
    std::fclose(f);
    return ok;
}

bool AllHex(const std::string& line, size_t at, size_t n)
{
    return std::all_of(line.begin() + std::ptrdiff_t(at), line.begin() + std::ptrdiff_t(at + n), IsHexDigit);
}

bool AllAre(const std::string& line, size_t at, size_t n, char c)
{
    return std::all_of(line.begin() + std::ptrdiff_t(at), line.begin() + std::ptrdiff_t(at + n),
                       [c](char x) { return x == c; });
}

// How a row shows a byte that is not part of the dump, and how far its
// first cell stands from the mark after the address: a saved dump leaves
// such cells blank one column after the colon, a print fills them with
// dots two columns after it, and a row typed by hand ("0:00 01 ...") has
// all 16 cells right after the mark.
struct TRowLayout {
    size_t Gap;
    char Empty; // 0: every cell holds a value
};
constexpr TRowLayout RowLayouts[] = {{0, 0}, {1, ' '}, {2, '.'}};

// The cells of one row from `at`: 16 byte cells of 2 digits or 8 word
// cells of 4 (the odd byte first), each followed by one character that is
// no hex digit, or by the line's end after the last one. A word cell may
// hold only its low byte (the last byte of an odd-sized buffer). false
// when the line does not fit this layout; the cells are never taken from
// a wrong column, since a shifted reading splits some cell's digits.
bool ReadCells(const std::string& line, size_t at, size_t width, const TRowLayout& layout,
               std::vector<uint8_t>& bytes)
{
    for (size_t k = 0; k < 32 / width; ++k, at += width + 1) {
        if (at + width > line.size())
            return false;
        if (AllHex(line, at, width)) {
            for (size_t b = width; b >= 2; b -= 2)
                bytes.push_back(HexPair(line[at + b - 2], line[at + b - 1]));
        } else if (layout.Empty != 0 && width == 4 && AllAre(line, at, 2, layout.Empty) && AllHex(line, at + 2, 2)) {
            bytes.push_back(HexPair(line[at + 2], line[at + 3]));
        } else if (layout.Empty == 0 || !AllAre(line, at, width, layout.Empty)) {
            return false;
        }
        if (at + width < line.size() && IsHexDigit(line[at + width]))
            return false;
    }
    return true;
}

enum class TRowRead { Bytes, Skipped, NoRow };

// One line: the leading run of non-hex characters and the address digits
// after it are taken off, then the next character (the colon of our
// dumps); the cells follow. A line with nothing but blanks after its
// address (or no hex digit at all, like a print's rule) is skipped.
TRowRead ReadRow(const std::string& line, std::vector<uint8_t>& bytes)
{
    size_t i = 0;
    while (i < line.size() && !IsHexDigit(line[i]))
        ++i;
    while (i < line.size() && IsHexDigit(line[i]))
        ++i;
    if (std::all_of(line.begin() + std::ptrdiff_t(i), line.end(), IsBlank))
        return TRowRead::Skipped;
    for (const size_t width : {size_t(2), size_t(4)})
        for (const TRowLayout& layout : RowLayouts) {
            std::vector<uint8_t> row;
            if (ReadCells(line, i + 1 + layout.Gap, width, layout, row)) {
                bytes.insert(bytes.end(), row.begin(), row.end());
                return TRowRead::Bytes;
            }
        }
    return TRowRead::NoRow;
}

// The column headers of the program's printed dumps, which stand above
// the rows and would read as bytes.
bool IsPrintHeader(const std::string& line)
{
    const std::string text = TrimRight(line);
    for (const bool words : {false, true})
        for (const bool grid : {false, true})
            if (text == PrintHeaderLine(words, grid))
                return true;
    return false;
}

} // namespace

int64_t CaretByteOf(const THexDumpEdit& edit)
{
    const int64_t last = edit.Buffer().LastIndex;
    if (last < 0)
        return 0;
    int64_t byte = std::clamp<int64_t>(edit.CaretNibble / 2, 0, last);
    if (edit.WordMode)
        byte &= ~int64_t(1);
    return byte;
}

std::optional<TByteRange> SelectionRange(const TDumpBuffer& buffer)
{
    if (buffer.SelStart < 0 || buffer.Empty())
        return std::nullopt;
    TByteRange range{std::min(buffer.SelStart, buffer.SelEnd), std::max(buffer.SelStart, buffer.SelEnd)};
    range.First = std::max<int64_t>(range.First, 0);
    range.Last = std::min(range.Last, buffer.LastIndex);
    if (range.First > range.Last)
        return std::nullopt;
    return range;
}

std::string CopyAsHexText(const TDumpBuffer& buffer)
{
    const auto range = SelectionRange(buffer);
    if (!range)
        return {};
    std::string text;
    text.reserve(size_t(range->Last - range->First + 1) * 3);
    for (int64_t i = range->First; i <= range->Last; ++i)
        text += IntToHex(buffer.Data[size_t(i)], 2) + " ";
    return text;
}

int64_t PasteHexText(TDumpBuffer& buffer, int64_t start, const std::string& text)
{
    int64_t at = std::max<int64_t>(start, 0);
    size_t i = 0;
    while (at <= buffer.LastIndex) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i + 1 >= text.size() || IsBlank(text[i + 1]) || !IsHexDigit(text[i]) || !IsHexDigit(text[i + 1]))
            break;
        buffer.Data[size_t(at)] = HexPair(text[i], text[i + 1]);
        buffer.SetMatchBit(at, false);
        ++at;
        i += 2;
    }
    return at - std::max<int64_t>(start, 0);
}

void SwapBufferBytes(TDumpBuffer& buffer)
{
    for (int64_t i = 0; i + 1 <= buffer.LastIndex; i += 2)
        std::swap(buffer.Data[size_t(i)], buffer.Data[size_t(i + 1)]);
}

void ApplyPattern(TDumpBuffer& buffer, const std::string& pattern, TByteRange area, bool wordMode, TPatternOp op)
{
    if (pattern.empty())
        return;
    const int64_t first = std::max<int64_t>(area.First, 0);
    const int64_t last = std::min(area.Last, buffer.LastIndex);
    // The bytes of one pass over the digits, read once: buffers reach
    // hundreds of megabytes. Words take bytes in pairs, so an odd pass is
    // doubled to keep the pairs in step.
    TPatternCursor cursor{pattern, 1};
    std::vector<uint8_t> stream;
    const size_t pass = (pattern.size() + 1) / 2;
    for (size_t k = 0; k < (wordMode && pass % 2 ? 2 * pass : pass); ++k)
        stream.push_back(NextPatternByte(cursor));
    size_t k = 0;
    auto next = [&] {
        const uint8_t value = stream[k];
        k = k + 1 == stream.size() ? 0 : k + 1;
        return value;
    };
    auto put = [&](int64_t i, uint8_t value) {
        if (i < first || i > last)
            return;
        uint8_t& b = buffer.Data[size_t(i)];
        const uint8_t result = op == TPatternOp::Fill ? value : uint8_t(b ^ value);
        if (op == TPatternOp::Fill || result != b)
            buffer.SetMatchBit(i, false);
        b = result;
    };
    if (!wordMode) {
        for (int64_t i = first; i <= last; ++i)
            put(i, next());
        return;
    }
    for (int64_t word = first & ~int64_t(1); word <= last; word += 2) {
        const uint8_t high = next();
        const uint8_t low = next();
        put(word + 1, high);
        put(word, low);
    }
}

int64_t FindPattern(const uint8_t* pattern, int64_t length, int64_t lastIndex, int64_t& position,
                    const uint8_t* buffer)
{
    if (length <= 0 || position < 0 || lastIndex - position + 1 < length)
        return -1;
    const uint8_t* begin = buffer + position;
    const uint8_t* end = buffer + lastIndex + 1;
    const uint8_t* found =
        std::search(begin, end, std::boyer_moore_horspool_searcher(pattern, pattern + length));
    if (found == end)
        return -1;
    position = found - buffer;
    return position;
}

int64_t WriteBytesAt(TDumpBuffer& buffer, int64_t start, const std::vector<uint8_t>& bytes)
{
    if (start < 0 || start > buffer.LastIndex)
        return 0;
    const int64_t count = std::min<int64_t>(int64_t(bytes.size()), buffer.LastIndex - start + 1);
    std::copy_n(bytes.begin(), count, buffer.Data.begin() + start);
    for (int64_t i = 0; i < count; ++i)
        buffer.SetMatchBit(start + i, false);
    return count;
}

std::optional<std::vector<uint8_t>> InsertTextBytes(const std::vector<std::string>& lines, bool hexDump,
                                                    int& badLine)
{
    std::vector<uint8_t> bytes;
    badLine = -1;
    if (!hexDump) {
        for (const std::string& line : lines)
            bytes.insert(bytes.end(), line.begin(), line.end());
        return bytes;
    }
    // A line that is no row is refused unless a print's column header
    // follows it with no row between: then it was the print's description.
    int pending = -1;
    for (int i = 0; i < int(lines.size()); ++i) {
        const std::string& line = lines[size_t(i)];
        if (IsPrintHeader(line)) {
            pending = -1;
            continue;
        }
        switch (ReadRow(line, bytes)) {
        case TRowRead::NoRow:
            if (pending < 0)
                pending = i;
            break;
        case TRowRead::Bytes:
            if (pending >= 0) {
                badLine = pending;
                return std::nullopt;
            }
            break;
        case TRowRead::Skipped:
            break;
        }
    }
    if (pending >= 0) {
        badLine = pending;
        return std::nullopt;
    }
    return bytes;
}

bool LoadFileImage(const std::string& fileName, int64_t bufferSize, std::vector<uint8_t>& image,
                   std::string& message)
{
    const int64_t fileSize = FileSize(NativePath(fileName));
    if (fileSize < 0) {
        message.clear();
        return false;
    }
    // A raw image fills one byte less than the array; beyond the largest
    // buffer the file's bytes are never compared.
    const int64_t size = std::max(bufferSize, std::min(fileSize, MaxDumpBufferSize)) + 1;
    image.assign(size_t(size), 0xFF);
    return LoadFileToArray(image, fileName, &message);
}

int64_t CompareWithImage(TDumpBuffer& buffer, const std::vector<uint8_t>& image)
{
    int64_t mismatches = 0;
    const int64_t last = std::min<int64_t>(buffer.LastIndex, int64_t(image.size()) - 1);
    for (int64_t i = 0; i <= buffer.LastIndex; ++i) {
        const bool same = i <= last && buffer.Data[size_t(i)] == image[size_t(i)];
        buffer.SetMatchBit(i, same);
        mismatches += same ? 0 : 1;
    }
    return mismatches;
}

bool XorWithFile(TDumpBuffer& buffer, const std::string& fileName)
{
    if (FileSize(NativePath(fileName)) < 0)
        return false;
    FILE* f = std::fopen(NativePath(fileName).c_str(), "rb");
    if (!f)
        return false;
    // Read in blocks: the buffer may be hundreds of megabytes.
    std::vector<uint8_t> block(0x10000);
    int64_t at = 0;
    while (at <= buffer.LastIndex) {
        const size_t want = size_t(std::min<int64_t>(int64_t(block.size()), buffer.LastIndex - at + 1));
        const size_t got = std::fread(block.data(), 1, want, f);
        for (size_t k = 0; k < got; ++k, ++at) {
            uint8_t& b = buffer.Data[size_t(at)];
            b ^= block[k];
            buffer.SetMatchBit(at, b == 0);
        }
        if (got < want)
            break;
    }
    std::fclose(f);
    buffer.Modified = true;
    return true;
}

TCopyFromFile CopyAreaFromFile(TDumpBuffer& buffer, const std::string& fileName, int64_t offset)
{
    const auto range = SelectionRange(buffer);
    if (!range)
        return TCopyFromFile::NoSelection;
    const int64_t fileSize = FileSize(NativePath(fileName));
    if (fileSize < 0)
        return TCopyFromFile::Missing;
    const int64_t count = range->Last - range->First + 1;
    if (offset < 0 || fileSize < offset + count)
        return TCopyFromFile::TooSmall;
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    if (!ReadFileAt(fileName, offset, bytes.data(), bytes.size()))
        return TCopyFromFile::TooSmall;
    std::copy(bytes.begin(), bytes.end(), buffer.Data.begin() + range->First);
    // The buffer now differs from what was loaded or saved: leaving the flag
    // clear would let the program end without asking to save.
    buffer.Modified = true;
    return TCopyFromFile::Ok;
}

int64_t GotoAddressLimit(int64_t size, bool wordMode) { return wordMode ? (size - 1) / 2 : size - 1; }
