#include "buffer/HDumpEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// A view of 800x200 pixels with W = 8, H = 16 and the header shown: data
// rows start at y = 20, twelve rows are painted, the last one cut off.
class DumpEdit : public ::testing::Test {
protected:
    TDumpBuffer buf;
    THexDumpEdit ed{buf};
    std::vector<std::pair<int64_t, int64_t>> changed;

    void Size(int64_t n)
    {
        buf.SetSize(n);
        ed.BufferResized();
        ed.SetGeometry(800, 200, 8, 16);
        ed.OnSelectionChanged = [this](int64_t a, int64_t b) { changed.emplace_back(a, b); };
    }
    // Centre of the high digit of a byte's hex cell (byte mode) and of its
    // ASCII character, for bytes in the rows shown.
    int HexX(int64_t i) const { return 4 + (7 + 3 * int(i % 16)) * 8 + 4; }
    int AsciiX(int64_t i) const { return 4 + (56 + int(i % 16)) * 8 + 4; }
    int RowY(int64_t i) const { return 20 + int((i - ed.TopIndex) / 16) * 16 + 8; }
    void Type(const char* keys)
    {
        for (; *keys; ++keys)
            ed.HexKeyDown(*keys);
    }
};

TEST_F(DumpEdit, GeometryMatchesThePaint)
{
    Size(1024);
    EXPECT_EQ(ed.PageLines, 12);
    EXPECT_EQ(ed.LastRowIndex, 11 * 16);
    EXPECT_TRUE(ed.ViewFull);
    Size(17);
    EXPECT_EQ(ed.LastRowIndex, 16);
    EXPECT_FALSE(ed.ViewFull);
}

TEST_F(DumpEdit, HexEntryByteMode)
{
    Size(64);
    Type("A5");
    EXPECT_EQ(buf.Data[0], 0xA5);
    EXPECT_FALSE(buf.GetMatchBit(0));
    EXPECT_TRUE(buf.Modified);
    EXPECT_EQ(ed.CaretByte, 1);
    EXPECT_EQ(ed.CaretNibble, 2);
    // The last digit of the buffer keeps the caret on it.
    ed.KeyDown(TDumpKey::End);
    Type("123");
    EXPECT_EQ(buf.Data[63], 0x13);
    EXPECT_EQ(ed.CaretNibble, 127);
}

TEST_F(DumpEdit, HexEntryWordModeSwapped)
{
    Size(64);
    ed.WordMode = true;
    Type("1234");
    EXPECT_EQ(buf.Data[0], 0x34);
    EXPECT_EQ(buf.Data[1], 0x12);
    ed.SwapBytes = false;
    Type("5678");
    EXPECT_EQ(buf.Data[2], 0x56);
    EXPECT_EQ(buf.Data[3], 0x78);
}

TEST_F(DumpEdit, OddSizedWordModeStaysInsideTheBuffer)
{
    Size(5);
    ed.WordMode = true;
    ed.AdvanceAfterIns = false;
    ed.CaretNibble = 8; // byte 4, whose word partner 5 does not exist
    buf.Data[5] = 0x99;
    Type("77");
    EXPECT_EQ(buf.Data[5], 0x99);
    EXPECT_EQ(buf.Data[4], 0x77) << "the partnerless last byte is edited itself";
    ed.CaretNibble = 8;
    ed.SetMarker(2);
    EXPECT_EQ(buf.Markers[4], 2);
    EXPECT_EQ(buf.Markers[5], 0);
    buf.HideMismatch();
    ed.KeyDown(TDumpKey::Insert);
    EXPECT_FALSE(buf.GetMatchBit(4));
    EXPECT_TRUE(buf.MatchBits().Get(5)) << "bit past the end untouched";
}

