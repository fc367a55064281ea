#include "vprog/DeviceCpu.h"

#include "platform/SysUtils.h"

#include <cstring>

TDeviceCpu::TDeviceCpu(TLineModel& lines, TByteQueue& input, TByteQueue& output)
    : lines_(lines), input_(input), output_(output), decoded_(CodeSize), buffer_(DataBufferSize, 0)
{
    Decode();
}

void TDeviceCpu::LoadCode(const uint8_t* code, size_t size)
{
    code_.fill(0);
    if (size > 0)
        std::memcpy(code_.data(), code, std::min(size, code_.size()));
    Decode();
}

void TDeviceCpu::Decode()
{
    for (int address = 0; address < CodeSize; ++address)
        decoded_[static_cast<size_t>(address)] = DecodeAt(address);
}

TDeviceCpu::TDecoded TDeviceCpu::DecodeAt(int address) const
{
    TDecoded d{};
    const TDevCommand* command = DevCommandByCode(code_[static_cast<size_t>(address)]);
    if (!command) {
        d.Op = OpInvalid;
        return d;
    }
    d.Size = static_cast<uint8_t>(command->Length);
    if (address + command->Length > CodeSize) {
        d.Op = OpPastEnd;
        return d;
    }
    d.Op = static_cast<uint8_t>(command - DevCommands);
    const uint8_t* b = code_.data() + address;
    switch (command->OperandClass) {
    case ocRegReg: case ocRegBit: case ocPortReg: case ocRegShift: // two 5-bit fields
        d.A = static_cast<uint8_t>(((b[0] & 3) << 3) | (b[1] >> 5));
        d.B = b[1] & 31;
        break;
    case ocRegWord:
        d.A = b[1] & 31;
        d.K = static_cast<uint16_t>((b[2] << 8) | b[3]);
        break;
    case ocPortByte:
        d.A = b[0] & 3;
        d.K = b[1];
        break;
    case ocLabel:
        d.K = static_cast<uint16_t>(((b[0] & 3) << 8) | b[1]);
        break;
    case ocReg:
        d.A = b[1] & 31;
        break;
    case ocAddress: case ocByte:
        d.A = b[1];
        d.K = b[1];
        break;
    case ocWord:
        d.K = static_cast<uint16_t>((b[1] << 8) | b[2]);
        break;
    case ocTwoBytes:
        d.A = b[1];
        d.B = b[2];
        break;
    case ocThreeBytes:
        d.A = b[1];
        d.B = b[2];
        d.C = b[3];
        break;
    case ocNone: case ocUnused: case ocEnd:
        break;
    }
    return d;
}

uint16_t TDeviceCpu::Word(uint8_t address) const
{
    return static_cast<uint16_t>(data_[address] | (data_[address + 1u] << 8));
}

void TDeviceCpu::SetWord(uint8_t address, uint16_t value)
{
    data_[address] = static_cast<uint8_t>(value);
    data_[address + 1u] = static_cast<uint8_t>(value >> 8);
}

uint16_t TDeviceCpu::Register(int n) const
{
    // R30 and R31 lie past address 255, out of reach of Word.
    const auto at = static_cast<size_t>(RegisterAddress(n & 31));
    return static_cast<uint16_t>(data_[at] | (data_[at + 1] << 8));
}

void TDeviceCpu::Start(uint16_t address)
{
    pc_ = address;
    depth_ = 0;
    running_ = true;
    sinceExchange_ = 0;
    fault_.clear();
}

TDeviceStop TDeviceCpu::Fail(const std::string& text)
{
    fault_ = text + " at " + IntToHex(pc_, 4);
    running_ = false;
    return TDeviceStop::Fault;
}

