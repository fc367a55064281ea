#pragma once
// What a module procedure's run reaches of a device buffer: its bytes and
// the per-byte "differs from the chip" marks. The buffer library's dump
// buffer implements it, so the run stays below the buffer library.
#include <cstdint>

class TExecuteBuffer {
public:
    virtual ~TExecuteBuffer() = default;

    // Whether the byte address lies inside the buffer.
    virtual bool HoldsAddress(int64_t address) const = 0;
    // Callers keep the address inside the buffer.
    virtual uint8_t ReadByte(int64_t address) const = 0;
    virtual void WriteByte(int64_t address, uint8_t value) = 0;
    // false marks the byte as differing from the chip.
    virtual bool ReadMatch(int64_t address) const = 0;
    virtual void WriteMatch(int64_t address, bool value) = 0;

protected:
    TExecuteBuffer() = default;
    TExecuteBuffer(const TExecuteBuffer&) = default;
    TExecuteBuffer& operator=(const TExecuteBuffer&) = default;
};