TEST_F(DumpEdit, MarkersWithCtrlAndWhileTheButtonIsHeld)
{
    Size(64);
    ed.KeyDown(TDumpKey::Ctrl);
    EXPECT_TRUE(ed.HexKeyDown('3'));
    EXPECT_FALSE(ed.HexKeyDown('9')) << "only 0..7 are markers";
    ed.KeyUp(TDumpKey::Ctrl);
    EXPECT_EQ(buf.Markers[0], 3);
    EXPECT_EQ(ed.CaretByte, 1);
    EXPECT_EQ(buf.Data[0], 0) << "Ctrl+digit does not edit";

    ed.MouseDownAt(TDumpButton::Left, HexX(5), RowY(5));
    ed.HexKeyDown('4');
    ed.MouseUpAt();
    EXPECT_EQ(buf.Markers[5], 4);
    EXPECT_EQ(buf.Data[5], 0);

    // With a selection every selected byte takes the marker.
    buf.SetSelectRange(10, 12, true);
    buf.SelStart = 12;
    buf.SelEnd = 10;
    ed.SetMarker(6);
    EXPECT_EQ(buf.Markers[9], 0);
    EXPECT_EQ(buf.Markers[10], 6);
    EXPECT_EQ(buf.Markers[12], 6);
    EXPECT_EQ(buf.Markers[13], 0);
}

TEST_F(DumpEdit, InsertTogglesTheMismatchMark)
{
    Size(64);
    ed.AdvanceAfterIns = false;
    ed.KeyDown(TDumpKey::Insert);
    EXPECT_FALSE(buf.GetMatchBit(0));
    ed.KeyDown(TDumpKey::Insert);
    EXPECT_TRUE(buf.GetMatchBit(0));
    ed.AdvanceAfterIns = true;
    ed.WordMode = true;
    ed.KeyDown(TDumpKey::Insert);
    EXPECT_FALSE(buf.GetMatchBit(0));
    EXPECT_FALSE(buf.GetMatchBit(1));
    EXPECT_EQ(ed.CaretNibble, 4);
    ed.KeyDown(TDumpKey::End);
    ed.KeyDown(TDumpKey::Insert);
    EXPECT_EQ(ed.CaretNibble, 127) << "stops on the last byte";
}

TEST_F(DumpEdit, ClickInAsciiColumnTypesCharacters)
{
    Size(64);
    ed.MouseDownAt(TDumpButton::Left, AsciiX(18), RowY(18));
    ed.MouseUpAt();
    EXPECT_TRUE(ed.AsciiColumn);
    EXPECT_EQ(ed.CaretByte, 18);
    EXPECT_FALSE(ed.HexKeyDown('A')) << "left to the character";
    EXPECT_TRUE(ed.CharTyped('A'));
    EXPECT_TRUE(ed.CharTyped('z'));
    EXPECT_EQ(buf.Data[18], 'A');
    EXPECT_EQ(buf.Data[19], 'z');
    EXPECT_EQ(ed.CaretByte, 20);
    // Back to the hex cells; the low digit of a cell is hit right of its
    // first character.
    ed.MouseDownAt(TDumpButton::Left, HexX(3) + 8, RowY(3));
    ed.MouseUpAt();
    EXPECT_FALSE(ed.AsciiColumn);
    EXPECT_EQ(ed.CaretNibble, 7);
}

// The change event comes with every typed byte and with nothing that
// leaves the bytes as they were.
TEST_F(DumpEdit, ChangeEventOnlyForTypedBytes)
{
    const struct {
        const char* what;
        std::function<void()> act;
        int changes;
    } cases[] = {
        {"two hex digits", [this] { Type("A5"); }, 2},
        {"a character in the ASCII column",
         [this] {
             ed.AsciiColumn = true;
             ed.CharTyped('x');
         },
         1},
        {"a hex key in the ASCII column", [this] {
             ed.AsciiColumn = true;
             ed.HexKeyDown('A');
         }, 0},
        {"Ctrl and a marker digit",
         [this] {
             ed.KeyDown(TDumpKey::Ctrl);
             ed.HexKeyDown('3');
             ed.KeyUp(TDumpKey::Ctrl);
         },
         0},
        {"the mismatch toggle", [this] { ed.KeyDown(TDumpKey::Insert); }, 0},
        {"caret keys", [this] { ed.KeyDown(TDumpKey::Right); ed.KeyDown(TDumpKey::End); }, 0},
    };
    for (const auto& c : cases) {
        buf = TDumpBuffer();
        ed.AsciiColumn = false;
        ed.CaretNibble = 0;
        Size(64);
        int changes = 0;
        ed.OnChange = [&] { ++changes; };
        c.act();
        EXPECT_EQ(changes, c.changes) << c.what;
        ed.OnChange = nullptr;
    }
    // An empty buffer takes no typing and reports none.
    Size(0);
    int changes = 0;
    ed.OnChange = [&] { ++changes; };
    Type("12");
    EXPECT_EQ(changes, 0);
}

