#pragma once
// A byte array of exact length whose new bytes start at zero without being
// written: its memory comes zeroed from the allocator, which hands large
// blocks out as untouched pages. Sizing or clearing an array of hundreds of
// megabytes therefore costs no pass over it, and pages nobody writes are
// never made. The device buffer keeps its markers and bit arrays in it.
#include <cstddef>
#include <cstdint>

class TDumpBytes {
public:
    using value_type = uint8_t;
    using iterator = uint8_t*;
    using const_iterator = const uint8_t*;

    TDumpBytes() = default;
    explicit TDumpBytes(size_t size);
    TDumpBytes(const TDumpBytes& other);
    TDumpBytes(TDumpBytes&& other) noexcept;
    TDumpBytes& operator=(TDumpBytes other) noexcept;
    ~TDumpBytes();

    size_t size() const { return size_; }
    // Bytes held: exactly the size, never spare room.
    size_t capacity() const { return size_; }
    bool empty() const { return size_ == 0; }
    uint8_t* data() { return bytes_; }
    const uint8_t* data() const { return bytes_; }
    uint8_t& operator[](size_t i) { return bytes_[i]; }
    const uint8_t& operator[](size_t i) const { return bytes_[i]; }
    iterator begin() { return bytes_; }
    iterator end() { return bytes_ + size_; }
    const_iterator begin() const { return bytes_; }
    const_iterator end() const { return bytes_ + size_; }

    void swap(TDumpBytes& other) noexcept;
    // Exactly `size` bytes: those that fit are kept, new ones are zero.
    void Resize(size_t size);
    // Bytes 0..count-1 (clipped) become zero. A large run is not written:
    // the array moves to fresh zeroed memory and takes the bytes after the
    // run along.
    void ZeroPrefix(size_t count);

    friend bool operator==(const TDumpBytes& a, const TDumpBytes& b);

private:
    uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
};
