// The buffer commands' work on a buffer, without a window.
#include "TestSupport.h"
#include "app/MainEdit.h"
#include "buffer/FileServ.h"
#include "buffer/HDumpEdit.h"
#include "buffer/uPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

// A buffer of the given bytes, every byte normal, with a sentinel right
// after its end that no command may touch.
TDumpBuffer MakeBuffer(const Bytes& bytes)
{
    TDumpBuffer b;
    b.SetSize(int64_t(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), b.Data.begin());
    b.Data[bytes.size()] = 0xAA;
    return b;
}

Bytes Contents(const TDumpBuffer& b) { return Bytes(b.Data.begin(), b.Data.begin() + b.GetSize()); }

// 1 for each byte marked as differing.
std::string Marks(const TDumpBuffer& b)
{
    std::string s;
    for (int64_t i = 0; i < b.GetSize(); ++i)
        s += b.GetMatchBit(i) ? '0' : '1';
    return s;
}

void Select(TDumpBuffer& b, int64_t first, int64_t last)
{
    b.SetSelectRange(first, last, true);
    b.SelStart = first;
    b.SelEnd = last;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

TEST(MainEdit, CopyAsHexTextTakesTheSelectionOnly)
{
    TDumpBuffer b = MakeBuffer({0x01, 0x02, 0x03, 0xAB});
    EXPECT_EQ(CopyAsHexText(b), "") << "nothing without a selection";
    Select(b, 0, 2);
    EXPECT_EQ(CopyAsHexText(b), "01 02 03 ");
    Select(b, 3, 3);
    EXPECT_EQ(CopyAsHexText(b), "AB ");
}

TEST(MainEdit, PasteHexTextStopsAtTheTextsEndAPairThatIsNoHexAndTheBuffer)
{
    struct Case {
        const char* text;
        int64_t start;
        Bytes expected;
        int64_t written;
        const char* marks;
    };
    const Case cases[] = {
        {"12 ab FF", 0, {0x12, 0xAB, 0xFF, 0x00}, 3, "1110"},
        {" \t12\r\n34", 1, {0x00, 0x12, 0x34, 0x00}, 2, "0110"},
        {"12 34 56 78 9A", 2, {0x00, 0x00, 0x12, 0x34}, 2, "0011"}, // stops at the last byte
        {"12 G1 34", 0, {0x12, 0x00, 0x00, 0x00}, 1, "1000"},
        {"12 3", 0, {0x12, 0x00, 0x00, 0x00}, 1, "1000"}, // a lone digit ends it
        {"1 2", 0, {0x00, 0x00, 0x00, 0x00}, 0, "0000"},
        {"", 0, {0x00, 0x00, 0x00, 0x00}, 0, "0000"},
    };
    for (const Case& c : cases) {
        TDumpBuffer b = MakeBuffer({0, 0, 0, 0});
        EXPECT_EQ(PasteHexText(b, c.start, c.text), c.written) << c.text;
        EXPECT_EQ(Contents(b), c.expected) << c.text;
        EXPECT_EQ(Marks(b), c.marks) << c.text;
        EXPECT_EQ(b.Data[4], 0xAA) << c.text;
    }
}

TEST(MainEdit, SwapBytesLeavesTheUnpairedLastByteAndWhatFollows)
{
    struct Case {
        Bytes before, after;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, {2, 1, 4, 3}},
        {{1, 2, 3, 4, 5}, {2, 1, 4, 3, 5}},
        {{7}, {7}},
    };
    for (const Case& c : cases) {
        TDumpBuffer b = MakeBuffer(c.before);
        SwapBufferBytes(b);
        EXPECT_EQ(Contents(b), c.after);
        EXPECT_EQ(b.Data[c.before.size()], 0xAA) << "the byte past the end";
        EXPECT_EQ(Marks(b), std::string(c.before.size(), '0')) << "match bits stay";
    }
}

