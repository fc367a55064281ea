#pragma once
// What a text dump (Intel HEX, S-records, EEF) describes, parsed before any
// buffer is touched: the data bytes in file order and where each run of them
// belongs. Its memory follows the file's size, never the addresses a file
// names, so a record at 4 GiB costs no more than one at 0.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
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
    uint64_t Size = 0;                  // highest address + 1, counting data beyond Limit
    bool HasData = false;               // some record carried a data byte
    int64_t Records = 0;                // lines read that were not blank
    std::string EefText;                // texts of EEF description records
    // Data at or beyond Limit is not kept (only Size counts it): a buffer
    // of fixed size has no room for it, and a growing one refuses it.
    uint64_t Limit = UINT64_MAX;
    // Data bytes the file may hold at most, from its size: the room is
    // reserved before reading (unused room costs no memory until written).
    size_t Expected = 0;

    // Room for n more bytes at `address`, to be filled by the caller; runs
    // that continue the last one share its segment. Bytes at or beyond
    // Limit go to a scratch area.
    uint8_t* Append(uint64_t address, size_t n);
    // dest[0..destSize) := 0xFF, then every segment, clipped to destSize.
    void CopyTo(uint8_t* dest, size_t destSize) const;
    // One run from address 0 holding every byte up to Size.
    bool IsOneRun() const;
    // An empty image with the same Limit and room for Expected bytes.
    TDumpImage Fresh() const;

private:
    std::vector<uint8_t> scratch_;
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

// Splits text into lines at LF or CR LF, or at CR in a text without any
// LF; calls f(index, begin, end) for each line with blanks trimmed from both
// ends, until f returns false. Returns the number of lines seen.
template <class F>
int64_t ForEachDumpLine(const std::string& text, F&& f)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    // One search per line: dumps of large chips run to millions of lines.
    const char separator = std::memchr(p, '\n', text.size()) ? '\n' : '\r';
    int64_t index = 0;
    while (p < end) {
        const char* e = static_cast<const char*>(std::memchr(p, separator, size_t(end - p)));
        if (!e)
            e = end;
        const char* b = p;
        const char* t = e;
        while (b < t && static_cast<unsigned char>(*b) <= ' ')
            ++b;
        while (t > b && static_cast<unsigned char>(t[-1]) <= ' ')
            --t;
        if (!f(index, b, t))
            return index + 1;
        ++index;
        p = e + 1;
    }
    return index;
}

// Value of every character read as a hex digit, -1 for one that is not.
// Small enough to stay in the first-level cache while a dump is read.
extern const std::array<int8_t, 256> HexDigitValues;

// Value of two hex digits at p, or a negative number.
inline int HexByteAt(const char* p)
{
    // A -1 in either place leaves the result negative.
    return int(HexDigitValues[static_cast<unsigned char>(p[0])]) * 16 |
           int(HexDigitValues[static_cast<unsigned char>(p[1])]);
}

// The two upper-case hex digits of every byte value.
extern const std::array<std::array<char, 2>, 256> HexDigitPairs;

// Two upper-case hex digits of b at out.
inline void PutHexByte(char* out, uint8_t b)
{
    std::memcpy(out, HexDigitPairs[b].data(), 2);
}

// Receives a writer's text piece by piece; false stops the writer.
using TTextSink = std::function<bool(const char* text, size_t n)>;

// The whole text write(sink) hands to its sink, for callers that want it in
// one string.
template <class Write>
std::string GatherText(Write&& write)
{
    std::string text;
    write(TTextSink([&](const char* p, size_t n) {
        text.append(p, n);
        return true;
    }));
    return text;
}

// Gathers a writer's lines into blocks of about a megabyte for a sink, so
// that no writer holds a whole file's text: dumps of large chips run to
// tens of megabytes of text.
class TTextBlock {
public:
    explicit TTextBlock(const TTextSink& sink) : sink_(sink), buf_(BlockSize) {}

    // Room for n more characters (n well below the block size).
    char* Room(size_t n)
    {
        if (used_ + n > buf_.size())
            Flush();
        return buf_.data() + used_;
    }
    // The characters up to `end` are the writer's.
    void Used(const char* end) { used_ = size_t(end - buf_.data()); }
    // false once the sink has refused a block.
    bool Ok() const { return ok_; }
    // Hands over what is left.
    bool Finish()
    {
        Flush();
        return ok_;
    }

private:
    static constexpr size_t BlockSize = size_t(1) << 20;
    const TTextSink& sink_;
    std::vector<char> buf_;
    size_t used_ = 0;
    bool ok_ = true;

    void Flush()
    {
        if (ok_ && used_ > 0)
            ok_ = sink_(buf_.data(), used_);
        used_ = 0;
    }
};

// Reads the hex fields of one record line, summing its bytes for the
// checksum and naming the failing field in the error texts.
class TRecordCursor {
public:
    TRecordCursor(const char* begin, const char* end) : pos_(begin), end_(end) {}

    // A number field of nBytes bytes (2 * nBytes digits), most significant
    // byte first.
    bool Value(int nBytes, uint32_t& value, std::string& error)
    {
        const size_t digits = size_t(nBytes) * 2;
        if (Left() < digits) {
            error = dumptext::UnexpectedEnd;
            return false;
        }
        uint32_t v = 0;
        for (int i = 0; i < nBytes; ++i) {
            const int b = HexByteAt(pos_ + 2 * i);
            if (b < 0) {
                error = dumptext::UnknownSymbols(pos_, digits);
                return false;
            }
            v = (v << 8) | uint32_t(b);
            sum_ += uint32_t(b);
        }
        pos_ += digits;
        value = v;
        return true;
    }
    // n data bytes, each its own two-digit field; out may be null.
    bool Data(size_t n, uint8_t* out, std::string& error)
    {
        const size_t whole = n < Left() / 2 ? n : Left() / 2;
        uint32_t sum = 0;
        for (size_t i = 0; i < whole; ++i) {
            const int b = HexByteAt(pos_);
            if (b < 0) {
                error = dumptext::UnknownSymbols(pos_, 2);
                return false;
            }
            sum += uint32_t(b);
            if (out)
                out[i] = uint8_t(b);
            pos_ += 2;
        }
        sum_ += sum;
        if (whole < n) {
            error = dumptext::UnexpectedEnd;
            return false;
        }
        return true;
    }
    // The checksum field, which with the sum of the bytes before it gives
    // `total` in its low byte, ending the line.
    bool Checksum(uint8_t total, std::string& error)
    {
        const uint32_t sum = sum_;
        uint32_t value;
        if (!Value(1, value, error))
            return false;
        if (((sum + value) & 0xFF) != total) {
            error = dumptext::ChecksumError;
            return false;
        }
        if (Left() != 0) {
            error = dumptext::TrailingCharacters;
            return false;
        }
        return true;
    }
    // Characters left on the line.
    size_t Left() const { return size_t(end_ - pos_); }

private:
    const char* pos_;
    const char* end_;
    uint32_t sum_ = 0;
};
