// Record readers and writers: the byte-exact lines of the writers, files
// written by other tools, and malformed lines.
#include "buffer/FileServRecords.h"

#include "TestSupport.h"
#include "buffer/FileServ.h"

#include <gtest/gtest.h>

namespace {

TDumpBuffer BufferOf(const std::vector<uint8_t>& bytes)
{
    TDumpBuffer b;
    b.SetSize(int64_t(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), b.Data.begin());
    return b;
}

// The image laid out over `size` bytes of 0xFF.
std::vector<uint8_t> Flat(const TDumpImage& image, size_t size)
{
    std::vector<uint8_t> out(size);
    image.CopyTo(out.data(), size);
    return out;
}

uint8_t Pattern(uint64_t a) { return uint8_t(a * 7 + 3); }

TEST(DumpWriters, LinesOfSmallBuffers)
{
    std::vector<uint8_t> bytes(17, 0x00);
    bytes[16] = 0x41;
    const std::string hex = MakeHexText(BufferOf(bytes));
    EXPECT_EQ(hex, ":10000000" + std::string(32, '0') + "F0\r\n"
                   ":0100100041AE\r\n"
                   ":00000001FF\r\n");
    const TDumpBuffer ab = BufferOf({0x41, 0x42});
    EXPECT_EQ(MakeS19Text(ab), "S1050000414277\r\n");
    bool allFF = true;
    EXPECT_EQ(MakeEefDataRecord(ab, 0, 2, allFF), "X70006000000414276");
    EXPECT_FALSE(allFF);
    EXPECT_EQ(MakeEefTextRecord("AB"), "X00006000000414276");
    EXPECT_EQ(MakeHexText(TDumpBuffer()), ":00000001FF\r\n");
    EXPECT_EQ(MakeS19Text(TDumpBuffer()), "");
}

TEST(DumpWriters, IntelHexLeavesOutFullFFRecordsButNeverTheLast)
{
    std::vector<uint8_t> bytes(48, 0xFF);
    bytes[20] = 0x00;
    const std::string hex = MakeHexText(BufferOf(bytes));
    // 0000 all 0xFF is left out; 0010 holds data; 0020, all 0xFF, is the
    // last record and keeps the size.
    EXPECT_EQ(hex.find(":10000000"), std::string::npos);
    EXPECT_NE(hex.find(":10001000"), std::string::npos);
    EXPECT_NE(hex.find(":10002000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFE0\r\n"), std::string::npos);

    // A 64 KiB buffer of 0xFF: its last record and the end line.
    TDumpBuffer ff;
    ff.SetSize(0x10000);
    ff.EraseBuffer();
    EXPECT_EQ(MakeHexText(ff), ":10FFF000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF11\r\n:00000001FF\r\n");
}

TEST(DumpWriters, AddressesAbove64KiB)
{
    TDumpBuffer b;
    b.SetSize(0x20010);
    for (int64_t i = 0; i < b.GetSize(); ++i)
        b.Data[size_t(i)] = Pattern(uint64_t(i));
    const std::string hex = MakeHexText(b);
    EXPECT_NE(hex.find(":10FFF000"), std::string::npos);
    EXPECT_NE(hex.find("\r\n:020000040001F9\r\n:10000000"), std::string::npos);
    EXPECT_NE(hex.find("\r\n:020000040002F8\r\n:10000000"), std::string::npos);
    const std::string s19 = MakeS19Text(b);
    EXPECT_EQ(s19.substr(0, 10), "S214000000");
    EXPECT_NE(s19.find("\r\nS214020000"), std::string::npos);

    // Up to 64 KiB the writers keep 16-bit addresses and S1 records.
    b.SetSize(0x10000);
    EXPECT_EQ(MakeHexText(b).find(":02000004"), std::string::npos);
    EXPECT_EQ(MakeS19Text(b).find("S2"), std::string::npos);
}

TEST(DumpWriters, ARefusedPieceStopsTheWriter)
{
    // 1 MiB of data gives about 3 MB of text: several pieces. (The round
    // trips of 1 MiB buffers show that the pieces join up.)
    TDumpBuffer b;
    b.SetSize(1 << 20);
    using TWriter = std::function<bool(const TTextSink&)>;
    const TWriter writers[] = {
        [&](const TTextSink& s) { return WriteHexText(b, s); },
        [&](const TTextSink& s) { return WriteS19Text(b, s); },
        [&](const TTextSink& s) { return WriteEefText(b, "", "", s); },
        [&](const TTextSink& s) { return WriteTextDump(b, 0, b.LastIndex, true, s); },
    };
    for (const auto& write : writers) {
        int pieces = 0;
        ASSERT_TRUE(write([&](const char*, size_t) { return ++pieces > 0; }));
        EXPECT_GT(pieces, 2);
        pieces = 0;
        EXPECT_FALSE(write([&](const char*, size_t) {
            ++pieces;
            return false;
        }));
        EXPECT_EQ(pieces, 1) << "nothing is handed on after a refused piece";
    }
}

TEST(DumpWriters, EefHeaderKeptOnlyWhenSound)
{
    const TDumpBuffer b = BufferOf(std::vector<uint8_t>(64, 0x11));
    std::string first;
    ASSERT_TRUE(MakeEefText(b, "", "", first));
    // New header: producer text, an empty description, then two records.
    EXPECT_EQ(first.substr(0, first.find("\r\n")), MakeEefTextRecord("Tarku programmer"));
    EXPECT_NE(first.find("\r\nX10004000000FB\r\n"), std::string::npos);
    EXPECT_EQ(first.find("X7"), first.find("X70024000000"));
    EXPECT_NE(first.find("X70024000020"), std::string::npos);

    // The empty description record forces a new header again.
    std::string second;
    ASSERT_TRUE(MakeEefText(b, first, "", second));
    EXPECT_EQ(second, first);

    // A header whose records all carry text is kept as it is.
    std::string described = MakeEefTextRecord("Other producer") + "\r\n";
    std::string x1 = MakeEefTextRecord("chip 27C64");
    x1[1] = '1';
    described += x1 + "\r\nX9000500000011E9\r\n";
    std::string third;
    ASSERT_TRUE(MakeEefText(b, described + first.substr(first.find("X7")), "ignored", third));
    EXPECT_EQ(third.substr(0, third.find("X7")), MakeEefTextRecord("Other producer") + "\r\n" + x1 + "\r\n");

    // Long descriptions are split into records of 256 characters.
    std::string fourth;
    ASSERT_TRUE(MakeEefText(b, "", std::string(300, 'd'), fourth));
    TDumpImage image;
    TDumpError error;
    ASSERT_TRUE(ParseEefText(fourth, image, error));
    EXPECT_EQ(image.EefText, std::string(300, 'd'));
}

TEST(DumpRecords, EefRecordChecks)
{
    std::string data;
    int count = -1;
    int64_t address = -1;
    EXPECT_TRUE(ParseEefRecord("X70006000000414276", data, count, address));
    EXPECT_EQ(data, "AB");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(address, 0);
    EXPECT_TRUE(ParseEefRecord("x70006000000414276", data, count, address) == false);
    EXPECT_FALSE(ParseEefRecord("X70006000000414277", data, count, address)) << "checksum";
    EXPECT_FALSE(ParseEefRecord("X7000600000041427", data, count, address)) << "short";
    EXPECT_FALSE(ParseEefRecord("X7000300000041FC", data, count, address)) << "LLLL below 4";
    EXPECT_TRUE(CheckEefRecord("X70006000000414276"));
    EXPECT_FALSE(CheckEefRecord("X10004000000FB")) << "no data byte";
    EXPECT_TRUE(ParseEefRecord("X10004000000FB", data, count, address));
    EXPECT_EQ(count, 0);
}

// Files written by other tools load to the bytes they describe.
struct ElsewhereCase {
    const char* file;
    bool (*parse)(const std::string&, TDumpImage&, TDumpError&);
    std::vector<std::pair<uint64_t, uint64_t>> ranges; // [first, end) holding Pattern
    uint64_t size;
    std::string text;
};

TEST(DumpRecords, FilesFromElsewhere)
{
    const ElsewhereCase cases[] = {
        {"linear32.hex", ParseHexText, {{0, 64}, {0x10010, 0x10038}}, 0x10038, ""},
        {"segment.hex", ParseHexText, {{0x8, 0x10}, {0x10020, 0x10050}}, 0x10050, ""},
        {"header_s2.s19", ParseS19Text, {{0x10000, 0x10064}}, 0x10064, ""},
        {"gap_s3.s19", ParseS19Text, {{0x100, 0x114}, {0x200, 0x210}}, 0x210, ""},
        {"lower_s1.s19", ParseS19Text, {{0x40, 0x58}}, 0x58, ""},
    };
    for (const auto& c : cases) {
        const std::string text = testsupport::ReadFileBytes(testsupport::FixturePath(std::string("buffer/") + c.file));
        TDumpImage image;
        TDumpError error;
        ASSERT_TRUE(c.parse(text, image, error)) << c.file << ": " << DumpErrorMessage(error);
        EXPECT_EQ(image.Size, c.size) << c.file;
        const std::vector<uint8_t> flat = Flat(image, size_t(c.size));
        for (uint64_t a = 0; a < c.size; ++a) {
            bool inside = false;
            for (const auto& r : c.ranges)
                inside = inside || (a >= r.first && a < r.second);
            ASSERT_EQ(flat[a], inside ? Pattern(a) : 0xFF) << c.file << " at " << a;
        }
    }
}

TEST(DumpRecords, IntelHexSegmentAndLinearBases)
{
    // Type 02 with 0x1000 places the records that follow at 0x10000 on.
    const std::string text = ":020000021000EC\n:0100000041BE\n:020000040002F8\n:0100050042B8\n:00000001FF\n";
    TDumpImage image;
    TDumpError error;
    ASSERT_TRUE(ParseHexText(text, image, error));
    const auto flat = Flat(image, 0x20006);
    EXPECT_EQ(flat[0x10000], 0x41);
    EXPECT_EQ(flat[0x20005], 0x42);
    EXPECT_EQ(image.Size, 0x20006u);
    EXPECT_EQ(flat[0], 0xFF);
}

TEST(DumpRecords, IntelHexDataRecordWithoutBytesAndEndOfFile)
{
    // A data record of count 0 is empty, not an error; text after an end
    // record that is no record (a DOS end-of-file character, a note) ends
    // the file.
    TDumpImage image;
    TDumpError error;
    ASSERT_TRUE(ParseHexText(":00001000F0\n\n:0100000041BE\r\n:00000001FF\r\n\x1a garbage", image, error));
    EXPECT_EQ(image.Size, 1u);

    // Records after an end record are read: two files joined load whole.
    const std::string first = ":0100000041BE\r\n:00000001FF\r\n";
    const std::string second = ":020000040001F9\r\n:0100030042BA\r\n:00000001FF\r\n";
    ASSERT_TRUE(ParseHexText(first + second + "\x1a", image, error)) << DumpErrorMessage(error);
    EXPECT_EQ(image.Size, 0x10004u);
    const auto flat = Flat(image, 0x10004);
    EXPECT_EQ(flat[0], 0x41);
    EXPECT_EQ(flat[0x10003], 0x42);
    // ... and a broken one there is an error like anywhere else.
    EXPECT_FALSE(ParseHexText(first + ":0100030042BB\r\n", image, error));
    EXPECT_EQ(error.Line, 2);
}

TEST(DumpRecords, LineEndsOfEveryKind)
{
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        TDumpImage image;
        TDumpError error;
        ASSERT_TRUE(ParseS19Text("S1050000414277" + end + end + "S1050002414275" + end, image, error))
            << DumpErrorMessage(error);
        EXPECT_EQ(image.Size, 4u);
        ASSERT_FALSE(ParseS19Text("S1050000414277" + end + end + "S1050002414276" + end, image, error));
        EXPECT_EQ(error.Line, 2);
    }
}