TEST(MainEdit, FillAndXorWalkThePatternOverTheAreaClippedToIt)
{
    struct Case {
        const char* name;
        Bytes before;
        const char* pattern;
        TByteRange area;
        bool wordMode;
        TPatternOp op;
        Bytes after;
        const char* marks;
    };
    const Case cases[] = {
        {"a lone last digit is a byte", {0, 0, 0, 0, 0}, "123", {0, 4}, false, TPatternOp::Fill,
         {0x12, 0x03, 0x12, 0x03, 0x12}, "11111"},
        {"selection only", {0, 0, 0, 0, 0}, "AB", {1, 3}, false, TPatternOp::Fill, {0, 0xAB, 0xAB, 0xAB, 0},
         "01110"},
        {"word: first byte to the odd address", {0, 0, 0, 0}, "1234", {0, 1}, true, TPatternOp::Fill,
         {0x34, 0x12, 0, 0}, "1100"},
        {"word: odd selection start and end", {0, 0, 0, 0, 0, 0}, "1234", {1, 4}, true, TPatternOp::Fill,
         {0, 0x12, 0x34, 0x12, 0x34, 0}, "011110"},
        {"word: odd size keeps the byte past the end", {0, 0, 0, 0, 0}, "1234", {0, 4}, true, TPatternOp::Fill,
         {0x34, 0x12, 0x34, 0x12, 0x34}, "11111"},
        {"word: a pass of three bytes runs on across words", {0, 0, 0, 0, 0, 0}, "123456", {0, 5}, true,
         TPatternOp::Fill, {0x34, 0x12, 0x12, 0x56, 0x56, 0x34}, "111111"},
        {"word: a lone digit pattern", {0, 0, 0, 0}, "7", {0, 3}, true, TPatternOp::Fill, {0x07, 0x07, 0x07, 0x07},
         "1111"},
        {"XOR with 00 changes and marks nothing", {1, 2, 3}, "00", {0, 2}, false, TPatternOp::Xor, {1, 2, 3},
         "000"},
        {"XOR marks only what changed", {0x0F, 0xF0, 0x00}, "0F00", {0, 2}, false, TPatternOp::Xor,
         {0x00, 0xF0, 0x0F}, "101"},
        {"word XOR on an odd size", {0, 0, 0}, "FF01", {0, 2}, true, TPatternOp::Xor, {0x01, 0xFF, 0x01},
         "111"},
        {"an area past the end is clipped", {0, 0}, "EE", {1, 100}, false, TPatternOp::Fill, {0, 0xEE}, "01"},
    };
    for (const Case& c : cases) {
        TDumpBuffer b = MakeBuffer(c.before);
        ApplyPattern(b, c.pattern, c.area, c.wordMode, c.op);
        EXPECT_EQ(Contents(b), c.after) << c.name;
        EXPECT_EQ(Marks(b), c.marks) << c.name;
        EXPECT_EQ(b.Data[c.before.size()], 0xAA) << c.name;
    }
}

TEST(MainEdit, FindPatternFindsWholeMatchesInsideTheBuffer)
{
    const Bytes data = {'A', 'B', 'C', 'A', 'B', 'D'};
    struct Case {
        const char* pattern;
        int64_t lastIndex, position, found;
    };
    const Case cases[] = {
        {"ABD", 5, 0, 3}, {"AB", 5, 0, 0},  {"AB", 5, 1, 3},   {"AB", 5, 4, -1}, {"D", 5, 0, 5},
        {"DX", 5, 0, -1}, {"ABD", 4, 0, -1}, {"ABCABDX", 5, 0, -1}, {"", 5, 0, -1},
    };
    for (const Case& c : cases) {
        const std::string p = c.pattern;
        int64_t position = c.position;
        EXPECT_EQ(FindPattern(reinterpret_cast<const uint8_t*>(p.data()), int64_t(p.size()), c.lastIndex, position,
                              data.data()),
                  c.found)
            << p << " from " << c.position;
        if (c.found >= 0)
            EXPECT_EQ(position, c.found);
    }
}

TEST(MainEdit, WriteBytesAtStopsAtTheLastByte)
{
    TDumpBuffer b = MakeBuffer({0, 0, 0});
    EXPECT_EQ(WriteBytesAt(b, 1, {7, 8, 9}), 2);
    EXPECT_EQ(Contents(b), (Bytes{0, 7, 8}));
    EXPECT_EQ(Marks(b), "011");
    EXPECT_EQ(b.Data[3], 0xAA);
    EXPECT_EQ(WriteBytesAt(b, 3, {1}), 0);
    EXPECT_EQ(WriteBytesAt(b, -1, {1}), 0);
}

