#include "buffer/HDumpBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct SizeCase {
    int64_t size;
    size_t data, markers, bits;
};

TEST(DumpBuffer, ArraySizesAtCreationAndAfterSetSize)
{
    TDumpBuffer b;
    EXPECT_EQ(b.LastIndex, -1);
    EXPECT_EQ(b.Data.size(), 65536u);
    EXPECT_EQ(b.Markers.size(), 65536u);
    EXPECT_EQ(b.MatchBits().Bytes.size(), 8193u);
    EXPECT_EQ(b.SelectBits().Bytes.size(), 8193u);

    const SizeCase cases[] = {
        {0, 65537, 65536, 8200},
        {17, 65537, 65536, 8200},
        {0xFFFF, 65537, 65536, 8200},
        {0x10000, 0x10001, 0x10001, 0x2008},
        {0x12345, 0x12346, 0x12346, 0x12345 / 8 + 8},
        {100, 65537, 0x12346, 8200}, // small sizes leave the markers as long as they were
    };
    for (const auto& c : cases) {
        b.SetSize(c.size);
        EXPECT_EQ(b.LastIndex, c.size - 1) << c.size;
        EXPECT_EQ(b.GetSize(), c.size);
        EXPECT_EQ(b.Data.size(), c.data) << c.size;
        EXPECT_EQ(b.Markers.size(), c.markers) << c.size;
        EXPECT_EQ(b.MatchBits().Bytes.size(), c.bits) << c.size;
        EXPECT_EQ(b.SelectBits().Bytes.size(), c.bits) << c.size;
        EXPECT_EQ(b.Data.capacity(), c.data) << "no spare capacity";
    }
}

TEST(DumpBuffer, SetSizeKeepsBytesAndMarkersClearsMarksAndSelection)
{
    TDumpBuffer b;
    b.SetSize(0x20000);
    b.Data[5] = 0x55;
    b.Data[0x1FFFF] = 0x77;
    b.Markers[0x1FFFF] = 5;
    b.Markers[5] = 3;
    b.SetMatchBit(5);
    b.SetSelectBit(7, true);
    b.SelStart = 7;
    b.SelEnd = 7;
    b.SetSize(0x10);
    EXPECT_EQ(b.Data[5], 0x55);
    EXPECT_EQ(b.Markers[5], 3);
    EXPECT_TRUE(b.GetMatchBit(5));
    EXPECT_FALSE(b.IsSelected(7));
    EXPECT_EQ(b.SelStart, -1);
    b.SetSize(0x20000);
    EXPECT_EQ(b.Data[5], 0x55);
    EXPECT_EQ(b.Data[0x1FFFF], 0) << "what the buffer gains is zero";
    EXPECT_EQ(b.Markers[0x1FFFF], 0) << "and unmarked";
}

// Bytes and markers a resize adds never show an earlier, larger buffer:
// the small array outlives every shrink, the markers keep their length.
TEST(DumpBuffer, WhatAResizeAddsIsZeroAndUnmarked)
{
    const struct {
        int64_t Before, Shrunk, Grown;
    } cases[] = {
        {0x200000, 4096, 8192},  // a 2 MiB dump, then a small buffer grown
        {0x200000, 4096, 0x30000},
        {0x8000, 100, 0xFFFF},   // within the small array
        {0xFFFF, 0, 17},
        {0x20000, 0x10000, 0x20000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Before << " " << c.Shrunk << " " << c.Grown);
        TDumpBuffer b;
        b.SetSize(c.Before);
        std::fill_n(b.Data.begin(), c.Before, uint8_t(0x5A));
        b.SetMarkerRange(0, c.Before - 1, 3);
        b.SetSize(c.Shrunk);
        b.SetSize(c.Grown);
        int64_t kept = 0, zero = 0, unmarked = 0;
        for (int64_t i = 0; i < c.Grown; ++i) {
            kept += i < c.Shrunk && b.Data[size_t(i)] == 0x5A && b.Markers[size_t(i)] == 3;
            zero += i >= c.Shrunk && b.Data[size_t(i)] == 0;
            unmarked += i >= c.Shrunk && b.Markers[size_t(i)] == 0;
        }
        EXPECT_EQ(kept, c.Shrunk);
        EXPECT_EQ(zero, c.Grown - c.Shrunk);
        EXPECT_EQ(unmarked, c.Grown - c.Shrunk);
    }
}