TEST(DumpRecords, OldWrappedS1FilesStillLoadInFileOrder)
{
    // Files written for buffers above 64 KiB by the S1-only writer: their
    // addresses wrap at 64 KiB and the data follows in file order.
    TDumpBuffer b;
    b.SetSize(0x10020);
    for (int64_t i = 0; i < b.GetSize(); ++i)
        b.Data[size_t(i)] = Pattern(uint64_t(i));
    std::string text;
    for (int64_t start = 0; start < b.GetSize(); start += 16) {
        const uint32_t a = uint32_t(start & 0xFFFF);
        uint32_t sum = 19 + (a >> 8) + (a & 0xFF);
        char head[16];
        std::snprintf(head, sizeof head, "S113%04X", a);
        text += head;
        for (int k = 0; k < 16; ++k) {
            char h[3];
            std::snprintf(h, sizeof h, "%02X", b.Data[size_t(start + k)]);
            text += h;
            sum += b.Data[size_t(start + k)];
        }
        char cs[5];
        std::snprintf(cs, sizeof cs, "%02X\r\n", ~sum & 0xFF);
        text += cs;
    }
    TDumpImage image;
    TDumpError error;
    ASSERT_TRUE(ParseS19Text(text, image, error)) << DumpErrorMessage(error);
    EXPECT_EQ(image.Size, 0x10020u);
    const auto flat = Flat(image, 0x10020);
    EXPECT_TRUE(std::equal(flat.begin(), flat.end(), b.Data.begin()));
}