// Every text dump the program prints to a file, in byte and word mode,
// with or without the grid's bars, pastes back to the bytes it shows; the
// column header is skipped, and the character column (here full of
// hex-looking characters) is never read as bytes.
TEST(MainEdit, InsertTextReadsThePrintedDumpsBack)
{
    TempDir dir;
    TDumpBuffer source;
    source.SetSize(48);
    for (int i = 0; i < 48; ++i)
        source.Data[size_t(i)] = i < 32 ? uint8_t("0123456789ABCDEF"[i % 16]) : uint8_t(i * 37);
    for (const bool wordMode : {false, true})
        for (const bool grid : {false, true}) {
            SCOPED_TRACE(testing::Message() << (wordMode ? "words" : "bytes") << (grid ? ", grid" : ""));
            TPrintJob job;
            job.Span = {0, 47};
            job.WordMode = wordMode;
            job.Grid = grid;
            std::string error;
            ASSERT_TRUE(WritePrintFile(dir.file("dump.txt"), false, source, job, error)) << error;
            int badLine = -1;
            const auto bytes = InsertTextBytes(Lines(ReadFileBytes(dir.file("dump.txt"))), true, badLine);
            ASSERT_TRUE(bytes) << "refused at line " << badLine;
            EXPECT_EQ(*bytes, Bytes(source.Data.begin(), source.Data.begin() + 48));
        }
    // A saved text dump of whole rows reads back as well.
    for (const bool wordMode : {false, true}) {
        int badLine = -1;
        const auto bytes = InsertTextBytes(Lines(MakeTextDump(source, 16, 47, wordMode)), true, badLine);
        ASSERT_TRUE(bytes) << "refused at line " << badLine;
        EXPECT_EQ(*bytes, Bytes(source.Data.begin() + 16, source.Data.begin() + 48));
    }
}

// Every text dump the program writes pastes back to the bytes it shows:
// saved (cells outside the range blank) and printed to a text file (dots,
// optional grid bars, a description above the header), of a selected
// range and of a whole buffer, in byte and word mode. The source bytes put
// hex digits into the character column, which is never read. In word mode
// a dump of a range shows the words whose first byte lies in it.
TEST(MainEdit, InsertTextReadsEveryDumpOfTheProgramBack)
{
    TDumpBuffer source;
    source.SetSize(48);
    for (int i = 0; i < 48; ++i)
        source.Data[size_t(i)] = i < 32 ? uint8_t("0123456789ABCDEF"[i % 16]) : uint8_t(i * 37);
    struct Case {
        int64_t from, to;
        bool wordMode, grid;
        int64_t shownFirst, shownLast; // -1, -2: nothing shown
    };
    const Case cases[] = {
        {0, 17, false, false, 0, 17},   {0, 17, true, true, 0, 17},     {3, 20, false, true, 3, 20},
        {3, 20, true, false, 4, 21},    {16, 17, false, false, 16, 17}, {16, 17, true, true, 16, 17},
        {5, 5, false, true, 5, 5},      {5, 5, true, false, -1, -2},    {3, 47, false, false, 3, 47},
        {3, 47, true, true, 4, 47},     {0, 47, false, true, 0, 47},    {31, 32, true, false, 32, 33},
        {14, 33, false, false, 14, 33}, {15, 15, true, true, -1, -2},
    };
    TempDir dir;
    const auto paste = [](const std::vector<std::string>& lines) {
        int badLine = -1;
        const auto bytes = InsertTextBytes(lines, true, badLine);
        EXPECT_TRUE(bytes) << "refused at line " << badLine;
        return bytes.value_or(Bytes{});
    };
    const auto printed = [&](const TDumpBuffer& buffer, const TPrintJob& job) {
        std::string error;
        EXPECT_TRUE(WritePrintFile(dir.file("dump.txt"), false, buffer, job, error)) << error;
        return Lines(ReadFileBytes(dir.file("dump.txt")));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << ".." << c.to << (c.wordMode ? " words" : " bytes")
                                        << (c.grid ? ", grid" : ""));
        const Bytes shown(source.Data.begin() + c.shownFirst, source.Data.begin() + c.shownLast + 1);
        EXPECT_EQ(paste(Lines(MakeTextDump(source, c.from, c.to, c.wordMode))), shown) << "saved range";
        TPrintJob job;
        job.Span = {c.from, c.to};
        job.WordMode = c.wordMode;
        job.Grid = c.grid;
        job.AddDescription = true;
        job.Description = PrintDescriptionLines("24C02", "11.12.2026", "13:30:00");
        EXPECT_EQ(paste(printed(source, job)), shown) << "printed selected area";

        // The range alone as a whole buffer: an odd size ends on a word
        // of one byte.
        const Bytes range(source.Data.begin() + c.from, source.Data.begin() + c.to + 1);
        const TDumpBuffer whole = MakeBuffer(range);
        EXPECT_EQ(paste(Lines(MakeTextDump(whole, 0, whole.LastIndex, c.wordMode))), range) << "saved buffer";
        job.Span = {0, whole.LastIndex};
        job.AddDescription = false;
        EXPECT_EQ(paste(printed(whole, job)), range) << "printed buffer";
    }
}

