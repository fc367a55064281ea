#pragma once
// A simulated chip in the virtual programmer's socket. The socket tells it
// the line levels and the time; the chip answers which lines it pulls low.
// Lines are numbered by bit: bit i is programmer line i+1.
#include "platform/Cp1251.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TSimChip {
public:
    virtual ~TSimChip() = default;

    // Lines the chip's pins touch; a pin without contact is left out.
    uint8_t ContactLines = 0xFF;
    // The chip's supply and ground pins.
    uint8_t VccLines = 0;
    uint8_t GndLines = 0;
    // The supply voltages it works at, in tenths of a volt; at any other it
    // stays unpowered and does not answer.
    int MinSupplyTenths = 0;
    int MaxSupplyTenths = 1000;

    // Lines the chip's own logic pulls low, given the socket's levels. Called
    // only while the chip is powered, possibly several times per change, so
    // it must not change the chip's state.
    virtual uint8_t Pulls(uint8_t levels) const { return 0; }
    // False for a chip whose Pulls answer depends only on its own state,
    // not on the levels: the socket then asks it once per change instead of
    // once per settling round, and after Settle only to see whether the
    // answer changed.
    virtual bool PullsFollowLevels() const { return true; }
    // The levels settled at a virtual time (microseconds): where a chip
    // latches clock edges or counts write times. `powered` tells whether
    // its supply is on.
    virtual void Settle(uint8_t levels, uint64_t timeUs, bool powered) {}
    // The supply went away: volatile state is lost.
    virtual void PowerLost() {}
};

// The simplest chip: while powered it copies line `from` to line `to` (it
// pulls `to` low whenever `from` is low).
class TLoopbackChip : public TSimChip {
public:
    TLoopbackChip(int fromLine, int toLine, uint8_t vccLines, uint8_t gndLines);
    uint8_t Pulls(uint8_t levels) const override;

private:
    uint8_t from_;
    uint8_t to_;
};

// The entry of a chip type table whose Name is `name` in any case, or null.
template <class TType, size_t N>
const TType* FindChipType(const TType (&types)[N], const std::string& name)
{
    const std::string upper = AnsiUpperCase(name);
    for (const TType& t : types)
        if (upper == t.Name)
            return &t;
    return nullptr;
}