// An S-record line of `type` with a 16-bit address.
std::string SRecord(int type, uint32_t address, const std::vector<uint8_t>& data)
{
    const uint32_t count = uint32_t(data.size()) + 3;
    uint32_t sum = count + (address >> 8) + (address & 0xFF);
    char head[16];
    std::snprintf(head, sizeof head, "S%d%02X%04X", type, count, address & 0xFFFF);
    std::string line = head;
    for (uint8_t d : data) {
        char h[3];
        std::snprintf(h, sizeof h, "%02X", d);
        line += h;
        sum += d;
    }
    char cs[5];
    std::snprintf(cs, sizeof cs, "%02X\r\n", ~sum & 0xFF);
    return line + cs;
}

// S1 records of 252 bytes of Pattern from 0 to `end`, addresses wrapping at
// 64 KiB as the S1-only writer wrote them.
std::string WrappingRun(uint32_t end)
{
    std::string text;
    for (uint32_t a = 0; a < end; a += 252) {
        std::vector<uint8_t> data;
        for (uint32_t k = a; k < std::min(end, a + 252); ++k)
            data.push_back(Pattern(k));
        text += SRecord(1, a, data);
    }
    return text;
}

struct S1OrderCase {
    const char* name;
    std::string text;
    uint64_t size;
    std::vector<std::pair<uint64_t, uint8_t>> bytes; // address, value
};

