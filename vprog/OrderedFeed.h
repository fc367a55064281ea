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
//
// The commands read after a waiting control byte are held, not handed on,
// until its place is known. The host writes a control byte only once
// the commands before it are in the pipe, so the round after the one that
// took it reads them all; a byte carried into a round whose commands do not
// make up its mark names bytes that never came (a host that counted what it
// sent to a programmer that has gone since). It applies at once, ahead of
// the commands held, which are the next session's: no host can leave the
// programmer waiting for commands for ever.
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
    // bytes from that mark on are carried to the next round, the commands
    // not yet fed held for it. The first `carried` bytes of control came
    // from the round before.
    bool Apply(const std::vector<uint8_t>& control, bool readAfterCommands, size_t carried);

    std::function<void(const uint8_t*, size_t)> feed_;
    std::function<void()> reset_;
    // The round's commands, after those held from the round before.
    std::vector<uint8_t> commands_;
    size_t used_ = 0;
    uint32_t fedSinceReset_ = 0;
    std::vector<uint8_t> carried_;
};