// A file's bytes taken as the data array stay as they came, however much
// larger than the buffer before.
TEST(DumpBuffer, TakenDataKeepsEveryByte)
{
    TDumpBuffer b;
    b.SetSize(16);
    for (const int64_t size : {int64_t(40), int64_t(0x12345), int64_t(3)}) {
        std::vector<uint8_t> data(size_t(size > TDumpBuffer::SmallLimit ? size + 1 : 65537), 0x00);
        for (int64_t i = 0; i < size; ++i)
            data[size_t(i)] = uint8_t(i * 7);
        const std::vector<uint8_t> expected(data.begin(), data.begin() + size);
        b.TakeData(data, size);
        EXPECT_EQ(b.GetSize(), size);
        EXPECT_EQ(std::vector<uint8_t>(b.Data.begin(), b.Data.begin() + size), expected) << size;
    }
}

TEST(DumpBuffer, EmptyBufferOperationsDoNothing)
{
    TDumpBuffer b;
    b.SetSize(0);
    b.EraseBuffer();
    b.SelectAll();
    b.SetMatchBit(0);
    b.SetSelectBit(0, true);
    b.ClearMarkers();
    b.NormalizeSelection();
    EXPECT_EQ(b.SelStart, -1);
    EXPECT_EQ(b.Data[0], 0);
    EXPECT_FALSE(b.IsSelected(0));
}

TEST(DumpBuffer, BitAccessOutsideTheBufferIsBounded)
{
    TDumpBuffer b;
    b.SetSize(0x10001);
    for (int64_t i : {int64_t(-1), int64_t(-100), int64_t(0x10001), int64_t(1) << 40}) {
        b.SetMatchBit(i, false);
        b.SetSelectBit(i, true);
        EXPECT_FALSE(b.IsSelected(i)) << i; // a negative index used to answer true
        EXPECT_TRUE(b.GetMatchBit(i)) << i;
    }
    b.SelectAll();
    EXPECT_FALSE(b.IsSelected(-1));
    EXPECT_FALSE(b.IsSelected(0x10001));
    EXPECT_TRUE(b.IsSelected(0x10000));
}

TEST(DumpBuffer, EraseHideMismatchClearMarkers)
{
    TDumpBuffer b;
    b.SetSize(20);
    b.Markers[19] = 4;
    b.SetMatchBit(19);
    EXPECT_FALSE(b.GetMatchBit(19));
    b.EraseBuffer();
    b.HideMismatch();
    b.ClearMarkers();
    EXPECT_EQ(b.Data[19], 0xFF);
    EXPECT_EQ(b.Data[20], 0) << "erase stops at the last byte";
    EXPECT_TRUE(b.GetMatchBit(19));
    EXPECT_EQ(b.Markers[19], 0);
}

