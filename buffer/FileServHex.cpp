// Intel HEX: ":" count address type data checksum, one record a line.
#include "buffer/FileServRecords.h"

#include <algorithm>
#include <cstring>

bool ParseHexLines(const TDumpLines& lines, TDumpImage& image, TDumpError& error)
{
    TDumpImage out = image.Fresh();
    uint64_t base = 0;
    // Reading goes on after an end-of-file record, so files joined one after
    // another load whole; text that is no record (a DOS end-of-file mark, a
    // note) ends the file there.
    bool ended = false;
    const bool ok = ParseRecordLines(lines, out, error, [&](int64_t, const char* b, const char* e, std::string& message) {
        if (ended && *b != ':')
            return 0;
        if (*b != ':') {
            message = dumptext::UnknownHexFormat;
            return -1;
        }
        TRecordCursor c(b + 1, e);
        uint32_t count, address, type, value;
        if (!c.Value(1, count, message) || !c.Value(2, address, message) || !c.Value(1, type, message))
            return -1;
        switch (type) {
        case 0:
            if (!c.Data(count, out.Append(base + address, count), message))
                return -1;
            break;
        case 1:
            ended = true;
            break;
        case 2:
        case 4:
            // The count field is not compared with the digits that follow,
            // as files written with a wrong count have always loaded.
            if (!c.Value(2, value, message))
                return -1;
            base = type == 2 ? uint64_t(value) << 4 : uint64_t(value) << 16;
            break;
        case 3:
        case 5:
            if (!c.Value(4, value, message))
                return -1;
            break;
        default:
            message = dumptext::UnknownRecordType;
            return -1;
        }
        return c.Checksum(0, message) ? 1 : -1;
    });
    if (ok)
        image = std::move(out);
    return ok;
}

bool ParseHexText(const std::string& text, TDumpImage& image, TDumpError& error)
{
    return ParseHexLines(TDumpTextLines(text), image, error);
}

namespace {

// ":" count address type, then the data and the two's complement checksum.
char* PutHexRecord(char* p, uint8_t type, uint32_t address, const uint8_t* data, size_t n)
{
    *p++ = ':';
    uint32_t sum = uint32_t(n) + (address >> 8) + (address & 0xFF) + type;
    PutHexByte(p, uint8_t(n));
    PutHexByte(p + 2, uint8_t(address >> 8));
    PutHexByte(p + 4, uint8_t(address));
    PutHexByte(p + 6, type);
    p += 8;
    for (size_t i = 0; i < n; ++i) {
        sum += data[i];
        PutHexByte(p, data[i]);
        p += 2;
    }
    PutHexByte(p, uint8_t(-sum));
    p[2] = '\r';
    p[3] = '\n';
    return p + 4;
}

bool AllFF16(const uint8_t* p)
{
    uint64_t a, b;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    return (a & b) == ~uint64_t(0);
}

} // namespace

bool WriteHexText(const TDumpBuffer& buffer, const TTextSink& sink)
{
    const uint64_t n = uint64_t(buffer.GetSize());
    const uint8_t* data = buffer.Data.data();
    TTextBlock block(sink);
    uint32_t upper = 0;
    for (uint64_t start = 0; start < n && block.Ok(); start += 16) {
        const size_t len = size_t(std::min<uint64_t>(16, n - start));
        const bool last = start + len == n;
        if (len == 16 && !last && AllFF16(data + start))
            continue;
        // An address record (17 characters) and a data record (45).
        char* p = block.Room(17 + 45);
        if ((start >> 16) != upper) {
            upper = uint32_t(start >> 16);
            const uint8_t value[2] = {uint8_t(upper >> 8), uint8_t(upper)};
            p = PutHexRecord(p, 4, 0, value, 2);
        }
        block.Used(PutHexRecord(p, 0, uint32_t(start & 0xFFFF), data + start, len));
    }
    static const char eof[] = ":00000001FF\r\n";
    char* p = block.Room(sizeof eof - 1);
    std::memcpy(p, eof, sizeof eof - 1);
    block.Used(p + sizeof eof - 1);
    return block.Finish();
}

std::string MakeHexText(const TDumpBuffer& buffer)
{
    return GatherText([&](const TTextSink& sink) { return WriteHexText(buffer, sink); });
}
