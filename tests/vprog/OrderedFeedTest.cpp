// What the programmer is handed from rounds of the two pipes: commands and
// resets in the order the host wrote them, whichever read of a round found
// the control bytes.
#include "vprog/OrderedFeed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct TRound {
    Bytes ControlBefore, Commands, ControlAfter;
};

// A control write as the link sends it: the mark naming the command bytes
// written since the last one, then the reset byte.
Bytes Marked(uint32_t before)
{
    Bytes b{PipeOrderMark};
    for (int shift = 0; shift < 32; shift += 8)
        b.push_back(static_cast<uint8_t>(before >> shift));
    b.push_back(0);
    return b;
}

Bytes Join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Command bytes as digits, a reset as "R".
std::string Feed(const std::vector<TRound>& rounds)
{
    std::string seen;
    TOrderedFeed feed(
        [&](const uint8_t* data, size_t count) {
            for (size_t i = 0; i < count; ++i)
                seen += static_cast<char>('0' + data[i]);
        },
        [&] { seen += 'R'; });
    for (const TRound& r : rounds)
        feed.Round(r.ControlBefore, r.Commands, r.ControlAfter);
    return seen;
}

TEST(OrderedFeedTest, ResetsLandWhereTheHostWroteThem)
{
    const struct {
        const char* Name;
        std::vector<TRound> Rounds;
        const char* Expected;
    } cases[] = {
        {"a mark read first, with the commands before and after it", {{Marked(2), {1, 2, 3}, {}}}, "12R3"},
        // The read of the control pipe before the commands found nothing;
        // the commands written after the control byte were read with
        // those before it.
        {"a mark read last, with commands written after it", {{{}, {1, 2, 3}, Marked(2)}}, "12R3"},
        {"a mark read last naming every command", {{{}, {1, 2}, Marked(2)}}, "12R"},
        {"a mark whose commands come next round", {{Marked(3), {1}, {}}, {{}, {2, 3, 4}, {}}}, "123R4"},
        {"two marks in one read", {{Join(Marked(1), Marked(1)), {1, 2, 3}, {}}}, "1R2R3"},
        {"a mark carried, the next one read last", {{Marked(2), {1}, {}}, {{}, {2, 3, 4}, Marked(1)}}, "12R3R4"},
        {"a mark naming fewer bytes than were fed since the last reset", {{{}, {1, 2}, {}}, {Marked(1), {3}, {}}},
         "12R3"},
        // The round after a mark was taken reads every command written
        // before it; a mark they do not make up counted bytes that went to
        // a programmer that has gone since, and must not leave this one
        // deaf. The commands read after it are the next session's.
        {"a mark for bytes that never come, then a round without commands",
         {{Marked(500000), {}, {}}, {{}, {}, {}}, {{}, {1, 2}, {}}},
         "R12"},
        {"a mark for bytes that never come, then the next session's mark with its commands",
         {{Marked(500000), {}, {}}, {Marked(0), {1, 2}, {}}},
         "RR12"},
        {"a mark for bytes that never come, read with the next session's mark and commands",
         {{Join(Marked(500000), Marked(0)), {1, 2}, {}}, {{}, {3}, {}}},
         "RR123"},
        {"a mark read last for bytes that never come", {{{}, {1}, Marked(1000)}, {{}, {2}, {}}}, "1R2"},
        {"a mark for bytes that never come with a later mark behind it",
         {{Join(Marked(1000), Marked(0)), {}, {}}, {{}, {1}, Marked(1)}},
         "RR1R"},
        // Written to the pipe by hand: applied where it is found.
        {"a plain byte read first", {{{0}, {1, 2}, {}}}, "R12"},
        {"a plain byte read last", {{{}, {1, 2}, {0}}}, "12R"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Feed(c.Rounds), c.Expected) << c.Name;
}

} // namespace
