#include "buffer/FileServImage.h"

#include "platform/SysUtils.h"

#include <algorithm>
#include <array>
#include <cstring>

uint8_t* TDumpImage::Append(uint64_t address, size_t n)
{
    const size_t offset = Bytes.size();
    if (n == 0)
        return nullptr;
    Bytes.resize(offset + n);
    if (!Segments.empty()) {
        TDumpSegment& last = Segments.back();
        if (last.Offset + last.Count == offset && last.Address + last.Count == address) {
            last.Count += n;
            Size = std::max(Size, address + n);
            return Bytes.data() + offset;
        }
    }
    Segments.push_back({address, offset, n});
    Size = std::max(Size, address + n);
    return Bytes.data() + offset;
}

void TDumpImage::CopyTo(uint8_t* dest, size_t destSize) const
{
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

const std::array<int8_t, 256> HexValues = [] {
    std::array<int8_t, 256> t{};
    t.fill(-1);
    for (int c = 0; c < 10; ++c)
        t['0' + c] = int8_t(c);
    for (int c = 0; c < 6; ++c) {
        t['A' + c] = int8_t(10 + c);
        t['a' + c] = int8_t(10 + c);
    }
    return t;
}();

} // namespace

int HexByteAt(const char* p)
{
    const int hi = HexValues[static_cast<unsigned char>(p[0])];
    const int lo = HexValues[static_cast<unsigned char>(p[1])];
    return (hi | lo) < 0 ? -1 : hi * 16 + lo;
}

bool TRecordCursor::Value(int nBytes, uint32_t& value, std::string& error)
{
    const size_t digits = size_t(nBytes) * 2;
    if (Left() < digits) {
        error = dumptext::UnexpectedEnd;
        return false;
    }
    uint32_t v = 0;
    for (int i = 0; i < nBytes; ++i) {
        const int b = HexByteAt(FPos + 2 * i);
        if (b < 0) {
            error = dumptext::UnknownSymbols(FPos, digits);
            return false;
        }
        v = (v << 8) | uint32_t(b);
        FSum += uint32_t(b);
    }
    FPos += digits;
    value = v;
    return true;
}

bool TRecordCursor::Data(size_t n, uint8_t* out, std::string& error)
{
    const size_t whole = std::min(n, Left() / 2);
    uint32_t sum = 0;
    for (size_t i = 0; i < whole; ++i) {
        const int b = HexByteAt(FPos);
        if (b < 0) {
            error = dumptext::UnknownSymbols(FPos, 2);
            return false;
        }
        sum += uint32_t(b);
        if (out)
            out[i] = uint8_t(b);
        FPos += 2;
    }
    FSum += sum;
    if (whole < n) {
        error = dumptext::UnexpectedEnd;
        return false;
    }
    return true;
}