TEST_F(DumpEdit, WordModeClickFollowsTheCellColumns)
{
    Size(64);
    ed.WordMode = true;
    // Word k's digits stand at columns 7 + 5k .. 10 + 5k, its blank at
    // 11 + 5k; the ASCII column starts at 48. Clicks go to row 1.
    const struct {
        int column;
        int64_t nibble;
        const char* what;
    } cases[] = {
        {7, 0, "first digit of word 0"},
        {10, 3, "last digit of word 0"},
        {11, 4, "blank after word 0: first digit of word 1"},
        {41, 28, "blank after word 6: first digit of word 7"},
        {45, 31, "last digit of word 7"},
        {46, 31, "blank after the last word stays in the row"},
        {47, 31, "gap before the ASCII column stays in the row"},
    };
    for (const auto& c : cases) {
        ed.MouseDownAt(TDumpButton::Left, 4 + c.column * 8 + 4, RowY(16));
        ed.MouseUpAt();
        EXPECT_EQ(ed.CaretNibble, 32 + c.nibble) << c.what;
        EXPECT_FALSE(ed.AsciiColumn) << c.what;
    }
}

TEST_F(DumpEdit, ShiftSelectionWithCursorKeys)
{
    Size(256);
    ed.GotoAddress(4);
    ed.KeyDown(TDumpKey::Shift);
    ed.KeyDown(TDumpKey::Down);
    ed.KeyUp(TDumpKey::Shift);
    EXPECT_EQ(buf.SelStart, 4);
    EXPECT_EQ(buf.SelEnd, 20);
    EXPECT_TRUE(buf.IsSelected(12));
    EXPECT_FALSE(buf.IsSelected(21));

    ed.GotoAddress(4);
    ed.KeyDown(TDumpKey::Shift);
    ed.KeyDown(TDumpKey::Right);
    ed.KeyDown(TDumpKey::Right);
    ed.KeyUp(TDumpKey::Shift);
    EXPECT_EQ(buf.SelStart, 4);
    EXPECT_EQ(buf.SelEnd, 5);
    EXPECT_FALSE(buf.IsSelected(6));
    EXPECT_FALSE(buf.IsSelected(20)) << "a new Shift selection starts afresh";

    // Backwards: the selection ends up ordered.
    ed.GotoAddress(40);
    ed.KeyDown(TDumpKey::Shift);
    ed.KeyDown(TDumpKey::Up);
    ed.KeyUp(TDumpKey::Shift);
    EXPECT_EQ(buf.SelStart, 24);
    EXPECT_EQ(buf.SelEnd, 40);
}

TEST_F(DumpEdit, SelectionStartsInsideABufferThatShrankUnderTheCaret)
{
    Size(1024);
    ed.KeyDown(TDumpKey::End);
    buf.SetSize(16); // a file load resizes the buffer without telling the view
    ed.UpdateRows();  // as a paint does
    EXPECT_EQ(ed.TopIndex, 0);
    ed.KeyDown(TDumpKey::Shift);
    ed.KeyDown(TDumpKey::Up);
    EXPECT_EQ(buf.SelStart, 15);
    EXPECT_EQ(buf.SelEnd, 15);
    ed.KeyUp(TDumpKey::Shift);

    Size(1024);
    ed.KeyDown(TDumpKey::End);
    Size(16);
    EXPECT_EQ(ed.CaretByte, 15) << "resizing through the view brings the caret in";
}

