#include "vprog/SimChip.h"

TLoopbackChip::TLoopbackChip(int fromLine, int toLine, uint8_t vccLines, uint8_t gndLines)
    : from_(static_cast<uint8_t>(1u << (fromLine & 7))), to_(static_cast<uint8_t>(1u << (toLine & 7)))
{
    VccLines = vccLines;
    GndLines = gndLines;
}

uint8_t TLoopbackChip::Pulls(uint8_t levels) const { return (levels & from_) ? 0 : to_; }