TEST(MainEdit, InsertTextRefusesWhatIsNoHexDump)
{
    const std::string full = "00000: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  ................";
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int badLine;
    };
    const Case cases[] = {
        {"an address and two bytes", {"00010: 41 42"}, 0},
        {"a short row between full ones", {full, "00010: 41 42", full}, 1},
        {"a short last row", {full, full, "00020: 41 42 .. .. .. .. .. .. .. .. .. .. .. .. .. ..   AB"}, 2},
        {"a row without cells", {full, "hello world"}, 1},
        {"a cell that is not hex", {full, "00010: 41 4G 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50", full}, 1},
        {"single digits", {"0000: 0 1 2 3 4 5 6 7 8 9 A B C D E F 0 1 2 3 4 5 6 7 8 9 A B C D E F"}, 0},
        {"cells out of their columns", {"00000: 41  42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50"}, 0},
        {"a saved row with dots for blanks", {"00000: .. 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50"}, 0},
        {"a word cell of three digits", {"00000: 4241 4443 4645 4847 4A49 4C4B 4E4D 50F  AB"}, 0},
        {"text above rows without a column header", {"CHIP: 24C02", " ", full}, 0},
        {"text after the last row", {full, "The end"}, 1},
    };
    for (const Case& c : cases) {
        int badLine = -1;
        EXPECT_FALSE(InsertTextBytes(c.lines, true, badLine)) << c.name;
        EXPECT_EQ(badLine, c.badLine) << c.name;
    }
    // Lines of blanks, of an address alone or of no hex digit are skipped;
    // non-hex characters between the pairs are passed over.
    int badLine = -1;
    const auto rows =
        InsertTextBytes({"", full, "   ", "00010  ", "-------", "0:00|01.02,03;04 05 06 07 08 09 0a 0b 0c 0d 0e 0f"},
                        true, badLine);
    ASSERT_TRUE(rows) << badLine;
    ASSERT_EQ(rows->size(), 32u);
    EXPECT_EQ(Bytes(rows->begin() + 16, rows->end()), Bytes(rows->begin(), rows->begin() + 16));
}

TEST(MainEdit, InsertTextInTextModeTakesEveryCharacter)
{
    int badLine = -1;
    const auto bytes = InsertTextBytes({"ab", "", "c"}, false, badLine);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, (Bytes{'a', 'b', 'c'}));
}

class MainEditFiles : public ::testing::Test {
protected:
    TempDir dir_;
    std::string File(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_.file(name);
        WriteFileBytes(path, bytes);
        return path;
    }
};

// A 2 MiB dump on a 2 MiB buffer: its last byte is compared with the
// file's, not with the padding.
TEST_F(MainEditFiles, CompareTakesTheWholeFileAndPadsAShortOneWithFF)
{
    constexpr int64_t TwoMiB = 0x200000;
    std::string dump(size_t(TwoMiB), '\x5A');
    dump.front() = '\x01';
    struct Case {
        const char* name;
        std::string file;
        int64_t bufferSize;
        uint8_t bufferByte;
        int64_t mismatches;
        std::vector<int64_t> differing, matching;
    };
    const Case cases[] = {
        {"2 MiB", dump, TwoMiB, 0x5A, 1, {0}, {1, TwoMiB - 1}},
        {"buffer larger than the file", dump, TwoMiB + 16, 0x5A, 17, {0, TwoMiB, TwoMiB + 15}, {TwoMiB - 1}},
        {"16 bytes against 8", std::string(8, '\x5A'), 16, 0x5A, 8, {8, 15}, {0, 7}},
        {"trailing FF match", std::string(8, '\xFF'), 16, 0xFF, 0, {}, {0, 15}},
    };
    for (const Case& c : cases) {
        TDumpBuffer b;
        b.SetSize(c.bufferSize);
        std::fill_n(b.Data.begin(), c.bufferSize, c.bufferByte);
        std::vector<uint8_t> image;
        std::string message;
        ASSERT_TRUE(LoadFileImage(File("c.bin", c.file), b.GetSize(), image, message)) << c.name << message;
        EXPECT_EQ(CompareWithImage(b, image), c.mismatches) << c.name;
        for (int64_t i : c.differing)
            EXPECT_FALSE(b.GetMatchBit(i)) << c.name << " byte " << i;
        for (int64_t i : c.matching)
            EXPECT_TRUE(b.GetMatchBit(i)) << c.name << " byte " << i;
    }
    std::vector<uint8_t> image;
    std::string message;
    EXPECT_FALSE(LoadFileImage(dir_.file("missing.bin"), 16, image, message));
}

