#include "buffer/FileServImage.h"

#include "platform/Memory.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <array>
#include <cstring>

uint8_t* TDumpImage::Append(uint64_t address, size_t n)
{
    if (n == 0)
        return nullptr;
    HasData = true;
    Size = std::max(Size, address + n);
    if (address >= Limit) {
        scratch_.resize(n);
        return scratch_.data();
    }
    const size_t offset = Bytes.size();
    // A run that reaches past Limit keeps only its part below it.
    const size_t kept = size_t(std::min<uint64_t>(n, Limit - address));
    Bytes.resize(offset + n);
    if (!Segments.empty()) {
        TDumpSegment& last = Segments.back();
        if (last.Offset + last.Count == offset && last.Address + last.Count == address) {
            last.Count += kept;
            return Bytes.data() + offset;
        }
    }
    Segments.push_back({address, offset, kept});
    return Bytes.data() + offset;
}

bool TDumpImage::IsOneRun() const
{
    return Segments.size() == 1 && Segments[0].Address == 0 && Segments[0].Offset == 0 &&
           Segments[0].Count == Size && Bytes.size() == Size;
}

TDumpImage TDumpImage::Fresh() const
{
    TDumpImage image;
    image.Limit = Limit;
    image.Expected = Expected;
    const size_t room = size_t(std::min<uint64_t>(Expected, Limit));
    image.Bytes.reserve(room);
    // The room usually becomes the buffer's data array (see TakeData).
    AdviseLargePages(image.Bytes.data(), room);
    return image;
}

void TDumpImage::CopyTo(uint8_t* dest, size_t destSize) const
{
    if (destSize == 0)
        return; // dest may be the null data of an empty array
    // The usual dump is one run from address 0 that covers everything.
    const bool whole = Segments.size() == 1 && Segments[0].Address == 0 && Segments[0].Count >= destSize;
    if (!whole)
        std::memset(dest, 0xFF, destSize);
    for (const TDumpSegment& s : Segments) {
        if (s.Address >= destSize)
            continue;
        const size_t n = size_t(std::min<uint64_t>(s.Count, destSize - s.Address));
        std::memcpy(dest + s.Address, Bytes.data() + s.Offset, n);
    }
}

std::string DumpErrorMessage(const TDumpError& error)
{
    if (error.Line < 0)
        return error.Text;
    return "Line " + IntToStr(error.Line + 1) + ": " + error.Text;
}

std::string dumptext::UnknownSymbols(const char* field, size_t n)
{
    return "Unknown symbols \"" + std::string(field, n) + "\".";
}

namespace {

constexpr std::array<int8_t, 256> MakeHexDigitValues()
{
    std::array<int8_t, 256> t{};
    t.fill(-1);
    for (int c = 0; c < 10; ++c)
        t[size_t('0' + c)] = int8_t(c);
    for (int c = 0; c < 6; ++c) {
        t[size_t('A' + c)] = int8_t(10 + c);
        t[size_t('a' + c)] = int8_t(10 + c);
    }
    return t;
}

constexpr std::array<std::array<char, 2>, 256> MakeHexDigitPairs()
{
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<std::array<char, 2>, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[size_t(b)] = {digits[b >> 4], digits[b & 15]};
    return t;
}

} // namespace

constinit const std::array<std::array<char, 2>, 256> HexDigitPairs = MakeHexDigitPairs();

// Built by the compiler, so parsers may run during static initialisation.
constinit const std::array<int8_t, 256> HexDigitValues = MakeHexDigitValues();
