#include "buffer/uPrint.h"

#include "platform/Paths.h"

#include "TestSupport.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace {

struct AreaCase {
    const char* text;
    bool valid;
    int64_t start, end;
};

class PrintArea : public ::testing::TestWithParam<AreaCase> {};

TEST_P(PrintArea, Parses)
{
    const AreaCase& c = GetParam();
    int64_t start = 99, end = 99;
    EXPECT_EQ(ParsePrintArea(c.text, start, end), c.valid);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintArea,
    ::testing::Values(AreaCase{"0-128", true, 0, 128}, AreaCase{"0x10-0x20", true, 16, 32},
                      AreaCase{"$10-$20", true, 16, 32}, AreaCase{" 5-6", true, 5, 6},
                      AreaCase{"0X1f-0x2F", true, 31, 47}, AreaCase{"5-5", false, 5, 5},
                      AreaCase{"128-0", false, 128, 0}, AreaCase{"10", false, 10, -1},
                      AreaCase{"10-", false, 10, -1}, AreaCase{"-10", false, -1, 10},
                      AreaCase{"a-10", false, -1, 10}, AreaCase{"1-2x", false, 1, -1},
                      AreaCase{"", false, -1, -1}, AreaCase{"5--3", false, 5, -1},
                      // Mended: hexadecimal from 0x80000000 up stays positive.
                      AreaCase{"0x80000000-0x80000010", true, 0x80000000LL, 0x80000010LL},
                      AreaCase{"0xFFFFFFFF-0x100000000", true, 0xFFFFFFFFLL, 0x100000000LL},
                      // ... and 16 digits that wrap to a negative value are no address.
                      AreaCase{"0xFFFFFFFFFFFFFFFF-0x10", false, -1, 16},
                      AreaCase{"0-0x10000000000000000", false, 0, -1},
                      AreaCase{"0-$00000000000000010", true, 0, 16}));

// A buffer of `n` bytes holding 0x40 + i.
TDumpBuffer Sample(int64_t n)
{
    TDumpBuffer b;
    b.SetSize(n);
    for (int64_t i = 0; i < n; ++i)
        b.Data[size_t(i)] = uint8_t(0x40 + i);
    return b;
}

std::vector<std::string> Lines(const TDumpBuffer& b, const TPrintJob& job)
{
    struct Collect : TPrintTarget {
        std::vector<std::string> lines;
        bool Line(const std::string& text) override
        {
            lines.push_back(text);
            return true;
        }
    } target;
    EXPECT_TRUE(WritePrintLines(b, job, target));
    return target.lines;
}

TPrintJob Job(TPrintSpan span, bool wordMode, bool grid)
{
    TPrintJob job;
    job.Span = span;
    job.WordMode = wordMode;
    job.Grid = grid;
    return job;
}

struct LinesCase {
    const char* name;
    int64_t size;
    TPrintSpan span;
    bool wordMode, grid;
    std::vector<std::string> rows; // after blank, header and rule
};

class PrintRows : public ::testing::TestWithParam<LinesCase> {};

