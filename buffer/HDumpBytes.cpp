#include "buffer/HDumpBytes.h"

#include "platform/Memory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Below this a plain clear is cheaper than a fresh block.
constexpr size_t FreshBlockLimit = size_t(1) << 20;

uint8_t* Zeroed(size_t size)
{
    if (size == 0)
        return nullptr;
    void* p = std::calloc(size, 1);
    if (!p)
        throw std::bad_alloc();
    AdviseLargePages(p, size);
    return static_cast<uint8_t*>(p);
}

} // namespace

TDumpBytes::TDumpBytes(size_t size) : bytes_(Zeroed(size)), size_(size) {}

TDumpBytes::TDumpBytes(const TDumpBytes& other) : bytes_(Zeroed(other.size_)), size_(other.size_)
{
    if (size_ != 0)
        std::memcpy(bytes_, other.bytes_, size_);
}

TDumpBytes::TDumpBytes(TDumpBytes&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

TDumpBytes& TDumpBytes::operator=(TDumpBytes other) noexcept
{
    swap(other);
    return *this;
}

TDumpBytes::~TDumpBytes() { std::free(bytes_); }

void TDumpBytes::swap(TDumpBytes& other) noexcept
{
    std::swap(bytes_, other.bytes_);
    std::swap(size_, other.size_);
}

void TDumpBytes::Resize(size_t size)
{
    if (size == size_)
        return;
    TDumpBytes fresh(size);
    if (const size_t kept = std::min(size, size_); kept != 0)
        std::memcpy(fresh.bytes_, bytes_, kept);
    swap(fresh);
}

void TDumpBytes::ZeroPrefix(size_t count)
{
    count = std::min(count, size_);
    if (count < FreshBlockLimit) {
        if (count != 0)
            std::memset(bytes_, 0, count);
        return;
    }
    TDumpBytes fresh(size_);
    std::memcpy(fresh.bytes_ + count, bytes_ + count, size_ - count);
    swap(fresh);
}

bool operator==(const TDumpBytes& a, const TDumpBytes& b)
{
    return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.bytes_, b.bytes_, a.size_) == 0);
}
