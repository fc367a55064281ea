#pragma once
// A first-in first-out byte queue that hands bytes out in runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class TByteQueue {
public:
    size_t Size() const { return bytes_.size() - head_; }
    bool Empty() const { return head_ == bytes_.size(); }
    void Push(uint8_t b) { bytes_.push_back(b); }
    void Push(const uint8_t* data, size_t count) { bytes_.insert(bytes_.end(), data, data + count); }
    uint8_t Pop()
    {
        const uint8_t b = bytes_[head_++];
        Compact();
        return b;
    }
    // Moves up to `count` bytes out; the number moved.
    size_t Pop(uint8_t* data, size_t count)
    {
        const size_t n = std::min(count, Size());
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(head_), n, data);
        head_ += n;
        Compact();
        return n;
    }
    void Clear()
    {
        bytes_.clear();
        head_ = 0;
    }

private:
    void Compact()
    {
        if (head_ == bytes_.size())
            Clear();
        else if (head_ >= 4096 && head_ * 2 >= bytes_.size()) {
            bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
    }

    std::vector<uint8_t> bytes_;
    size_t head_ = 0;
};