TEST_F(DumpEdit, MouseDragSelectsAndFollowsThePointer)
{
    Size(256);
    ed.MouseDownAt(TDumpButton::Left, HexX(2), RowY(2));
    ed.MouseMoveTo(HexX(2) + 3, RowY(2) + 4); // under the threshold
    EXPECT_EQ(buf.SelStart, -1);
    ed.MouseMoveTo(HexX(40), RowY(40));
    ed.MouseMoveTo(HexX(40), RowY(40));
    EXPECT_EQ(ed.MouseState, 3);
    EXPECT_TRUE(buf.IsSelected(2));
    EXPECT_TRUE(buf.IsSelected(40));
    EXPECT_FALSE(buf.IsSelected(41));
    ed.MouseMoveTo(HexX(10), RowY(10));
    EXPECT_FALSE(buf.IsSelected(11));
    EXPECT_FALSE(buf.IsSelected(40));
    ed.MouseUpAt();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], std::make_pair(int64_t(2), int64_t(10)));

    // Dragging below the view scrolls and keeps extending.
    ed.MouseDownAt(TDumpButton::Left, HexX(0), RowY(0));
    EXPECT_EQ(buf.SelStart, -1) << "a plain click drops the selection";
    ed.MouseMoveTo(HexX(0), RowY(0) + 40);
    ed.MouseMoveTo(HexX(0), 250);
    EXPECT_EQ(ed.TopIndex, 16);
    ed.MouseUpAt();
    EXPECT_EQ(buf.SelStart, 0);
    EXPECT_GT(buf.SelEnd, 150);
}

TEST_F(DumpEdit, DragAboveTheRows)
{
    // The view starts at byte 32 and the press is on byte 34 (row 0). Data
    // rows start at y = 4 without the header, at y = 20 with it.
    const int x = HexX(2);
    const struct {
        const char* what;
        bool header;
        std::vector<std::pair<int, int>> moves;
        int64_t top, selStart, selEnd;
    } cases[] = {
        {"no header: straight up out of the window", false, {{x, -5}}, 32, 34, 34},
        {"no header: on above the window scrolls", false, {{x, -5}, {x, -5}}, 16, 18, 34},
        {"no header: the top margin strip is the first row", false, {{x, 44}, {HexX(5), 2}}, 32, 34, 37},
        {"header: ignored before a selection", true, {{x, 10}}, 32, -1, -1},
        {"header: scrolls once selecting", true, {{x, 60}, {x, 10}}, 16, 18, 34},
    };
    for (const auto& c : cases) {
        Size(256);
        ed.ShowHeader = c.header;
        ed.SetScrollPos(2);
        ed.MouseDownAt(TDumpButton::Left, x, (c.header ? 20 : 4) + 8);
        for (const auto& [mx, my] : c.moves)
            ed.MouseMoveTo(mx, my);
        ed.MouseUpAt();
        EXPECT_EQ(ed.TopIndex, c.top) << c.what;
        EXPECT_EQ(buf.SelStart, c.selStart) << c.what;
        if (c.selStart >= 0) {
            EXPECT_EQ(buf.SelEnd, c.selEnd) << c.what;
        }
    }
}

TEST_F(DumpEdit, DragIntoTheWideAddressColumnIsIgnored)
{
    Size(0x1000000 + 64); // seven address digits: the cells start at 8 W
    ed.MouseDownAt(TDumpButton::Left, 4 + 9 * 8, RowY(0));
    ed.MouseMoveTo(4 + 6 * 8 + 4, RowY(40)); // on the seventh digit
    EXPECT_EQ(buf.SelStart, -1);
    ed.MouseMoveTo(4 + 9 * 8, RowY(40));
    EXPECT_EQ(buf.SelStart, 0);
    ed.MouseUpAt();
}

TEST_F(DumpEdit, PersistentBlocksKeepTheSelectionOnClick)
{
    Size(256);
    ed.PersistentBlocks = true;
    ed.SelectAll();
    ed.MouseDownAt(TDumpButton::Left, HexX(3), RowY(3));
    ed.MouseUpAt();
    EXPECT_EQ(buf.SelStart, 0);
    EXPECT_TRUE(buf.IsSelected(255));
}

