#include "skin/acSkinPack.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"

#include <zlib.h>

namespace {

const char* const NotPackedMessage = "Loaded data is not packed Brisvane file";

// Reads the little-endian fields of the archive, refusing to run past its end.
class TArchiveReader {
public:
    explicit TArchiveReader(std::string_view bytes) : bytes_(bytes) {}

    size_t Left() const { return bytes_.size() - pos_; }
    int32_t Int32()
    {
        if (Left() < 4)
            throw EacSkinPack("Packed skin is truncated");
        auto b = reinterpret_cast<const uint8_t*>(bytes_.data() + pos_);
        pos_ += 4;
        return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    }
    std::string_view Bytes(size_t n)
    {
        if (Left() < n)
            throw EacSkinPack("Packed skin is truncated");
        std::string_view s = bytes_.substr(pos_, n);
        pos_ += n;
        return s;
    }
    // Inflates one zlib stream at the position into exactly `size` bytes and
    // moves past the compressed bytes it used.
    std::string Inflate(size_t size);

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

std::string TArchiveReader::Inflate(size_t size)
{
    std::string out(size, '\0');
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw EacSkinPack("Packed skin: decompression failed");
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes_.data() + pos_));
    z.avail_in = uInt(std::min<size_t>(Left(), 0xFFFFFFFFu));
    // One byte more than stated lets a stream that is longer show itself.
    std::string spare(1, '\0');
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(size);
    int rc = inflate(&z, Z_FINISH);
    if (rc == Z_BUF_ERROR && z.avail_out == 0) {
        z.next_out = reinterpret_cast<Bytef*>(spare.data());
        z.avail_out = 1;
        rc = inflate(&z, Z_FINISH);
    }
    size_t produced = z.total_out;
    size_t used = z.total_in;
    inflateEnd(&z);
    if (rc != Z_STREAM_END || produced != size)
        throw EacSkinPack("Packed skin: an entry does not unpack to its stated size");
    pos_ += used;
    return out;
}

bool SameTextAscii(const std::string& a, const char* b)
{
    return AnsiUpperCase(a) == AnsiUpperCase(b);
}

} // namespace

void TacSkinConvertor::Clear()
{
    ImageCount = 0;
    Files.clear();
    Options.clear();
}

void TacSkinConvertor::Unpack(std::string_view source)
{
    Clear();
    try {
        TArchiveReader r(source);
        if (r.Left() < 4 || r.Bytes(4) != "ASzf")
            throw EacSkinPack(NotPackedMessage);
        int32_t n = r.Int32();
        // Each entry takes at least its two numbers and a minimal zlib stream.
        if (n < 1 || size_t(n) > r.Left() / 16)
            throw EacSkinPack("Packed skin: bad entry count");
        int64_t total = 0;
        int options = 0;
        for (int32_t i = 0; i < n; ++i) {
            int32_t nameLength = r.Int32();
            if (nameLength < 0 || nameLength > MaxNameLength)
                throw EacSkinPack("Packed skin: bad entry name");
            std::string name(r.Bytes(size_t(nameLength)));
            int32_t size = r.Int32();
            if (size < 0 || size > MaxEntrySize || (total += size) > MaxTotalSize)
                throw EacSkinPack("Packed skin: entry too large");
            std::string data = r.Inflate(size_t(size));
            if (SameTextAscii(name, "Options.dat")) {
                ++options;
                Options = std::move(data);
                continue;
            }
            std::string upper = AnsiUpperCase(name);
            bool isBitmap = upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".BMP") == 0;
            Files.push_back({std::move(name), isBitmap, std::move(data)});
        }
        if (options != 1)
            throw EacSkinPack("Packed skin must hold exactly one Options.dat");
        ImageCount = int(Files.size());
    } catch (...) {
        Clear();
        throw;
    }
}

const TacSkinFile* TacSkinConvertor::FindFile(const std::string& upperName) const
{
    for (const TacSkinFile& f : Files)
        if (AnsiUpperCase(f.FileName) == upperName)
            return &f;
    return nullptr;
}

bool LoadSkinFile(const std::string& nativePath, TacSkinConvertor& convertor)
{
    std::string bytes;
    if (!FileExists(nativePath) || !ReadWholeFile(nativePath, bytes))
        return false;
    convertor.Unpack(bytes);
    return true;
}
