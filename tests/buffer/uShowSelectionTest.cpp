#include "buffer/uShowSelection.h"

#include <gtest/gtest.h>

namespace {

const uint8_t b1234[] = {0x12, 0x34};
const uint8_t b01[] = {0x01};
const uint8_t b5[] = {0x01, 0x02, 0x03, 0x04, 0x05};
const uint8_t b10000[] = {0x01, 0x00, 0x00, 0x00, 0x00};
const uint8_t b8FF[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x12};

} // namespace

TEST(ShowSelection, SourceText)
{
    EXPECT_EQ(SelectionSourceText(b1234, 2), "1234");
    EXPECT_EQ(SelectionSourceText(b5, 5), "0102030405");
    EXPECT_EQ(SelectionSourceText(b5, 0), "");
}

TEST(ShowSelection, Conversion)
{
    struct Case {
        const uint8_t* bytes;
        int count;
        TSelectionOptions options;
        TSelectionResult expected;
    };
    auto with = [](auto change) {
        TSelectionOptions o;
        change(o);
        return o;
    };
    const Case cases[] = {
        {b1234, 2, {}, {"00001234", "11064", "4660"}},
        {b1234, 2, with([](auto& o) { o.ReverseOrder = true; }), {"00003412", "32022", "13330"}},
        {b1234, 2, with([](auto& o) { o.XorBy = true; o.XorText = "0xFF"; }), {"000012CB", "11313", "4811"}},
        {b1234, 2, with([](auto& o) { o.BitShift = 2; }), {"0000048D", "2215", "1165"}},
        {b01, 1, with([](auto& o) { o.BitShift = -7; }), {"00000080", "200", "128"}},
        {b01, 1, with([](auto& o) { o.BitShift = -32; }), {"00000000", "0", "0"}},
        // Swap bytes counts only for an even number of bytes.
        {b01, 1, with([](auto& o) { o.SwapBytes = true; }), {"00000001", "1", "1"}},
        {b1234, 2, with([](auto& o) { o.SwapBytes = true; }), {"00003412", "32022", "13330"}},
        // The XOR value is masked to the selection's bytes.
        {b01, 1, with([](auto& o) { o.XorBy = true; o.XorText = "0x1FF"; }), {"000000FE", "376", "254"}},
        // Text that does not convert XORs nothing; -1 is a number like any other.
        {b01, 1, with([](auto& o) { o.XorBy = true; o.XorText = "zz"; }), {"00000001", "1", "1"}},
        {b01, 1, with([](auto& o) { o.XorBy = true; o.XorText = "-1"; }), {"000000FE", "376", "254"}},
        {b01, 1, with([](auto& o) { o.XorBy = false; o.XorText = "0xFF"; }), {"00000001", "1", "1"}},
        // Five to eight bytes: every view shows the whole number.
        {b5, 5, {}, {"102030405", "40200602005", "4328719365"}},
        {b5, 5, with([](auto& o) { o.SwapNibbles = true; }), {"1020304050", "1004014040120", "69259509840"}},
        {b5, 5, with([](auto& o) { o.BitShift = 32; }), {"00000001", "1", "1"}},
        {b10000, 5, {}, {"100000000", "40000000000", "4294967296"}},
        {b8FF, 8, {}, {"FFFFFFFFFFFFFFFF", "1777777777777777777777", "18446744073709551615"}},
        {b8FF, 8, with([](auto& o) { o.BitShift = 4; }),
         {"FFFFFFFFFFFFFFF", "77777777777777777777", "1152921504606846975"}},
        // A ninth selected byte is not part of the number.
        {b8FF, 9, with([](auto& o) { o.Invert = true; }), {"00000000", "0", "0"}},
    };
    for (const auto& c : cases) {
        const TSelectionResult r = ConvertSelection(c.bytes, c.count, c.options);
        EXPECT_EQ(r.Hex, c.expected.Hex) << c.expected.Hex;
        EXPECT_EQ(r.Octal, c.expected.Octal) << c.expected.Hex;
        EXPECT_EQ(r.Decimal, c.expected.Decimal) << c.expected.Hex;
    }
}

TEST(ShowSelection, ShiftStepsStopAt32)
{
    int shift = 0;
    for (int i = 0; i < 40; ++i)
        shift = StepBitShift(shift, -1);
    EXPECT_EQ(shift, -32);
    for (int i = 0; i < 70; ++i)
        shift = StepBitShift(shift, +1);
    EXPECT_EQ(shift, 32);
}

TEST(ShowSelection, ShiftCaption)
{
    const TShiftTexts texts;
    const std::tuple<int, std::string, uint32_t> cases[] = {
        {0, "Shift on 0 bit(s)", 0x000000},
        {2, "Shift on 2 bit(s) to the right", 0x0000FF},
        {-7, "Shift on 7 bit(s) to the left", 0xFF0000},
    };
    for (const auto& [shift, text, color] : cases) {
        const TShiftCaption caption = ShiftCaption(shift, texts);
        EXPECT_EQ(caption.Text, text);
        EXPECT_EQ(caption.Color, color) << text;
    }
}

// "Show as decimal number" is offered for every size the number is made
// of, by the Edit menu and the popup alike; a selection of eight bytes
// shows all of them.
TEST(ShowSelection, OfferedForEverySizeTheNumberTakes)
{
    const struct {
        int64_t SelStart, SelEnd;
        bool Offered;
    } cases[] = {
        {-1, 0, false}, {0, 0, true}, {5, 8, true}, {0, 4, true}, {3, 10, true},
        {10, 3, true},  {0, 8, false}, {8, 0, false}, {100, 199, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectionShowable(c.SelStart, c.SelEnd), c.Offered) << c.SelStart << ".." << c.SelEnd;
    const uint8_t eight[] = {0xFE, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(ConvertSelection(eight, 8, {}).Hex, "FE23456789ABCDEF");
}
