#pragma once
// What a text dump (Intel HEX, S-records, EEF) describes, parsed before any
// buffer is touched: the data bytes in file order and where each run of them
// belongs. Its memory follows the file's size, never the addresses a file
// names, so a record at 4 GiB costs no more than one at 0.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TDumpSegment {
    uint64_t Address; // where the first byte belongs
    size_t Offset;    // first byte in TDumpImage::Bytes
    size_t Count;
};

class TDumpImage {
public:
    std::vector<uint8_t> Bytes;
    std::vector<TDumpSegment> Segments; // in file order: later ones win
    uint64_t Size = 0;                  // highest address + 1
    std::string EefText;                // texts of EEF description records

    // Room for n more bytes at `address`, to be filled by the caller; runs
    // that continue the last one share its segment.
    uint8_t* Append(uint64_t address, size_t n);
    // dest[0..destSize) := 0xFF, then every segment, clipped to destSize.
    void CopyTo(uint8_t* dest, size_t destSize) const;
};

// A parse failure: the 0-based index of the line and what is wrong with it
// (the texts end with a full stop). Line -1: not tied to one line.
struct TDumpError {
    int64_t Line = -1;
    std::string Text;
};

// "Line <n>: <text>" with the 1-based line number users see in an editor;
// just the text when no line is involved.
std::string DumpErrorMessage(const TDumpError& error);

// Diagnostic texts shared by the record readers.
namespace dumptext {
inline const char* const EmptyString = "Emtpy string.";
inline const char* const UnknownHexFormat = "Unknown format of HEX file.";
inline const char* const UnknownS19Format = "Unknown format of S-record file.";
inline const char* const UnknownEefFormat = "Unknown format of EEF file.";
inline const char* const UnexpectedEnd = "Unexpected end of line.";
inline const char* const ChecksumError = "Check summ error\".";
inline const char* const UnknownRecordType = "Unknown record type.";
inline const char* const TrailingCharacters = "Unexpected characters after the record.";
inline const char* const WrongLength = "Record length does not fit its type.";
// "Unknown symbols "<field>"."
std::string UnknownSymbols(const char* field, size_t n);
} // namespace dumptext

// Splits text into lines at CR LF, LF or CR; calls f(index, begin, end) for
// each line with blanks trimmed from both ends, until f returns false.
// Returns the number of lines seen.
template <class F>
int64_t ForEachDumpLine(const std::string& text, F&& f)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    int64_t index = 0;
    while (p < end) {
        const char* e = p;
        while (e < end && *e != '\n' && *e != '\r')
            ++e;
        const char* next = e;
        if (next < end && *next == '\r')
            ++next;
        if (next < end && *next == '\n' && (next == e || next[-1] == '\r'))
            ++next;
        const char* b = p;
        const char* t = e;
        while (b < t && static_cast<unsigned char>(*b) <= ' ')
            ++b;
        while (t > b && static_cast<unsigned char>(t[-1]) <= ' ')
            --t;
        if (!f(index, b, t))
            return index + 1;
        ++index;
        p = next;
    }
    return index;
}

// Value of two hex digits at p, or -1.
int HexByteAt(const char* p);

// Reads the hex fields of one record line, summing its bytes for the
// checksum and naming the failing field in the error texts.
class TRecordCursor {
public:
    TRecordCursor(const char* begin, const char* end) : FPos(begin), FEnd(end) {}

    // A number field of nBytes bytes (2 * nBytes digits), most significant
    // byte first.
    bool Value(int nBytes, uint32_t& value, std::string& error);
    // n data bytes, each its own two-digit field; out may be null.
    bool Data(size_t n, uint8_t* out, std::string& error);
    // Characters left on the line.
    size_t Left() const { return size_t(FEnd - FPos); }
    void Skip(size_t n) { FPos += n; }
    uint32_t Sum() const { return FSum; }

private:
    const char* FPos;
    const char* FEnd;
    uint32_t FSum = 0;
};

// Two upper-case hex digits of b at out.
inline void PutHexByte(char* out, uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    out[0] = digits[b >> 4];
    out[1] = digits[b & 15];
}
