// Motorola S-records: "S" type count address data checksum, one a line.
#include "buffer/FileServRecords.h"

#include <algorithm>
#include <cstring>

namespace {

// Address bytes of each record type; 0 for the reserved type 4.
constexpr int AddressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

} // namespace

namespace {

// Files this program once wrote for buffers above 64 KiB hold only S1
// records, one run from address 0 with no header, whose 16-bit addresses
// wrap around at 64 KiB. Their data is taken in file order; any other file
// puts its data at the addresses it names.
class TWrappedS1 {
public:
    explicit TWrappedS1(bool allowed) : shape_(allowed) {}

    // Where n bytes of a record of this type at `address` go.
    uint64_t Place(int type, uint32_t address, size_t n)
    {
        if (type == 0 || type == 2 || type == 3)
            Broken();
        if (type != 1 || n == 0)
            return address;
        if (!shape_ || address != (end_ & 0xFFFF)) {
            Broken();
            return address;
        }
        const uint64_t at = end_;
        wrapped_ = wrapped_ || at != address;
        end_ = at + n;
        return at;
    }
    // Data was moved by a wrap the rest of the file shows to be wrong.
    bool Misplaced() const { return misplaced_; }

private:
    bool shape_;
    bool wrapped_ = false;
    bool misplaced_ = false;
    uint64_t end_ = 0;

    void Broken()
    {
        misplaced_ = misplaced_ || (shape_ && wrapped_);
        shape_ = false;
    }
};

bool ParseS19Pass(const TDumpLines& lines, bool recoverWrapped, TDumpImage& image, TDumpError& error,
                  bool& misplaced)
{
    TDumpImage out = image.Fresh();
    TWrappedS1 wrap(recoverWrapped);
    // As in Intel HEX files, reading goes on after an end record while
    // records follow; other text ends the file there.
    bool ended = false;
    const bool ok = ParseRecordLines(lines, out, error, [&](int64_t, const char* b, const char* e, std::string& message) {
        const bool record = (*b == 'S' || *b == 's') && e - b >= 2 && b[1] >= '0' && b[1] <= '9';
        if (ended && !record)
            return 0;
        if (!record) {
            message = dumptext::UnknownS19Format;
            return -1;
        }
        const int type = b[1] - '0';
        const int addressBytes = AddressBytes[type];
        if (addressBytes == 0) {
            message = dumptext::UnknownRecordType;
            return -1;
        }
        TRecordCursor c(b + 2, e);
        uint32_t count, address;
        if (!c.Value(1, count, message))
            return -1;
        if (int(count) < addressBytes + 1) {
            message = dumptext::WrongLength;
            return -1;
        }
        if (!c.Value(addressBytes, address, message))
            return -1;
        const size_t n = count - uint32_t(addressBytes) - 1;
        // Header, count and end records: their bytes are checked, not kept.
        uint8_t* target = type >= 1 && type <= 3 ? out.Append(wrap.Place(type, address, n), n) : nullptr;
        if (type == 0)
            wrap.Place(type, address, n);
        if (!c.Data(n, target, message) || !c.Checksum(0xFF, message))
            return -1;
        if (wrap.Misplaced())
            return 0;
        ended = ended || type >= 7;
        return 1;
    });
    misplaced = wrap.Misplaced();
    if (ok && !misplaced)
        image = std::move(out);
    return ok;
}

} // namespace

bool ParseS19Lines(const TDumpLines& lines, TDumpImage& image, TDumpError& error)
{
    bool misplaced = false;
    if (!ParseS19Pass(lines, true, image, error, misplaced))
        return false;
    // Read once more, each record at its address.
    return !misplaced || ParseS19Pass(lines, false, image, error, misplaced);
}

bool ParseS19Text(const std::string& text, TDumpImage& image, TDumpError& error)
{
    return ParseS19Lines(TDumpTextLines(text), image, error);
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