TEST_F(DumpEdit, NavigationAndScrolling)
{
    Size(1024);
    for (int i = 0; i < 11; ++i)
        ed.KeyDown(TDumpKey::Down);
    EXPECT_EQ(ed.CaretByte, 176);
    EXPECT_EQ(ed.TopIndex, 16) << "the cut-off last row scrolls into view";
    ed.KeyDown(TDumpKey::PageDown);
    EXPECT_EQ(ed.TopIndex, 16 + 12 * 16);
    EXPECT_EQ(ed.CaretByte, 176 + 12 * 16);
    ed.KeyDown(TDumpKey::PageUp);
    ed.KeyDown(TDumpKey::PageUp);
    EXPECT_EQ(ed.TopIndex, 0);
    EXPECT_EQ(ed.CaretNibble, (176 * 2 + 12 * 32) % 32);
    ed.KeyDown(TDumpKey::End);
    EXPECT_EQ(ed.CaretByte, 1023);
    EXPECT_EQ(ed.TopIndex, 1008);
    ed.KeyDown(TDumpKey::Right);
    ed.KeyDown(TDumpKey::Right);
    EXPECT_EQ(ed.CaretNibble, 2047);
    ed.KeyDown(TDumpKey::Home);
    EXPECT_EQ(ed.CaretNibble, 0);
    EXPECT_EQ(ed.TopIndex, 0);
    ed.KeyDown(TDumpKey::Left);
    EXPECT_EQ(ed.CaretNibble, 0);
    ed.Wheel(-120);
    EXPECT_EQ(ed.TopIndex, 16);
    ed.Wheel(120);
    EXPECT_EQ(ed.TopIndex, 0);
}

TEST_F(DumpEdit, GotoAddress)
{
    Size(4096);
    ed.GotoAddress(0x123);
    EXPECT_EQ(ed.TopIndex, 0x120);
    EXPECT_EQ(ed.CaretByte, 0x123);
    ed.GotoAddress(0x125); // already shown: no scroll
    EXPECT_EQ(ed.TopIndex, 0x120);
    ed.WordMode = true;
    ed.GotoAddress(0x10);
    EXPECT_EQ(ed.CaretByte, 0x20);
    EXPECT_EQ(ed.TopIndex, 0x20);
    ed.WordMode = false;
    ed.GotoAddress(100000); // past the end: the last byte
    EXPECT_EQ(ed.CaretByte, 4095);
    EXPECT_EQ(ed.TopIndex, 4080);
}

TEST_F(DumpEdit, EmptyBufferIgnoresInput)
{
    Size(0);
    EXPECT_FALSE(ed.KeyDown(TDumpKey::Down));
    EXPECT_FALSE(ed.HexKeyDown('1'));
    ed.MouseDownAt(TDumpButton::Left, 100, 100);
    EXPECT_FALSE(ed.MouseDown);
    ed.SetMarker(1);
    EXPECT_FALSE(buf.Modified);
}

TEST(DumpLayout, WideAddressesShiftTheColumns)
{
    EXPECT_EQ(AddressDigits(0xFFFFFF, false), 6);
    EXPECT_EQ(AddressDigits(0x1000000, false), 7);
    EXPECT_EQ(AddressDigits(0x1FFFFFFF, false), 8);
    EXPECT_EQ(AddressDigits(0x1FFFFFF, true), 6);
    TDumpLayout l;
    l.AddrDigits = 8;
    EXPECT_EQ(l.HexTextCol(0), 9);
    EXPECT_EQ(l.AsciiCol(0), 58);
    bool ascii, left;
    EXPECT_EQ(l.NibbleColumnAt(4 + 9 * 8 + 1, ascii, left), 0);
    EXPECT_FALSE(left);
    EXPECT_EQ(l.NibbleColumnAt(4 + 58 * 8 + 17, ascii, left), 4);
    EXPECT_TRUE(ascii);
}

} // namespace