TEST_P(PrintRows, Lines)
{
    const LinesCase& c = GetParam();
    const std::vector<std::string> lines = Lines(Sample(c.size), Job(c.span, c.wordMode, c.grid));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], " ");
    EXPECT_EQ(lines[1], PrintHeaderLine(c.wordMode, c.grid));
    EXPECT_EQ(lines[2], PrintRuleLine(c.wordMode, c.grid));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintRows,
    ::testing::Values(
        LinesCase{"Whole20Bytes", 20, {0, 19}, false, false,
                  {"00000:  40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F   @ABCDEFGHIJKLMNO",
                   "00010:  50 51 52 53 .. .. .. .. .. .. .. .. .. .. .. ..   PQRS............"}},
        LinesCase{"Whole20BytesGrid", 20, {0, 19}, false, true,
                  {"00000:  40 41 42 43|44 45 46 47|48 49 4A 4B|4C 4D 4E 4F   @ABCDEFGHIJKLMNO",
                   "00010:  50 51 52 53|.. .. .. ..|.. .. .. ..|.. .. .. ..   PQRS............"}},
        LinesCase{"Selected13To15", 32, {0x13, 0x15}, false, false,
                  {"00010:  .. .. .. 53 54 55 .. .. .. .. .. .. .. .. .. ..   ...STU.........."}},
        LinesCase{"Words", 20, {0, 19}, true, false,
                  {"00000:  4140 4342 4544 4746 4948 4B4A 4D4C 4F4E   A@CBEDGFIHKJMLON",
                   "00008:  5150 5352 .... .... .... .... .... ....   QPSR............"}},
        LinesCase{"WordsGrid", 16, {0, 15}, true, true,
                  {"00000:  4140 4342|4544 4746|4948 4B4A|4D4C 4F4E   A@CBEDGFIHKJMLON"}},
        // Mended: the last byte of an odd-sized buffer has no partner to read.
        LinesCase{"WordsOddSize", 3, {0, 2}, true, false,
                  {"00000:  4140 ..42 .... .... .... .... .... ....   A@.............."}},
        // Mended: an area past the buffer's end prints no rows of dots.
        LinesCase{"AreaPastTheEnd", 20, {0x10, 0x7FFFFFFF}, false, false,
                  {"00010:  50 51 52 53 .. .. .. .. .. .. .. .. .. .. .. ..   PQRS............"}},
        LinesCase{"AreaWhollyPastTheEnd", 20, {0x100, 0x200}, false, false,
                  {"00100:  .. .. .. .. .. .. .. .. .. .. .. .. .. .. .. ..   ................"}},
        LinesCase{"EmptyBuffer", 0, {0, -1}, false, false,
                  {"00000:  .. .. .. .. .. .. .. .. .. .. .. .. .. .. .. ..   ................"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintLines, ControlBytesPrintAsDotsAndHighBytesAsThemselves)
{
    TDumpBuffer b;
    b.SetSize(16);
    b.Data[0] = 0x1F;
    b.Data[1] = 0x20;
    b.Data[2] = 0xC0;
    const std::string row = PrintRowLine(b, 0, {0, 15}, false, false);
    EXPECT_EQ(row.substr(8, 8), "1F 20 C0");
    EXPECT_EQ(row.substr(row.size() - 16, 3), ". \xC0");
}

TEST(PrintLines, WordModeCharactersSwapPairs)
{
    TDumpBuffer b;
    b.SetSize(2);
    b.Data[0] = 0x41;
    b.Data[1] = 0x42;
    const std::string row = PrintRowLine(b, 0, {0, 1}, true, false);
    EXPECT_EQ(row.substr(8, 4), "4241");
    EXPECT_EQ(row.substr(row.size() - 16, 2), "BA");
}

TEST(PrintLines, RowAddressesHaveFiveDigitsOrMore)
{
    const TDumpBuffer b = Sample(0x123460);
    const TPrintSpan span{0x123456, 0x123458};
    EXPECT_EQ(PrintFirstRow(span), 0x123450);
    EXPECT_EQ(PrintRowLine(b, 0x123450, span, false, false).substr(0, 9), "123450:  ");
    EXPECT_EQ(PrintRowLine(b, 0x123450, span, true, false).substr(0, 8), "91A28:  ");
}

TEST(PrintLines, DescriptionComesFirstWhenAskedFor)
{
    TPrintJob job = Job({0, 3}, false, false);
    job.Description = PrintDescriptionLines("24C02", "12.08.2026", "12:30:05");
    EXPECT_EQ(Lines(Sample(4), job).size(), 4u);
    job.AddDescription = true;
    const std::vector<std::string> lines = Lines(Sample(4), job);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], " CHIP: 24C02, Date: 12.08.2026, Time: 12:30:05");
    EXPECT_EQ(lines[1], " ---------------------------------------------------");
    EXPECT_EQ(lines[2], " ");
}

TEST(PrintLines, StoppedTargetStopsThePrint)
{
    struct Refuse : TPrintTarget {
        int lines = 0;
        bool Line(const std::string&) override { return ++lines < 4; }
    } target;
    EXPECT_FALSE(WritePrintLines(Sample(64), Job({0, 63}, false, false), target));
    EXPECT_EQ(target.lines, 4);
}

struct SpanCase {
    const char* name;
    TPrintRange range;
    int64_t selStart, selEnd;
    TPrintSpan expected;
};

