// The zero-started byte array under the device buffer's markers and bit
// arrays: sizing keeps what fits, clearing a prefix keeps what follows it,
// on both sides of the size where clearing moves to fresh memory.
#include "buffer/HDumpBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t Large = size_t(3) << 20;

// A recognisable byte at every index.
TDumpBytes Pattern(size_t size)
{
    TDumpBytes b(size);
    for (size_t i = 0; i < size; ++i)
        b[i] = uint8_t(i % 251 + 1);
    return b;
}

bool HasPattern(const TDumpBytes& b, size_t first, size_t end)
{
    for (size_t i = first; i < end; ++i)
        if (b[i] != uint8_t(i % 251 + 1))
            return false;
    return true;
}

bool AllZero(const TDumpBytes& b, size_t first, size_t end)
{
    for (size_t i = first; i < end; ++i)
        if (b[i] != 0)
            return false;
    return true;
}

TEST(DumpBytes, NewBytesStartAtZero)
{
    for (size_t size : {size_t(0), size_t(1), size_t(8193), Large}) {
        const TDumpBytes b(size);
        EXPECT_EQ(b.size(), size);
        EXPECT_EQ(b.capacity(), size);
        EXPECT_TRUE(AllZero(b, 0, size)) << size;
    }
}

TEST(DumpBytes, ResizeKeepsWhatFitsAndZeroesTheRest)
{
    const struct {
        size_t from, to;
    } cases[] = {{100, 100}, {100, 50}, {50, 100}, {0, 64}, {64, 0}, {Large, Large + 10}, {Large, 1000}, {1000, Large}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        TDumpBytes b = Pattern(c.from);
        b.Resize(c.to);
        ASSERT_EQ(b.size(), c.to);
        EXPECT_EQ(b.capacity(), c.to);
        const size_t kept = std::min(c.from, c.to);
        EXPECT_TRUE(HasPattern(b, 0, kept));
        EXPECT_TRUE(AllZero(b, kept, c.to));
    }
}

TEST(DumpBytes, ZeroPrefixKeepsTheBytesAfterIt)
{
    const struct {
        size_t size, count;
    } cases[] = {
        {100, 0}, {100, 40}, {100, 100}, {100, 500}, // cleared in place
        {Large + 1, Large}, {Large, Large}, {Large, Large / 2}, {Large, Large + 7}, // through fresh memory
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " of " << c.size);
        TDumpBytes b = Pattern(c.size);
        b.ZeroPrefix(c.count);
        ASSERT_EQ(b.size(), c.size);
        const size_t cleared = std::min(c.count, c.size);
        EXPECT_TRUE(AllZero(b, 0, cleared));
        EXPECT_TRUE(HasPattern(b, cleared, c.size));
    }
}

TEST(DumpBytes, CopiesAreDeepAndCompareByContent)
{
    TDumpBytes a = Pattern(300);
    TDumpBytes b = a;
    EXPECT_EQ(a, b);
    b[7] = 0;
    EXPECT_FALSE(a == b);
    EXPECT_EQ(a[7], 8) << "the copy has its own bytes";
    TDumpBytes moved = std::move(b);
    EXPECT_EQ(moved.size(), 300u);
    EXPECT_EQ(moved[7], 0);
    a = moved;
    EXPECT_EQ(a, moved);
    EXPECT_FALSE(TDumpBytes(3) == TDumpBytes(4));
    EXPECT_EQ(TDumpBytes(), TDumpBytes(0));
}

} // namespace