TEST_F(MainEditFiles, XorWithFileGoesUpToTheFilesOrTheBuffersEnd)
{
    constexpr int64_t TwoMiB = 0x200000;
    struct Case {
        const char* name;
        int64_t bufferSize;
        std::string file;
        int64_t zeroUpTo; // bytes 0..zeroUpTo-1 become 0
    };
    const Case cases[] = {
        {"2 MiB on 2 MiB", TwoMiB, std::string(size_t(TwoMiB), '\x33'), TwoMiB},
        {"short file", 16, std::string(8, '\x33'), 8},
        {"long file", 8, std::string(16, '\x33'), 8},
    };
    for (const Case& c : cases) {
        TDumpBuffer b;
        b.SetSize(c.bufferSize);
        std::fill_n(b.Data.begin(), c.bufferSize, 0x33);
        b.Data[size_t(c.bufferSize)] = 0xAA;
        b.SetMatchBit(0, false);
        ASSERT_TRUE(XorWithFile(b, File("x.bin", c.file))) << c.name;
        EXPECT_TRUE(b.Modified) << c.name;
        EXPECT_EQ(b.Data[size_t(c.zeroUpTo - 1)], 0) << c.name;
        EXPECT_TRUE(b.GetMatchBit(c.zeroUpTo - 1)) << c.name;
        EXPECT_TRUE(b.GetMatchBit(0)) << c.name << ": a byte that became 0 is normal";
        if (c.zeroUpTo < c.bufferSize) {
            EXPECT_EQ(b.Data[size_t(c.zeroUpTo)], 0x33) << c.name;
        }
        EXPECT_EQ(b.Data[size_t(c.bufferSize)], 0xAA) << c.name;
    }
    TDumpBuffer b = MakeBuffer({1, 2});
    ASSERT_TRUE(XorWithFile(b, File("y.bin", "\x01\x03")));
    EXPECT_EQ(Contents(b), (Bytes{0, 1}));
    EXPECT_EQ(Marks(b), "01") << "a byte that is not 0 differs";
    EXPECT_FALSE(XorWithFile(b, dir_.file("missing.bin")));
}

TEST_F(MainEditFiles, CopyAreaFromFileChecksSelectionAndFileSize)
{
    const std::string source = File("s.bin", "\x10\x11\x12\x13\x14\x15");
    struct Case {
        const char* name;
        bool select;
        std::string file;
        int64_t offset;
        TCopyFromFile result;
        Bytes after;
    };
    const Case cases[] = {
        {"same area", true, source, 1, TCopyFromFile::Ok, {0, 0x11, 0x12, 0}},
        {"from the start", true, source, 0, TCopyFromFile::Ok, {0, 0x10, 0x11, 0}},
        {"exactly to the end", true, source, 4, TCopyFromFile::Ok, {0, 0x14, 0x15, 0}},
        {"too small", true, source, 5, TCopyFromFile::TooSmall, {0, 0, 0, 0}},
        {"missing", true, dir_.file("none.bin"), 0, TCopyFromFile::Missing, {0, 0, 0, 0}},
        {"no selection", false, source, 0, TCopyFromFile::NoSelection, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TDumpBuffer b = MakeBuffer({0, 0, 0, 0});
        if (c.select)
            Select(b, 1, 2);
        EXPECT_EQ(CopyAreaFromFile(b, c.file, c.offset), c.result) << c.name;
        EXPECT_EQ(Contents(b), c.after) << c.name;
        EXPECT_EQ(b.Modified, c.result == TCopyFromFile::Ok) << c.name;
        EXPECT_EQ(Marks(b), "0000") << c.name;
    }
}

TEST(MainEdit, CaretByteAndGotoLimitFollowTheViewsWordMode)
{
    TDumpBuffer b = MakeBuffer(Bytes(9, 0));
    THexDumpEdit edit(b);
    struct Case {
        int64_t nibble;
        bool wordMode;
        int64_t byte;
    };
    const Case cases[] = {{0, false, 0}, {7, false, 3}, {7, true, 2}, {13, true, 6}, {100, false, 8}, {100, true, 8}};
    for (const Case& c : cases) {
        edit.CaretNibble = c.nibble;
        edit.WordMode = c.wordMode;
        EXPECT_EQ(CaretByteOf(edit), c.byte) << c.nibble << " " << c.wordMode;
    }
    EXPECT_EQ(GotoAddressLimit(9, false), 8);
    EXPECT_EQ(GotoAddressLimit(9, true), 4);
    EXPECT_EQ(GotoAddressLimit(8, true), 3);
}

} // namespace
