#include "vprog/OrderedFeed.h"

#include <algorithm>

void TOrderedFeed::Round(const std::vector<uint8_t>& controlBefore, const std::vector<uint8_t>& commands,
                         const std::vector<uint8_t>& controlAfter)
{
    // What is held from the round before stays in commands_, ahead of this
    // round's.
    commands_.erase(commands_.begin(), commands_.begin() + static_cast<std::ptrdiff_t>(used_));
    commands_.insert(commands_.end(), commands.begin(), commands.end());
    used_ = 0;
    std::vector<uint8_t> first;
    first.swap(carried_);
    const size_t carried = first.size();
    first.insert(first.end(), controlBefore.begin(), controlBefore.end());
    if (!Apply(first, false, carried)) {
        carried_.insert(carried_.end(), controlAfter.begin(), controlAfter.end());
        return;
    }
    if (Apply(controlAfter, true, 0))
        FeedUpTo(commands_.size());
    commands_.clear();
    used_ = 0;
}

void TOrderedFeed::FeedUpTo(size_t wanted)
{
    const size_t n = std::min(wanted, commands_.size() - used_);
    if (n == 0)
        return;
    feed_(commands_.data() + used_, n);
    used_ += n;
    fedSinceReset_ += static_cast<uint32_t>(n);
}

bool TOrderedFeed::Apply(const std::vector<uint8_t>& control, bool readAfterCommands, size_t carried)
{
    for (size_t i = 0; i < control.size();) {
        bool marked = false;
        if (control[i] == PipeOrderMark && i + PipeOrderMarkSize <= control.size()) {
            uint32_t before = 0;
            for (size_t k = PipeOrderMarkSize - 1; k >= 1; --k)
                before = (before << 8) | control[i + k];
            if (before > fedSinceReset_) {
                const uint32_t owed = before - fedSinceReset_;
                if (owed <= commands_.size() - used_) {
                    FeedUpTo(owed);
                } else if (i >= carried) {
                    // Read after the round's commands, it names them all;
                    // read before them, some may have been written after
                    // it.
                    if (readAfterCommands)
                        FeedUpTo(commands_.size());
                    carried_.assign(control.begin() + static_cast<std::ptrdiff_t>(i), control.end());
                    return false;
                }
                // Else carried a round already: what it names never came.
            }
            i += PipeOrderMarkSize;
            marked = true;
            if (i == control.size())
                break;
        }
        // A marked byte has its place; the commands this round read
        // after it are the next session's.
        if (!marked && readAfterCommands)
            FeedUpTo(commands_.size());
        reset_();
        fedSinceReset_ = 0;
        ++i;
    }
    return true;
}
