#include "buffer/HDumpBuffer.h"

#include "platform/Memory.h"

#include <algorithm>
#include <cstring>

namespace {

// Resizes to exactly n elements: the first `kept` bytes stay, the others
// are zero. std::vector may double its capacity on growth, which would
// break the memory bound on large buffers, and it never gives memory back
// on shrinking.
void ResizeExact(std::vector<uint8_t>& v, size_t n, size_t kept)
{
    kept = std::min({kept, n, v.size()});
    if (v.size() == n && v.capacity() == n) {
        std::memset(v.data() + kept, 0, n - kept);
        return;
    }
    std::vector<uint8_t> fresh;
    fresh.reserve(n);
    AdviseLargePages(fresh.data(), n);
    fresh.insert(fresh.end(), v.begin(), v.begin() + std::ptrdiff_t(kept));
    fresh.resize(n);
    v.swap(fresh);
}

constexpr size_t SmallDataBytes = 65537;
constexpr size_t SmallMarkerBytes = 65536;
constexpr size_t SmallBitBytes = 8200;
constexpr size_t CreatedBitBytes = 8193;

} // namespace

void TBitArray::SetRange(int64_t first, int64_t last, bool value)
{
    if (first > last)
        return;
    const int64_t firstFull = (first + 7) >> 3; // first byte wholly inside
    const int64_t lastFull = ((last + 1) >> 3) - 1;
    if (firstFull > lastFull) {
        for (int64_t i = first; i <= last; ++i)
            Set(i, value);
        return;
    }
    for (int64_t i = first; i < firstFull * 8; ++i)
        Set(i, value);
    std::memset(Bytes.data() + firstFull, value ? 0xFF : 0, size_t(lastFull - firstFull + 1));
    for (int64_t i = (lastFull + 1) * 8; i <= last; ++i)
        Set(i, value);
}

namespace {

// First bit in first..last whose value is `want`, skipping whole bytes that
// cannot hold it.
int64_t FindBit(const TDumpBytes& bytes, int64_t first, int64_t last, bool want)
{
    const uint8_t skip = want ? 0x00 : 0xFF;
    int64_t i = first;
    while (i <= last) {
        if ((i & 7) == 0 && i + 7 <= last && bytes[size_t(i >> 3)] == skip) {
            // Whole bytes, eight at a time where aligned.
            size_t b = size_t(i >> 3);
            const size_t end = size_t((last + 1) >> 3);
            const uint64_t skip64 = want ? 0 : ~uint64_t(0);
            while (b < end && (b & 7) != 0 && bytes[b] == skip)
                ++b;
            while (b + 8 <= end) {
                uint64_t w;
                std::memcpy(&w, bytes.data() + b, 8);
                if (w != skip64)
                    break;
                b += 8;
            }
            while (b < end && bytes[b] == skip)
                ++b;
            i = int64_t(b) * 8;
            continue;
        }
        if (bool((bytes[size_t(i >> 3)] >> (i & 7)) & 1) == want)
            return i;
        ++i;
    }
    return -1;
}

} // namespace

int64_t TBitArray::FindSet(int64_t first, int64_t last) const
{
    return FindBit(Bytes, first, last, true);
}

int64_t TBitArray::FindClear(int64_t first, int64_t last) const
{
    return FindBit(Bytes, first, last, false);
}

uint32_t MarkerColor(uint8_t m)
{
    uint32_t c = 0;
    if (m & 4)
        c |= 0xFF0000;
    if (m & 2)
        c |= 0x00FF00;
    if (m & 1)
        c |= 0x0000FF;
    if (c == 0xFFFFFF)
        return 0x808080;
    if (c == 0)
        return 0xFFFFFF;
    return c;
}

TDumpBuffer::TDumpBuffer()
    : Data(SmallMarkerBytes), Markers(SmallMarkerBytes)
{
    matchBits_.Bytes.Resize(CreatedBitBytes);
    selectBits_.Bytes.Resize(CreatedBitBytes);
}

void TDumpBuffer::SetSize(int64_t size)
{
    Resize(size, true);
}

void TDumpBuffer::TakeData(std::vector<uint8_t>& data, int64_t size)
{
    Data.swap(data);
    Resize(size, false);
}

void TDumpBuffer::Resize(int64_t size, bool clearNew)
{
    if (size < 0)
        size = 0;
    // Bytes past the old end hold whatever an earlier, larger buffer left
    // there (the small array outlives every shrink); what the buffer gains
    // is zero and unmarked, as in a buffer just created, never an earlier
    // dump.
    const size_t oldSize = size_t(GetSize());
    const size_t newSize = size_t(size);
    const size_t kept = clearNew ? oldSize : Data.size();
    const size_t markerLength = Markers.size();
    size_t bitBytes = SmallBitBytes;
    if (size > SmallLimit) {
        // Taken data of the array's length keeps its array: room reserved
        // beyond it was never written and holds no memory, while a copy to
        // an exact array would make every page of a large dump twice.
        if (clearNew || Data.size() != newSize + 1)
            ResizeExact(Data, newSize + 1, kept);
        Markers.Resize(newSize + 1);
        bitBytes = newSize / 8 + 8;
    } else {
        ResizeExact(Data, SmallDataBytes, kept);
        // The markers keep their length (never below the 65,536 bytes they
        // are created with).
    }
    // Markers the array held beyond the old end are stale; those a longer
    // array adds come zeroed.
    if (const size_t staleEnd = std::min(newSize, markerLength); oldSize < staleEnd)
        std::memset(Markers.data() + oldSize, 0, staleEnd - oldSize);
    // Every mark and the selection go, so neither array keeps its bits: a
    // fresh one holds no selection, and the marks are set in one fill.
    matchBits_.Bytes = TDumpBytes(bitBytes);
    selectBits_.Bytes = TDumpBytes(bitBytes);
    selLow_ = 1;
    selHigh_ = 0;
    LastIndex = size - 1;
    HideMismatch();
    ClearSelection();
}