class PrintSpans : public ::testing::TestWithParam<SpanCase> {};

TEST_P(PrintSpans, OfTheRangeChoice)
{
    const SpanCase& c = GetParam();
    TDumpBuffer b = Sample(100);
    if (c.selStart >= 0) {
        b.SetSelectRange(c.selStart, c.selEnd, true);
        b.SelStart = c.selStart;
        b.SelEnd = c.selEnd;
    }
    const TPrintSpan span = PrintSpan(c.range, b, 0x20, 0x40, 5, 70);
    EXPECT_EQ(span.First, c.expected.First);
    EXPECT_EQ(span.Last, c.expected.Last);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintSpans,
                         ::testing::Values(SpanCase{"Whole", prWholeBuffer, -1, -1, {0, 99}},
                                           SpanCase{"Selection", prSelectedArea, 3, 9, {3, 9}},
                                           SpanCase{"NoSelection", prSelectedArea, -1, -1, {0, -1}},
                                           // Mended: the last row shown is printed too.
                                           SpanCase{"Screen", prEditorScreen, -1, -1, {0x20, 0x4F}},
                                           SpanCase{"Area", prAddressArea, -1, -1, {5, 70}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintNames, DefaultFileNameKeepsTheFolder)
{
    EXPECT_EQ(DefaultPrintFileName("/p/Print/", "24C02", "12.08.2026", "12:30:05"),
              "/p/Print/24C02 12.08.2026 12-30-05 dump.txt");
    // Mended: slashes of a date become dashes in the name only.
    EXPECT_EQ(DefaultPrintFileName("/a/b/", "24C02", "8/12/26", "12:30:05 PM"),
              "/a/b/24C02 8-12-26 12-30-05 PM dump.txt");
}

class PrintFile : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    TDumpBuffer buffer = Sample(20);
    TPrintJob job = Job({0, 19}, false, false);
    const std::string expected = " \r\n"
                                 "        00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F   0123456789ABCDEF\r\n"
                                 "        -----------------------------------------------   ----------------\r\n"
                                 "00000:  40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F   @ABCDEFGHIJKLMNO\r\n"
                                 "00010:  50 51 52 53 .. .. .. .. .. .. .. .. .. .. .. ..   PQRS............\r\n";
};

TEST_F(PrintFile, NewAndReplacedFilesHoldTheLines)
{
    const std::string name = dir.file("made/by/print/dump.txt");
    std::string error;
    ASSERT_TRUE(WritePrintFile(name, false, buffer, job, error)) << error;
    EXPECT_EQ(testsupport::ReadFileBytes(name), expected);
    testsupport::WriteFileBytes(name, "old content\r\n");
    ASSERT_TRUE(WritePrintFile(name, false, buffer, job, error)) << error;
    EXPECT_EQ(testsupport::ReadFileBytes(name), expected);
}

TEST_F(PrintFile, MergeAppendsToTheOldContent)
{
    const std::string name = dir.file("dump.txt");
    std::string error;
    ASSERT_TRUE(WritePrintFile(name, true, buffer, job, error)) << error;
    EXPECT_EQ(testsupport::ReadFileBytes(name), expected);
    testsupport::WriteFileBytes(name, "old content\r\n");
    ASSERT_TRUE(WritePrintFile(name, true, buffer, job, error)) << error;
    EXPECT_EQ(testsupport::ReadFileBytes(name), "old content\r\n" + expected);
}

TEST_F(PrintFile, FailureIsReportedAndKeepsTheOldFile)
{
    // A folder where the file's folder should be.
    testsupport::WriteFileBytes(dir.file("plain"), "x");
    std::string error;
    EXPECT_FALSE(WritePrintFile(dir.file("plain/dump.txt"), false, buffer, job, error));
    EXPECT_NE(error.find("plain"), std::string::npos) << error;

    // A folder standing where the file should be.
    const std::string name = dir.file("taken");
    std::filesystem::create_directories(name);
    error.clear();
    EXPECT_FALSE(WritePrintFile(name, true, buffer, job, error));
    EXPECT_NE(error.find("taken"), std::string::npos) << error;
}

} // namespace
