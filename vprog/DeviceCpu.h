#pragma once
// The programmer's controller: runs the uploaded device byte code.
//
// 32 registers of 16 bits live in data memory, register n at data address
// 195 + 2n, low byte first; instructions that take a data address work on
// the 16-bit word there. CMP and CMPI compare unsigned and set Z, G and L;
// arithmetic, logic and shift results set Z. RL and RR shift (no rotate).
// Port 0 is the output latch of the lines, port 1 reads the line levels.
// USBOUT queues a byte for the host, USBIN takes one the host sent (and
// waits for it). DELAY and the pulses advance the virtual clock; nothing
// sleeps. The bus, E-port, A-register and BDM instructions have no meaning
// here and stop the procedure with a fault, as do a call stack overflow,
// code that runs off the image, and a run that goes on too long without a
// USB exchange.
#include "engine/AsmTypes.h"
#include "engine/Engine.h"
#include "vprog/ByteQueue.h"
#include "vprog/LineModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class TDeviceStop {
    Idle,        // no procedure is running
    Ended,       // the procedure returned from its outermost level
    NeedInput,   // USBIN found no byte
    OutputReady, // the wanted number of bytes is queued for the host
    Fault,       // see FaultText
};

class TDeviceCpu {
public:
    static constexpr int CodeSize = DeviceCodeSize;
    static constexpr int MaxCallDepth = 32;
    static constexpr int DataBufferSize = 65536;
    // Instructions a procedure may run without touching USB.
    static constexpr uint64_t DefaultMaxRunLength = 50'000'000;

    TDeviceCpu(TLineModel& lines, TByteQueue& input, TByteQueue& output);

    // Loads a code image (CodeSize bytes; a shorter one is padded with 0).
    void LoadCode(const uint8_t* code, size_t size);
    const std::array<uint8_t, CodeSize>& Code() const { return code_; }

    // Starts the procedure at a code address (the registers keep their
    // values, as on the controller).
    void Start(uint16_t address);
    // Stops a running procedure without a fault.
    void Abort() { running_ = false; }
    bool Running() const { return running_; }

    // Runs until the procedure ends, faults, waits for input, or has
    // queued `wantOutput` bytes for the host.
    TDeviceStop Run(size_t wantOutput);

    const std::string& FaultText() const { return fault_; }
    uint64_t InstructionCount() const { return executed_; }
    uint64_t MaxRunLength = DefaultMaxRunLength;

    uint16_t Register(int n) const;
    uint8_t BufferByte(uint16_t index) const { return buffer_[index]; }
    bool FlagZ() const { return z_; }
    bool FlagG() const { return g_; }
    bool FlagL() const { return l_; }

    // An instruction decoded once per code load, so that Run does not read
    // operand bits. Op is the instruction's row of DevCommands (a
    // TDevOpcode), or one of the two markers below.
    struct TDecoded {
        uint8_t Op;
        uint8_t A; // register, port, data address or first operand
        uint8_t B; // second register or operand
        uint8_t C; // third operand
        uint16_t K; // immediate, target address or mask
        uint8_t Size;
    };
    static constexpr uint8_t OpInvalid = DevCommandCount;     // a byte that starts no instruction
    static constexpr uint8_t OpPastEnd = DevCommandCount + 1; // an instruction that runs off the image

private:
    void Decode();
    TDecoded DecodeAt(int address) const;
    uint16_t Word(uint8_t address) const;
    void SetWord(uint8_t address, uint16_t value);
    TDeviceStop Fail(const std::string& text);

    TLineModel& lines_;
    TByteQueue& input_;
    TByteQueue& output_;
    std::array<uint8_t, CodeSize> code_{};
    std::vector<TDecoded> decoded_;
    // Data memory: register words up to address 258, plus room for a word
    // at any byte address.
    std::array<uint8_t, 260> data_{};
    std::vector<uint8_t> buffer_;
    std::array<uint16_t, MaxCallDepth> stack_{};
    int depth_ = 0;
    uint16_t pc_ = 0;
    bool z_ = false, g_ = false, l_ = false;
    bool running_ = false;
    uint64_t executed_ = 0;
    uint64_t sinceExchange_ = 0;
    std::string fault_;
};
