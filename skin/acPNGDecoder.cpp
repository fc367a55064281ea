// CRC-32 and the inflate stream of the PNG reader.
#include "skin/acPNG.h"

#include <zlib.h>

namespace {

// Eight tables so that the loop takes eight bytes per pass: table k gives
// the CRC of a byte followed by k zero bytes.
uint32_t crcTables[8][256];
bool crcTablesBuilt = false;

} // namespace

void BuildCRCTable()
{
    if (crcTablesBuilt)
        return;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crcTables[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (int t = 1; t < 8; ++t)
            crcTables[t][i] = (crcTables[t - 1][i] >> 8) ^ crcTables[0][crcTables[t - 1][i] & 0xFF];
    crcTablesBuilt = true;
}

uint32_t UpdateCRC(uint32_t crc, const void* data, size_t count)
{
    if (!data)
        return 0;
    BuildCRCTable();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint32_t c = ~crc;
    for (; count >= 8; count -= 8, p += 8) {
        const uint32_t lo = c ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
        c = crcTables[7][lo & 0xFF] ^ crcTables[6][(lo >> 8) & 0xFF] ^ crcTables[5][(lo >> 16) & 0xFF]
            ^ crcTables[4][lo >> 24] ^ crcTables[3][p[4]] ^ crcTables[2][p[5]] ^ crcTables[1][p[6]]
            ^ crcTables[0][p[7]];
    }
    for (; count > 0; --count, ++p)
        c = crcTables[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return ~c;
}

struct TLZ77Decoder::Stream {
    z_stream z{};
};

TLZ77Decoder::TLZ77Decoder(int flushKind, bool resetEachCall)
    : stream_(std::make_unique<Stream>()), flushKind_(flushKind), resetEachCall_(resetEachCall)
{
}

TLZ77Decoder::~TLZ77Decoder()
{
    if (started_)
        inflateEnd(&stream_->z);
}

void TLZ77Decoder::Start()
{
    if (inflateInit(&stream_->z) != Z_OK)
        throw EGraphicCompression("LZ77 decompression error.");
    started_ = true;
}

int TLZ77Decoder::Inflate(const uint8_t*& source, uint8_t*& dest, unsigned outSize, unsigned inSize)
{
    z_stream& z = stream_->z;
    if (resetEachCall_)
        inflateReset(&z);
    z.next_in = const_cast<Bytef*>(source);
    z.avail_in = inSize;
    z.next_out = dest;
    z.avail_out = outSize;
    lastResult_ = inflate(&z, flushKind_);
    source = z.next_in;
    dest = z.next_out;
    return lastResult_;
}

void TLZ77Decoder::Finish()
{
    if (!started_)
        return;
    started_ = false;
    if (inflateEnd(&stream_->z) != Z_OK)
        throw EGraphicCompression("LZ77 decompression error.");
}

unsigned TLZ77Decoder::InputLeft() const
{
    return stream_->z.avail_in;
}

unsigned TLZ77Decoder::OutputLeft() const
{
    return stream_->z.avail_out;
}
