#include "vprog/OrderedFeed.h"

#include <algorithm>

void TOrderedFeed::Round(const std::vector<uint8_t>& controlBefore, const std::vector<uint8_t>& commands,
                         const std::vector<uint8_t>& controlAfter)
{
    commands_ = &commands;
    used_ = 0;
    std::vector<uint8_t> first;
    first.swap(carried_);
    first.insert(first.end(), controlBefore.begin(), controlBefore.end());
    if (!Apply(first, false)) {
        carried_.insert(carried_.end(), controlAfter.begin(), controlAfter.end());
        return;
    }
    if (Apply(controlAfter, true))
        FeedUpTo(commands.size());
}

void TOrderedFeed::FeedUpTo(size_t wanted)
{
    const size_t n = std::min(wanted, commands_->size() - used_);
    if (n == 0)
        return;
    feed_(commands_->data() + used_, n);
    used_ += n;
    fedSinceReset_ += static_cast<uint32_t>(n);
}

bool TOrderedFeed::Apply(const std::vector<uint8_t>& control, bool plainAfterCommands)
{
    for (size_t i = 0; i < control.size();) {
        bool marked = false;
        if (control[i] == PipeOrderMark && i + PipeOrderMarkSize <= control.size()) {
            uint32_t before = 0;
            for (size_t k = PipeOrderMarkSize - 1; k >= 1; --k)
                before = (before << 8) | control[i + k];
            if (before > fedSinceReset_) {
                const uint32_t owed = before - fedSinceReset_;
                if (owed > commands_->size() - used_) {
                    FeedUpTo(commands_->size());
                    carried_.assign(control.begin() + static_cast<std::ptrdiff_t>(i), control.end());
                    return false;
                }
                FeedUpTo(owed);
            }
            i += PipeOrderMarkSize;
            marked = true;
            if (i == control.size())
                break;
        }
        // A marked byte has its place; the commands this round read
        // after it are the next session's.
        if (!marked && plainAfterCommands)
            FeedUpTo(commands_->size());
        reset_();
        fedSinceReset_ = 0;
        ++i;
    }
    return true;
}
