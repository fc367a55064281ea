// EEF, the program's own text format: "X", a type digit, LLLL (data bytes
// + 4), a 24-bit address AAAAAA, the data and a checksum CC, all hex.
#include "buffer/FileServRecords.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t EefTextLimit = 256;
const char* const ProducerText = "Tarku programmer";

// Parses the fields after "X" and the type digit of a trimmed line.
// target(address, n) gives where the n data bytes go (null: check only).
template <class Target>
bool ParseEefFields(const char* b, const char* e, Target&& target, std::string& error)
{
    TRecordCursor c(b + 2, e);
    uint32_t length, address;
    if (!c.Value(2, length, error) || !c.Value(3, address, error))
        return false;
    if (length < 4) {
        error = dumptext::WrongLength;
        return false;
    }
    const size_t n = length - 4;
    return c.Data(n, target(address, n), error) && c.Checksum(0xFF, error);
}

bool IsEefRecordStart(const char* b, const char* e)
{
    return e - b >= 14 && b[0] == 'X' && b[1] >= '0' && b[1] <= '9';
}

void TrimmedLine(const std::string& line, const char*& b, const char*& e)
{
    b = line.data();
    e = b + line.size();
    while (b < e && static_cast<unsigned char>(*b) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(e[-1]) <= ' ')
        --e;
}

// "X" type LLLL AAAAAA data CC for n bytes at data, written at out (14 +
// 2 n characters); returns the end.
char* PutEefRecord(char* p, char type, uint32_t address, const uint8_t* data, size_t n)
{
    p[0] = 'X';
    p[1] = type;
    const uint32_t length = uint32_t(n) + 4;
    uint32_t sum = (length >> 8) + (length & 0xFF) + (address >> 16 & 0xFF) + (address >> 8 & 0xFF) + (address & 0xFF);
    PutHexByte(p + 2, uint8_t(length >> 8));
    PutHexByte(p + 4, uint8_t(length));
    PutHexByte(p + 6, uint8_t(address >> 16));
    PutHexByte(p + 8, uint8_t(address >> 8));
    PutHexByte(p + 10, uint8_t(address));
    p += 12;
    for (size_t i = 0; i < n; ++i) {
        sum += data[i];
        PutHexByte(p, data[i]);
        p += 2;
    }
    PutHexByte(p, uint8_t(~sum));
    return p + 2;
}

std::string MakeEefRecord(char type, uint32_t address, const uint8_t* data, size_t n)
{
    std::string line(14 + 2 * n, '\0');
    PutEefRecord(line.data(), type, address, data, n);
    return line;
}

bool AllFF(const uint8_t* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] != 0xFF)
            return false;
    return true;
}

// The old file's header lines, up to its first data record, when every
// line read is a sound record with data; else a new header.
std::string EefHeader(const std::string& oldText, const std::string& description)
{
    std::string header;
    bool keep = false;
    ForEachDumpLine(oldText, [&](int64_t, const char* b, const char* e) {
        if (b == e)
            return true;
        const std::string line(b, e);
        keep = CheckEefRecord(line);
        if (!keep)
            return false;
        if (line[1] < '4')
            header += line + "\r\n";
        return line[1] != '7';
    });
    if (keep)
        return header;
    header = MakeEefTextRecord(ProducerText) + "\r\n";
    size_t at = 0;
    do {
        std::string record = MakeEefTextRecord(description.substr(at, EefTextLimit));
        record[1] = '1';
        header += record + "\r\n";
        at += EefTextLimit;
    } while (at < description.size());
    return header;
}

} // namespace

bool ParseEefRecord(const std::string& line, std::string& data, int& count, int64_t& address)
{
    const char *b, *e;
    TrimmedLine(line, b, e);
    if (!IsEefRecordStart(b, e))
        return false;
    std::string bytes, error;
    uint32_t at = 0;
    auto target = [&](uint32_t a, size_t n) {
        at = a;
        bytes.resize(n);
        return reinterpret_cast<uint8_t*>(bytes.data());
    };
    if (!ParseEefFields(b, e, target, error))
        return false;
    data = std::move(bytes);
    count = int(data.size());
    address = at;
    return true;
}

bool CheckEefRecord(const std::string& line)
{
    const char *b, *e;
    TrimmedLine(line, b, e);
    if (e - b < 16 || !IsEefRecordStart(b, e))
        return false;
    std::string error;
    size_t count = 0;
    auto target = [&](uint32_t, size_t n) {
        count = n;
        return static_cast<uint8_t*>(nullptr);
    };
    return ParseEefFields(b, e, target, error) && count >= 1;
}

bool ParseEefLines(const TDumpLines& lines, TDumpImage& image, TDumpError& error)
{
    TDumpImage out = image.Fresh();
    std::string description;
    const bool ok = ParseRecordLines(lines, out, error, [&](int64_t, const char* b, const char* e, std::string& message) {
        if (!IsEefRecordStart(b, e)) {
            message = dumptext::UnknownEefFormat;
            return -1;
        }
        if (b[1] == '7') {
            auto target = [&](uint32_t address, size_t n) { return out.Append(address, n); };
            return ParseEefFields(b, e, target, message) ? 1 : -1;
        }
        if (b[1] == '1') {
            auto target = [&](uint32_t, size_t n) {
                description.resize(n);
                return reinterpret_cast<uint8_t*>(description.data());
            };
            if (!ParseEefFields(b, e, target, message))
                return -1;
            out.EefText += description;
        }
        return 1; // producer text and types of other programs are skipped
    });
    if (ok)
        image = std::move(out);
    return ok;
}

bool ParseEefText(const std::string& text, TDumpImage& image, TDumpError& error)
{
    return ParseEefLines(TDumpTextLines(text), image, error);
}

std::string MakeEefTextRecord(const std::string& text)
{
    return MakeEefRecord('0', 0, reinterpret_cast<const uint8_t*>(text.data()), std::min(text.size(), EefTextLimit));
}

std::string MakeEefDataRecord(const TDumpBuffer& buffer, int64_t first, int count, bool& allFF)
{
    const uint8_t* p = buffer.Data.data() + first;
    allFF = AllFF(p, size_t(count));
    return MakeEefRecord('7', uint32_t(first), p, size_t(count));
}

bool WriteEefText(const TDumpBuffer& buffer, const std::string& oldText, const std::string& description,
                  const TTextSink& sink)
{
    const int64_t n = buffer.GetSize();
    if (n > EefMaxSize)
        return false;
    const std::string header = EefHeader(oldText, description);
    if (!sink(header.data(), header.size()))
        return false;
    const uint8_t* data = buffer.Data.data();
    TTextBlock block(sink);
    for (int64_t start = 0; start < n && block.Ok(); start += 32) {
        const size_t len = size_t(std::min<int64_t>(32, n - start));
        if (start + int64_t(len) < n && AllFF(data + start, len))
            continue;
        char* p = PutEefRecord(block.Room(14 + 64 + 2), '7', uint32_t(start), data + start, len);
        p[0] = '\r';
        p[1] = '\n';
        block.Used(p + 2);
    }
    return block.Finish();
}

bool MakeEefText(const TDumpBuffer& buffer, const std::string& oldText, const std::string& description,
                 std::string& text)
{
    bool ok = false;
    std::string out =
        GatherText([&](const TTextSink& sink) { return ok = WriteEefText(buffer, oldText, description, sink); });
    if (ok)
        text = std::move(out);
    return ok;
}