TDeviceStop TDeviceCpu::Run(size_t wantOutput)
{
    if (!running_)
        return TDeviceStop::Idle;
    if (pc_ >= CodeSize)
        return Fail("Code address out of range");

    // reg(n) reads and writes the register words directly.
    auto regAt = [](int n) { return static_cast<size_t>(RegisterAddress(n)); };
    auto reg = [&](int n) -> uint16_t {
        const size_t at = regAt(n);
        return static_cast<uint16_t>(data_[at] | (data_[at + 1] << 8));
    };
    auto setReg = [&](int n, unsigned v) {
        const size_t at = regAt(n);
        data_[at] = static_cast<uint8_t>(v);
        data_[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto port = [&](int p) -> int { return p == 0 ? lines_.Latch() : p == 1 ? lines_.Levels() : -1; };

    // count: instructions run since the last USB exchange in this call.
    uint16_t pc = pc_;
    uint64_t count = 0;
    uint64_t budget = MaxRunLength > sinceExchange_ ? MaxRunLength - sinceExchange_ : 0;
    auto exchanged = [&] {
        executed_ += count;
        count = 0;
        sinceExchange_ = 0;
        budget = MaxRunLength;
    };
    TDeviceStop stop = TDeviceStop::Ended;
    std::string fault;
    bool halt = false;
    for (;;) {
        if (count >= budget) {
            fault = "Run length exceeded without a USB exchange";
            break;
        }
        const TDecoded& d = decoded_[pc];
        ++count;
        uint16_t next = static_cast<uint16_t>(pc + d.Size);
        unsigned v;
        switch (d.Op) {
        case dcADD: v = reg(d.A) + reg(d.B); setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case dcAND: v = reg(d.A) & reg(d.B); setReg(d.A, v); z_ = v == 0; break;
        case dcOR: v = reg(d.A) | reg(d.B); setReg(d.A, v); z_ = v == 0; break;
        case dcXOR: v = reg(d.A) ^ reg(d.B); setReg(d.A, v); z_ = v == 0; break;
        case dcSUB: v = static_cast<unsigned>(reg(d.A) - reg(d.B)); setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case dcCMP: {
            const uint16_t x = reg(d.A), y = reg(d.B);
            z_ = x == y; g_ = x > y; l_ = x < y;
            break;
        }
        case dcMOV: setReg(d.A, reg(d.B)); break;
        case dcADDI: v = reg(d.A) + d.K; setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case dcANDI: v = reg(d.A) & d.K; setReg(d.A, v); z_ = v == 0; break;
        case dcORI: v = reg(d.A) | d.K; setReg(d.A, v); z_ = v == 0; break;
        case dcXORI: v = reg(d.A) ^ d.K; setReg(d.A, v); z_ = v == 0; break;
        case dcSUBI: v = static_cast<unsigned>(reg(d.A) - d.K); setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case dcLDI: setReg(d.A, d.K); break;
        case dcCMPI: {
            const uint16_t x = reg(d.A);
            z_ = x == d.K; g_ = x > d.K; l_ = x < d.K;
            break;
        }
        case dcTSTBIT: z_ = d.B >= 16 || ((reg(d.A) >> d.B) & 1) == 0; break;
        case dcTSTIOBIT: {
            const int value = port(d.A);
            if (value < 0) { fault = "Unsupported port"; halt = true; break; }
            z_ = (value & d.K) == 0;
            break;
        }
        case dcSBI: case dcCBI: case dcOUT:
            if (d.A == 0) {
                const uint8_t latch = lines_.Latch();
                lines_.SetLatch(static_cast<uint8_t>(d.Op == dcSBI ? latch | d.K
                                                     : d.Op == dcCBI ? latch & d.K
                                                                     : reg(d.B)));
            } else if (d.A != 1) { // the input port ignores writes
                fault = "Unsupported port";
                halt = true;
            }
            break;
        case dcIN: {
            const int value = port(d.A);
            if (value < 0) { fault = "Unsupported port"; halt = true; break; }
            setReg(d.B, static_cast<unsigned>(value));
            break;
        }
        case dcJZ: if (z_) next = d.K; break;
        case dcJNZ: if (!z_) next = d.K; break;
        case dcJG: if (g_) next = d.K; break;
        case dcJL: if (l_) next = d.K; break;
        case dcJMP: next = d.K; break;
        case dcCALL:
            if (depth_ == MaxCallDepth) { fault = "Call stack overflow"; halt = true; break; }
            stack_[static_cast<size_t>(depth_++)] = next;
            next = d.K;
            break;
        case dcRET:
            if (depth_ == 0) {
                running_ = false;
                halt = true;
                break;
            }
            next = stack_[static_cast<size_t>(--depth_)];
            break;
        case dcRR: v = d.B >= 16 ? 0u : static_cast<unsigned>(reg(d.A) >> d.B); setReg(d.A, v); z_ = v == 0; break;
        case dcRL: v = d.B >= 16 ? 0u : (static_cast<unsigned>(reg(d.A) << d.B) & 0xFFFF); setReg(d.A, v); z_ = v == 0; break;
        case dcUSBOUT:
            output_.Push(static_cast<uint8_t>(reg(d.A)));
            exchanged();
            if (output_.Size() >= wantOutput) {
                pc = next;
                stop = TDeviceStop::OutputReady;
                halt = true;
            }
            break;
        case dcUSBIN:
            if (input_.Empty()) {
                --count; // runs again once a byte is there
                stop = TDeviceStop::NeedInput;
                halt = true;
                break;
            }
            setReg(d.A, input_.Pop());
            exchanged();
            break;
        case dcINC: v = Word(d.A) + 1u; SetWord(d.A, static_cast<uint16_t>(v)); z_ = (v & 0xFFFF) == 0; break;
        case dcDEC: v = Word(d.A) - 1u; SetWord(d.A, static_cast<uint16_t>(v)); z_ = (v & 0xFFFF) == 0; break;
        case dcRL1: v = (Word(d.A) << 1) & 0xFFFF; SetWord(d.A, static_cast<uint16_t>(v)); z_ = v == 0; break;
        case dcRR1: v = Word(d.A) >> 1; SetWord(d.A, static_cast<uint16_t>(v)); z_ = v == 0; break;
        case dcDELAY: lines_.Advance(d.K); break;
        case dcDELAYR: lines_.Advance(Word(d.A)); break;
        case dcHP: case dcLP: {
            const uint8_t latch = lines_.Latch();
            lines_.SetLatch(static_cast<uint8_t>(d.Op == dcHP ? latch | d.K : latch & d.K));
            lines_.Advance(1);
            lines_.SetLatch(latch);
            break;
        }
        case dcWRB: buffer_[Word(d.B)] = static_cast<uint8_t>(Word(d.A)); break;
        case dcRDB: SetWord(d.A, buffer_[Word(d.B)]); break;
        case dcWEXP: case dcSBIE: case dcCBIE: case dcBUSINIT: case dcBUSOUT: case dcBUSIN:
        case dcEHP: case dcELP: case dcEOUT: case dcEIN: case dcBUSDELAY: case dcAOUT: case dcAIN:
        case dcBDMOP: case dcBDMWR: case dcBDMRD:
            fault = std::string("Unsupported instruction ") + DevCommands[d.Op].Mnemonic;
            halt = true;
            break;
        case OpInvalid: fault = "Invalid instruction"; halt = true; break;
        default: /* OpPastEnd */ fault = "Code runs past the end of the image"; halt = true; break;
        }
        if (halt)
            break;
        if (next >= CodeSize) {
            fault = "Code address out of range";
            break;
        }
        pc = next;
    }
    executed_ += count;
    sinceExchange_ += count;
    pc_ = pc;
    return fault.empty() ? stop : Fail(fault);
}
