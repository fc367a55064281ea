// Motorola S-records: "S" type count address data checksum, one a line.
#include "buffer/FileServRecords.h"

#include <algorithm>
#include <cstring>

namespace {

// Address bytes of each record type; 0 for the reserved type 4.
constexpr int AddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

} // namespace

bool ParseS19Text(const std::string& text, TDumpImage& image, TDumpError& error)
{
    TDumpImage out;
    out.Bytes.reserve(text.size() / 2);
    bool ok = true;
    // End of the last S1 record. Files this program wrote for buffers above
    // 64 KiB carry S1 records whose 16-bit addresses wrap around; a record
    // that starts where the last one ended, modulo 64 KiB, continues it.
    uint64_t s1End = 0;
    ForEachDumpLine(text, [&](int64_t index, const char* b, const char* e) {
        if (b == e)
            return true;
        auto fail = [&](std::string message) {
            error.Line = index;
            error.Text = std::move(message);
            ok = false;
            return false;
        };
        if ((*b != 'S' && *b != 's') || e - b < 2 || b[1] < '0' || b[1] > '9')
            return fail(dumptext::UnknownS19Format);
        const int type = b[1] - '0';
        const int addressBytes = AddressBytes[type];
        if (addressBytes == 0)
            return fail(dumptext::UnknownRecordType);
        TRecordCursor c(b + 2, e);
        std::string message;
        uint32_t count, address;
        if (!c.Value(1, count, message))
            return fail(message);
        if (int(count) < addressBytes + 1)
            return fail(dumptext::WrongLength);
        if (!c.Value(addressBytes, address, message))
            return fail(message);
        const size_t n = count - uint32_t(addressBytes) - 1;
        uint8_t* target = nullptr;
        if (type >= 1 && type <= 3) {
            uint64_t at = address;
            if (type == 1 && s1End > 0xFFFF && (s1End & 0xFFFF) == address)
                at = s1End;
            if (type == 1)
                s1End = at + n;
            target = out.Append(at, n);
        }
        // Header, count and end records: their bytes are checked, not kept.
        if (!c.Data(n, target, message))
            return fail(message);
        if (!c.Checksum(0xFF, message))
            return fail(message);
        return type < 7;
    });
    if (ok)
        image = std::move(out);
    return ok;
}

bool WriteS19Text(const TDumpBuffer& buffer, const TTextSink& sink)
{
    const uint64_t n = uint64_t(buffer.GetSize());
    const int type = n <= 0x10000 ? 1 : n <= 0x1000000 ? 2 : 3;
    const int addressBytes = type + 1;
    const uint8_t* data = buffer.Data.data();
    TTextBlock block(sink);
    for (uint64_t start = 0; start < n && block.Ok(); start += 16) {
        const size_t len = size_t(std::min<uint64_t>(16, n - start));
        const uint32_t count = uint32_t(len) + uint32_t(addressBytes) + 1;
        char* p = block.Room(4 + 2 * 4 + 32 + 4);
        p[0] = 'S';
        p[1] = char('0' + type);
        PutHexByte(p + 2, uint8_t(count));
        p += 4;
        uint32_t sum = count;
        for (int i = addressBytes - 1; i >= 0; --i) {
            const uint8_t a = uint8_t(start >> (8 * i));
            sum += a;
            PutHexByte(p, a);
            p += 2;
        }
        for (size_t i = 0; i < len; ++i) {
            sum += data[start + i];
            PutHexByte(p, data[start + i]);
            p += 2;
        }
        PutHexByte(p, uint8_t(~sum));
        p[2] = '\r';
        p[3] = '\n';
        block.Used(p + 4);
    }
    return block.Finish();
}

std::string MakeS19Text(const TDumpBuffer& buffer)
{
    return GatherText([&](const TTextSink& sink) { return WriteS19Text(buffer, sink); });
}