TEST(DumpRecords, OnlyTheOldWritersRunHasItsAddressesUnwrapped)
{
    const S1OrderCase cases[] = {
        {"top record first", SRecord(1, 0xFFFF, {0x41}) + SRecord(1, 0, {0x42}), 0x10000, {{0xFFFF, 0x41}, {0, 0x42}}},
        {"old writer's run", WrappingRun(0x10000) + SRecord(1, 0, {0x42}), 0x10001,
         {{0x10000, 0x42}, {0, Pattern(0)}}},
        {"header before the run", SRecord(0, 0, {'h'}) + WrappingRun(0x10000) + SRecord(1, 0, {0x42}), 0x10000,
         {{0, 0x42}, {1, Pattern(1)}}},
        {"run broken after the wrap",
         WrappingRun(0x10000) + SRecord(1, 0, {0x42, 0x43}) + SRecord(1, 0x100, {0x44}), 0x10000,
         {{0, 0x42}, {1, 0x43}, {0x100, 0x44}, {0xFFFF, Pattern(0xFFFF)}}},
    };
    for (const auto& c : cases) {
        TDumpImage image;
        TDumpError error;
        ASSERT_TRUE(ParseS19Text(c.text, image, error)) << c.name << ": " << DumpErrorMessage(error);
        EXPECT_EQ(image.Size, c.size) << c.name;
        const auto flat = Flat(image, size_t(image.Size));
        for (const auto& [address, value] : c.bytes)
            EXPECT_EQ(flat[address], value) << c.name << " at " << address;
    }
}

TEST(DumpRecords, SRecordsAfterAnEndRecordAreRead)
{
    for (const char* end : {"S9030000FC\r\n", "S804000000FB\r\n", "S70500000000FA\r\n"}) {
        TDumpImage image;
        TDumpError error;
        ASSERT_TRUE(ParseS19Text(SRecord(1, 0, {0x41}) + end + SRecord(1, 0x10, {0x42}) + "\x1a", image, error))
            << end << DumpErrorMessage(error);
        EXPECT_EQ(image.Size, 0x11u) << end;
        EXPECT_EQ(Flat(image, 0x11)[0x10], 0x42) << end;
    }
}

TEST(DumpRecords, LinesAreReadInBlocks)
{
    // Lines that straddle block boundaries read as in one piece; a line
    // longer than a block is an error, not a reason to hold more text.
    std::string text;
    for (uint32_t a = 0; a < 40; ++a)
        text += SRecord(1, a * 3, {uint8_t(a), uint8_t(a + 1), uint8_t(a + 2)});
    for (size_t block : {size_t(24), size_t(25), size_t(64), size_t(4096)}) {
        TDumpImage image;
        TDumpError error;
        ASSERT_TRUE(ParseS19Lines(TDumpTextLines(text, block), image, error)) << block << DumpErrorMessage(error);
        EXPECT_EQ(image.Size, 120u) << block;
        EXPECT_EQ(Flat(image, 120)[119], 41) << block;
    }
    TDumpImage image;
    TDumpError error;
    EXPECT_FALSE(ParseS19Lines(TDumpTextLines(text + std::string(100, '0') + "\n", 64), image, error));
    EXPECT_EQ(error.Line, 40);
    EXPECT_EQ(error.Text, "The line is too long.");
}

