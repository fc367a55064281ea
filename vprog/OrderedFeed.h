#pragma once
#include "engine/EnginePipes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Hands the programmer what the host wrote on both pipes in the order it
// wrote it. Each round reads the control pipe, the command pipe, and the
// control pipe again. A control byte led by an order mark comes after the
// number of command bytes the mark names since the last reset; when they
// have not all arrived yet, it waits for the next round. One without a mark
// (written to the pipe by hand) applies where it is found: before the
// commands of its round when read first, after them when read last.
class TOrderedFeed {
public:
    TOrderedFeed(std::function<void(const uint8_t*, size_t)> feed, std::function<void()> reset)
        : feed_(std::move(feed)), reset_(std::move(reset))
    {}

    // One round: control bytes read first, the commands, control bytes read
    // last.
    void Round(const std::vector<uint8_t>& controlBefore, const std::vector<uint8_t>& commands,
               const std::vector<uint8_t>& controlAfter);

    // A control byte taken waits for command bytes still to come.
    bool Carrying() const { return !carried_.empty(); }

private:
    void FeedUpTo(size_t wanted);
    // False when a mark names command bytes still to come; the control
    // bytes from that mark on are carried to the next round.
    bool Apply(const std::vector<uint8_t>& control, bool plainAfterCommands);

    std::function<void(const uint8_t*, size_t)> feed_;
    std::function<void()> reset_;
    const std::vector<uint8_t>* commands_ = nullptr;
    size_t used_ = 0;
    uint32_t fedSinceReset_ = 0;
    std::vector<uint8_t> carried_;
};