TEST(DumpBuffer, SelectionRangesAndNormalize)
{
    TDumpBuffer b;
    b.SetSize(1000);
    b.SetSelectRange(3, 700, true);
    for (int64_t i : {3, 7, 8, 63, 64, 699, 700})
        EXPECT_TRUE(b.IsSelected(i)) << i;
    EXPECT_FALSE(b.IsSelected(2));
    EXPECT_FALSE(b.IsSelected(701));
    b.SelStart = 500;
    b.NormalizeSelection();
    EXPECT_EQ(b.SelStart, 3);
    EXPECT_EQ(b.SelEnd, 700);

    // Shrink and grow by difference only.
    b.MoveSelectRange(3, 700, 10, 20);
    EXPECT_FALSE(b.IsSelected(9));
    EXPECT_TRUE(b.IsSelected(10));
    EXPECT_TRUE(b.IsSelected(20));
    EXPECT_FALSE(b.IsSelected(21));
    b.MoveSelectRange(10, 20, 900, 999);
    EXPECT_FALSE(b.IsSelected(15));
    EXPECT_TRUE(b.IsSelected(999));
    b.NormalizeSelection();
    EXPECT_EQ(b.SelStart, 900);
    EXPECT_EQ(b.SelEnd, 999);

    b.ClearSelection();
    EXPECT_EQ(b.SelStart, -1);
    for (int64_t i = 0; i < 1000; ++i)
        ASSERT_FALSE(b.IsSelected(i)) << i;

    // A run with a hole: the end is the last byte before the hole.
    b.SetSelectBit(40, true);
    b.SetSelectBit(41, true);
    b.SetSelectBit(43, true);
    b.SelStart = 43;
    b.NormalizeSelection();
    EXPECT_EQ(b.SelStart, 40);
    EXPECT_EQ(b.SelEnd, 41);
    // Everything deselected again: no selection is left.
    b.SetSelectRange(0, 999, false);
    b.NormalizeSelection();
    EXPECT_EQ(b.SelStart, -1);
}

TEST(DumpBuffer, SelectAllSelectsExactlyTheBuffer)
{
    TDumpBuffer b;
    b.SetSize(13);
    b.SelectAll();
    EXPECT_EQ(b.SelStart, 0);
    EXPECT_EQ(b.SelEnd, 12);
    b.NormalizeSelection();
    EXPECT_EQ(b.SelEnd, 12) << "bits past the end must not extend the run";
}

struct ColorCase {
    uint8_t marker;
    bool selected, mismatch;
    uint32_t back, text;
};

TEST(DumpBuffer, ColourRule)
{
    TDumpColors c;
    c.MismatchColor = 0xFF8000;
    TDumpBuffer b;
    b.SetSize(16);
    const ColorCase cases[] = {
        {0, false, false, 0xFFFFFF, 0x000000},
        {0, true, false, 0x800000, 0xFFFFFF},
        {1, false, false, 0x0000FF, 0x000000},
        {2, false, false, 0x00FF00, 0x000000},
        {4, false, false, 0xFF0000, 0x000000},
        {3, false, false, 0x00FFFF, 0x000000},
        {7, false, false, 0x808080, 0x000000},
        {8, false, false, 0xFFFFFF, 0x000000},
        {1, true, false, 0x0000FF ^ 0x800000, 0xFFFFFF},
        {0, false, true, 0xFFFFFF, 0xFF8000},
        {0, true, true, 0x800000, 0xFF8000},
        {2, true, true, 0x00FF00 ^ 0x800000, 0xFF8000},
    };
    for (const auto& k : cases) {
        b.Markers[0] = k.marker;
        b.SetSelectBit(0, k.selected);
        b.SetMatchBit(0, !k.mismatch);
        uint32_t back = 1, text = 2;
        b.ByteColors(0, c, back, text);
        EXPECT_EQ(back, k.back) << int(k.marker) << k.selected << k.mismatch;
        EXPECT_EQ(text, k.text) << int(k.marker) << k.selected << k.mismatch;
    }
    uint32_t back = 1, text = 2;
    b.ByteColors(16, c, back, text);
    b.ByteColors(-1, c, back, text);
    EXPECT_EQ(back, 1u);
    EXPECT_EQ(text, 2u);
}

TEST(DumpBuffer, MemoryStaysUnderBoundOnLargeBuffers)
{
    TDumpBuffer b;
    const int64_t n = 16 << 20;
    b.SetSize(n / 2);
    b.SetSize(n);
    EXPECT_LT(double(b.MemoryBytes()) / double(n), 2.3);
}

} // namespace
