#pragma once
// One device buffer: the bytes, a marker byte per byte, and two bit arrays
// (selection and "differs from the chip"). Plain logic, shared by the dump
// view, the run window's callbacks, the calculator machine and the dump file
// formats. Buffers reach hundreds of megabytes, so indexes are 64-bit and the
// per-byte cost stays at 2.25 bytes (data, marker, two bits).
#include "buffer/HDumpBytes.h"
#include "engine/uExecuteBuffer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A bit array stored least significant bit first: bit i is bit i mod 8 of
// byte i div 8.
class TBitArray {
public:
    TDumpBytes Bytes;

    bool Get(int64_t i) const { return (Bytes[size_t(i >> 3)] >> (i & 7)) & 1; }
    void Set(int64_t i, bool value)
    {
        uint8_t& b = Bytes[size_t(i >> 3)];
        const uint8_t mask = uint8_t(1u << (i & 7));
        b = value ? uint8_t(b | mask) : uint8_t(b & ~mask);
    }
    // Sets or clears bits first..last (inclusive); callers keep them inside.
    void SetRange(int64_t first, int64_t last, bool value);
    // First set bit in first..last, or -1.
    int64_t FindSet(int64_t first, int64_t last) const;
    // First clear bit in first..last, or -1.
    int64_t FindClear(int64_t first, int64_t last) const;
    // Bits held (8 per byte).
    int64_t BitCount() const { return int64_t(Bytes.size()) * 8; }
};

// Colours of the dump view, as colour references (0x00BBGGRR).
struct TDumpColors {
    uint32_t BackgroundColor = 0xFFFFFF;
    uint32_t FontColor = 0x000000;
    uint32_t SelectionBackColor = 0x800000;
    uint32_t SelectionFontColor = 0xFFFFFF;
    uint32_t AddressColor = 0xFF0000;
    uint32_t MismatchColor = 0x000000;
};

class TDumpBuffer : public TExecuteBuffer {
public:
    // Sizes below this keep the small fixed array lengths.
    static constexpr int64_t SmallLimit = 0xFFFF;

    std::vector<uint8_t> Data;    // the bytes; index = byte address
    TDumpBytes Markers;           // per byte: bit 0 red, bit 1 green, bit 2 blue
    int64_t LastIndex = -1;       // index of the last byte; -1 = empty
    int64_t SelStart = -1;        // first byte of the selection; -1 = none
    int64_t SelEnd = -1;          // last byte of the selection
    bool Modified = false;        // edited in the view since the last load
    bool EditorMode = false;      // a load resizes the buffer to the file
    bool UseMarkersFile = false;  // a save writes the marker side file

    TDumpBuffer();

    // Read access to the bit arrays; writers go through the setters, which
    // keep the selection bounds that make clearing cheap.
    const TBitArray& MatchBits() const { return matchBits_; }
    const TBitArray& SelectBits() const { return selectBits_; }

    int64_t GetSize() const { return LastIndex + 1; }
    bool Empty() const { return LastIndex < 0; }
    bool InRange(int64_t i) const { return i >= 0 && i <= LastIndex; }

    // Resizes to `size` bytes. Sizes above 0xFFFF get size + 1 data and
    // marker bytes and size div 8 + 8 bytes per bit array; smaller sizes get
    // 65,537 data bytes and 8,200 bytes per bit array, and the markers keep
    // their length. Bytes and markers that fit survive; bytes the buffer
    // gains are zero and unmarked, as in a buffer just created. Every
    // mismatch mark and the selection are cleared. A negative size empties
    // the buffer.
    void SetSize(int64_t size);
    // Takes `data` (a file's bytes, as long as the data array of `size`
    // bytes; a large one keeps its unwritten spare room) as the buffer's
    // bytes, resized as SetSize does but left as they came; `data` gets the old array.
    void TakeData(std::vector<uint8_t>& data, int64_t size);

    void EraseBuffer();   // every byte := 0xFF
    void HideMismatch();  // no byte differs
    void ClearMarkers();  // every marker := 0

    // value false marks byte i as differing from the chip. Indexes outside
    // 0..LastIndex are ignored.
    void SetMatchBit(int64_t i, bool value = false);
    // true (normal) for indexes outside 0..LastIndex.
    bool GetMatchBit(int64_t i) const;

    void SetSelectBit(int64_t i, bool value);
    // false for indexes outside 0..LastIndex.
    bool IsSelected(int64_t i) const;
    // Selects or deselects bytes first..last, clipped to the buffer.
    void SetSelectRange(int64_t first, int64_t last, bool value);
    // Turns the selected set [oldFirst, oldLast] into [newFirst, newLast],
    // touching only the bytes that change (first > last = no range).
    void MoveSelectRange(int64_t oldFirst, int64_t oldLast, int64_t newFirst, int64_t newLast);
    void ClearSelection(); // no byte selected, SelStart := -1
    void SelectAll();      // SelStart := 0, SelEnd := LastIndex
    // SelStart := the first selected byte, SelEnd := the last byte of the
    // run of selected bytes starting there.
    void NormalizeSelection();

    // Sets markers first..last (clipped) to m.
    void SetMarkerRange(int64_t first, int64_t last, uint8_t m);

    // Bytes held by the arrays.
    size_t MemoryBytes() const;

    // TExecuteBuffer: what a module procedure's run reaches.
    bool HoldsAddress(int64_t address) const override { return InRange(address); }
    uint8_t ReadByte(int64_t address) const override { return Data[size_t(address)]; }
    void WriteByte(int64_t address, uint8_t value) override { Data[size_t(address)] = value; }
    bool ReadMatch(int64_t address) const override { return GetMatchBit(address); }
    void WriteMatch(int64_t address, bool value) override { SetMatchBit(address, value); }

    // Background and text colour of byte i (left unchanged for indexes
    // outside the buffer).
    void ByteColors(int64_t i, const TDumpColors& colors, uint32_t& back, uint32_t& text) const;

private:
    TBitArray matchBits_; // 1 = normal, 0 = differs from the chip
    TBitArray selectBits_;
    // Every selected bit lies in selLow_..selHigh_ (none when low > high).
    int64_t selLow_ = 1, selHigh_ = 0;

    void WidenSelBounds(int64_t first, int64_t last);
    // SetSize; with clearNew false every byte of the data array is kept.
    void Resize(int64_t size, bool clearNew);
};

// Colour of a marker value as a background: red, green, blue bits; all three
// give grey, none gives white.
uint32_t MarkerColor(uint8_t m);