struct MalformedCase {
    const char* name;
    bool (*parse)(const std::string&, TDumpImage&, TDumpError&);
    std::string text;
    int64_t line; // 0-based
    std::string message;
};

TEST(DumpRecords, MalformedLinesNameTheLineAndTheFault)
{
    const MalformedCase cases[] = {
        {"hex no colon", ParseHexText, ":0100000041BE\n0100010041BD\n", 1, "Unknown format of HEX file."},
        {"hex bad digit", ParseHexText, ":0100000041BE\r\n:02000100xy42C3\r\n", 1, "Unknown symbols \"xy\"."},
        {"hex bad address", ParseHexText, ":010g000041BE\n", 0, "Unknown symbols \"0g00\"."},
        {"hex truncated", ParseHexText, "\n\n:100000000102\n", 2, "Unexpected end of line."},
        {"hex no checksum", ParseHexText, ":0100000041\n", 0, "Unexpected end of line."},
        {"hex checksum", ParseHexText, ":0100000041BF\n", 0, "Check summ error\"."},
        {"hex unknown type", ParseHexText, ":0000000600FA\n", 0, "Unknown record type."},
        {"hex trailing", ParseHexText, ":0100000041BE:00\n", 0, "Unexpected characters after the record."},
        {"s19 no S", ParseS19Text, "S1050000414277\nT1050000414277\n", 1, "Unknown format of S-record file."},
        {"s19 type 4", ParseS19Text, "S4050000414277\n", 0, "Unknown record type."},
        {"s19 count below address", ParseS19Text, "S2030000FC\n", 0, "Record length does not fit its type."},
        {"s19 checksum", ParseS19Text, "S1050000414278\n", 0, "Check summ error\"."},
        {"s19 truncated", ParseS19Text, "S10500004142\n", 0, "Unexpected end of line."},
        {"s19 bad digit", ParseS19Text, "S10500004x4277\n", 0, "Unknown symbols \"4x\"."},
        {"eef short", ParseEefText, "X70006000000414276\nX7000600\n", 1, "Unknown format of EEF file."},
        {"eef checksum", ParseEefText, "X70006000000414277\n", 0, "Check summ error\"."},
        {"eef description checksum", ParseEefText, "X10006000000414277\n", 0, "Check summ error\"."},
        {"eef not X", ParseEefText, "Y70006000000414276\n", 0, "Unknown format of EEF file."},
        {"eef too long", ParseEefText, "X7000600000041427600\n", 0, "Unexpected characters after the record."},
    };
    for (const auto& c : cases) {
        TDumpImage image;
        image.Size = 12345; // untouched on failure
        TDumpError error;
        EXPECT_FALSE(c.parse(c.text, image, error)) << c.name;
        EXPECT_EQ(error.Line, c.line) << c.name;
        EXPECT_EQ(error.Text, c.message) << c.name;
        EXPECT_EQ(image.Size, 12345u) << c.name;
    }
    TDumpError error{5, "Unknown symbols \"xy\"."};
    EXPECT_EQ(DumpErrorMessage(error), "Line 6: Unknown symbols \"xy\".");
}

TEST(DumpRecords, FarAddressesCostNoMemory)
{
    // 4 GiB addresses and long EEF records are held by what the file holds.
    TDumpImage image;
    TDumpError error;
    ASSERT_TRUE(ParseHexText(":02000004FFFFFC\n:01FFFF0041C0\n", image, error));
    EXPECT_EQ(image.Size, 0x100000000ull);
    EXPECT_LT(image.Bytes.capacity(), 1024u);
    std::vector<uint8_t> small(16, 0);
    image.CopyTo(small.data(), small.size());
    EXPECT_EQ(small, std::vector<uint8_t>(16, 0xFF));

    std::string eef = "X7012C00FFF0";
    uint32_t sum = 0x01 + 0x2C + 0x00 + 0xFF + 0xF0;
    for (int i = 0; i < 296; ++i) {
        eef += "5A";
        sum += 0x5A;
    }
    char cs[3];
    std::snprintf(cs, sizeof cs, "%02X", ~sum & 0xFF);
    ASSERT_TRUE(ParseEefText(eef + cs, image, error)) << DumpErrorMessage(error);
    EXPECT_EQ(image.Size, 0xFFF0u + 296);
}

} // namespace