void TDumpBuffer::EraseBuffer()
{
    if (!Empty())
        std::memset(Data.data(), 0xFF, size_t(LastIndex) + 1);
}

void TDumpBuffer::HideMismatch()
{
    if (!Empty())
        std::memset(matchBits_.Bytes.data(), 0xFF, size_t(LastIndex / 8) + 1);
}

void TDumpBuffer::ClearMarkers()
{
    if (!Empty())
        Markers.ZeroPrefix(size_t(LastIndex) + 1);
}

void TDumpBuffer::SetMatchBit(int64_t i, bool value)
{
    if (InRange(i))
        matchBits_.Set(i, value);
}

bool TDumpBuffer::GetMatchBit(int64_t i) const
{
    return !InRange(i) || matchBits_.Get(i);
}

void TDumpBuffer::WidenSelBounds(int64_t first, int64_t last)
{
    if (selLow_ > selHigh_) {
        selLow_ = first;
        selHigh_ = last;
    } else {
        selLow_ = std::min(selLow_, first);
        selHigh_ = std::max(selHigh_, last);
    }
}

void TDumpBuffer::SetSelectBit(int64_t i, bool value)
{
    if (!InRange(i))
        return;
    if (value)
        WidenSelBounds(i, i);
    selectBits_.Set(i, value);
}

bool TDumpBuffer::IsSelected(int64_t i) const
{
    return InRange(i) && selectBits_.Get(i);
}

void TDumpBuffer::SetSelectRange(int64_t first, int64_t last, bool value)
{
    first = std::max<int64_t>(first, 0);
    last = std::min(last, LastIndex);
    if (first > last)
        return;
    if (value)
        WidenSelBounds(first, last);
    selectBits_.SetRange(first, last, value);
}

void TDumpBuffer::MoveSelectRange(int64_t oldFirst, int64_t oldLast, int64_t newFirst, int64_t newLast)
{
    if (oldFirst > oldLast || newFirst > newLast || oldLast < newFirst || newLast < oldFirst) {
        // Disjoint: clear the old range whole, select the new one whole.
        SetSelectRange(oldFirst, oldLast, false);
        SetSelectRange(newFirst, newLast, true);
        return;
    }
    SetSelectRange(oldFirst, newFirst - 1, false);
    SetSelectRange(newLast + 1, oldLast, false);
    SetSelectRange(newFirst, oldFirst - 1, true);
    SetSelectRange(oldLast + 1, newLast, true);
}

void TDumpBuffer::ClearSelection()
{
    if (selLow_ <= selHigh_) {
        const int64_t last = std::min(selHigh_, selectBits_.BitCount() - 1);
        selectBits_.SetRange(std::max<int64_t>(selLow_, 0), last, false);
    }
    selLow_ = 1;
    selHigh_ = 0;
    SelStart = -1;
}

void TDumpBuffer::SelectAll()
{
    if (Empty())
        return;
    SetSelectRange(0, LastIndex, true);
    SelStart = 0;
    SelEnd = LastIndex;
}

void TDumpBuffer::NormalizeSelection()
{
    if (SelStart == -1 || selLow_ > selHigh_)
        return;
    const int64_t last = std::min(selHigh_, LastIndex);
    const int64_t first = selectBits_.FindSet(std::max<int64_t>(selLow_, 0), last);
    if (first < 0) {
        // Every selected byte was deselected again.
        selLow_ = 1;
        selHigh_ = 0;
        SelStart = -1;
        return;
    }
    selLow_ = first;
    const int64_t gap = selectBits_.FindClear(first, last);
    SelStart = first;
    SelEnd = gap < 0 ? last : gap - 1;
}

void TDumpBuffer::SetMarkerRange(int64_t first, int64_t last, uint8_t m)
{
    first = std::max<int64_t>(first, 0);
    last = std::min(last, LastIndex);
    if (first > last)
        return;
    // Clearing from the start (every load does) need not write the bytes.
    if (m == 0 && first == 0)
        Markers.ZeroPrefix(size_t(last) + 1);
    else
        std::memset(Markers.data() + first, m, size_t(last - first + 1));
}

size_t TDumpBuffer::MemoryBytes() const
{
    return Data.capacity() + Markers.capacity() + matchBits_.Bytes.capacity() + selectBits_.Bytes.capacity();
}

void TDumpBuffer::ByteColors(int64_t i, const TDumpColors& colors, uint32_t& back, uint32_t& text) const
{
    if (!InRange(i))
        return;
    back = colors.BackgroundColor;
    text = colors.FontColor;
    const bool selected = selectBits_.Get(i);
    const uint8_t m = Markers[size_t(i)];
    if (m != 0) {
        back = MarkerColor(m);
        if (selected) {
            text ^= colors.SelectionFontColor;
            back ^= colors.SelectionBackColor;
        }
    } else if (selected) {
        back = colors.SelectionBackColor;
        text = colors.SelectionFontColor;
    }
    if (!matchBits_.Get(i))
        text = colors.MismatchColor;
}
