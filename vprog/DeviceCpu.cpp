#include "vprog/DeviceCpu.h"

#include "engine/AsmTypes.h"
#include "platform/SysUtils.h"

#include <cstring>

enum TDeviceCpu::TOp : uint8_t {
    opAdd, opAnd, opOr, opXor, opSub, opCmp, opMov,
    opAddi, opAndi, opOri, opXori, opSubi, opLdi, opCmpi,
    opTstBit, opTstIoBit, opSbi, opCbi,
    opJz, opJnz, opJg, opJl, opCall, opJmp, opRet,
    opIn, opOut, opRr, opRl, opUsbOut, opUsbIn,
    opInc, opDec, opRl1, opRr1, opDelay, opDelayR, opHp, opLp, opWrb, opRdb,
    opUnsupported, // an instruction with no meaning on this controller
    opInvalid,     // a byte that starts no instruction
    opPastEnd,     // an instruction that runs off the code image
};

namespace {

struct TOpName {
    const char* Mnemonic;
    TDeviceCpu::TOp Op;
};

// Every instruction the controller carries out; the rest of the table
// decodes to opUnsupported.
const TOpName OpNames[] = {
    {"ADD", TDeviceCpu::opAdd},       {"AND", TDeviceCpu::opAnd},         {"OR", TDeviceCpu::opOr},
    {"XOR", TDeviceCpu::opXor},       {"SUB", TDeviceCpu::opSub},         {"CMP", TDeviceCpu::opCmp},
    {"MOV", TDeviceCpu::opMov},       {"ADDI", TDeviceCpu::opAddi},       {"ANDI", TDeviceCpu::opAndi},
    {"ORI", TDeviceCpu::opOri},       {"XORI", TDeviceCpu::opXori},       {"SUBI", TDeviceCpu::opSubi},
    {"LDI", TDeviceCpu::opLdi},       {"CMPI", TDeviceCpu::opCmpi},       {"TSTBIT", TDeviceCpu::opTstBit},
    {"TSTIOBIT", TDeviceCpu::opTstIoBit}, {"SBI", TDeviceCpu::opSbi},     {"CBI", TDeviceCpu::opCbi},
    {"JZ", TDeviceCpu::opJz},         {"JNZ", TDeviceCpu::opJnz},         {"JG", TDeviceCpu::opJg},
    {"JL", TDeviceCpu::opJl},         {"CALL", TDeviceCpu::opCall},       {"JMP", TDeviceCpu::opJmp},
    {"RET", TDeviceCpu::opRet},       {"IN", TDeviceCpu::opIn},           {"OUT", TDeviceCpu::opOut},
    {"RR", TDeviceCpu::opRr},         {"RL", TDeviceCpu::opRl},           {"USBOUT", TDeviceCpu::opUsbOut},
    {"USBIN", TDeviceCpu::opUsbIn},   {"INC", TDeviceCpu::opInc},         {"DEC", TDeviceCpu::opDec},
    {"RL1", TDeviceCpu::opRl1},       {"RR1", TDeviceCpu::opRr1},         {"DELAY", TDeviceCpu::opDelay},
    {"DELAYR", TDeviceCpu::opDelayR}, {"HP", TDeviceCpu::opHp},           {"LP", TDeviceCpu::opLp},
    {"WRB", TDeviceCpu::opWrb},       {"RDB", TDeviceCpu::opRdb},
};

// Operation of each row of DevCommands, found by mnemonic once.
const std::array<uint8_t, DevCommandCount>& RowOps()
{
    static const std::array<uint8_t, DevCommandCount> ops = [] {
        std::array<uint8_t, DevCommandCount> table{};
        for (int row = 0; row < DevCommandCount; ++row) {
            table[static_cast<size_t>(row)] = TDeviceCpu::opUnsupported;
            for (const TOpName& name : OpNames)
                if (std::strcmp(name.Mnemonic, DevCommands[row].Mnemonic) == 0)
                    table[static_cast<size_t>(row)] = name.Op;
        }
        return table;
    }();
    return ops;
}

} // namespace

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
        d.Op = opInvalid;
        return d;
    }
    d.Row = static_cast<uint8_t>(command - DevCommands);
    d.Size = static_cast<uint8_t>(command->Length);
    if (address + command->Length > CodeSize) {
        d.Op = opPastEnd;
        return d;
    }
    d.Op = RowOps()[d.Row];
    const uint8_t* b = code_.data() + address;
    switch (command->OperandClass) {
    case 0: case 2: case 6: case 7: // two 5-bit fields
        d.A = static_cast<uint8_t>(((b[0] & 3) << 3) | (b[1] >> 5));
        d.B = b[1] & 31;
        break;
    case 1:
        d.A = b[1] & 31;
        d.K = static_cast<uint16_t>((b[2] << 8) | b[3]);
        break;
    case 3:
        d.A = b[0] & 3;
        d.K = b[1];
        break;
    case 4:
        d.K = static_cast<uint16_t>(((b[0] & 3) << 8) | b[1]);
        break;
    case 8:
        d.A = b[1] & 31;
        break;
    case 9: case 11:
        d.A = b[1];
        d.K = b[1];
        break;
    case 10:
        d.K = static_cast<uint16_t>((b[1] << 8) | b[2]);
        break;
    case 12:
        d.A = b[1];
        d.B = b[2];
        break;
    case 14:
        d.A = b[1];
        d.B = b[2];
        d.C = b[3];
        break;
    default:
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
        case opAdd: v = reg(d.A) + reg(d.B); setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case opAnd: v = reg(d.A) & reg(d.B); setReg(d.A, v); z_ = v == 0; break;
        case opOr: v = reg(d.A) | reg(d.B); setReg(d.A, v); z_ = v == 0; break;
        case opXor: v = reg(d.A) ^ reg(d.B); setReg(d.A, v); z_ = v == 0; break;
        case opSub: v = static_cast<unsigned>(reg(d.A) - reg(d.B)); setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case opCmp: {
            const uint16_t x = reg(d.A), y = reg(d.B);
            z_ = x == y; g_ = x > y; l_ = x < y;
            break;
        }
        case opMov: setReg(d.A, reg(d.B)); break;
        case opAddi: v = reg(d.A) + d.K; setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case opAndi: v = reg(d.A) & d.K; setReg(d.A, v); z_ = v == 0; break;
        case opOri: v = reg(d.A) | d.K; setReg(d.A, v); z_ = v == 0; break;
        case opXori: v = reg(d.A) ^ d.K; setReg(d.A, v); z_ = v == 0; break;
        case opSubi: v = static_cast<unsigned>(reg(d.A) - d.K); setReg(d.A, v); z_ = (v & 0xFFFF) == 0; break;
        case opLdi: setReg(d.A, d.K); break;
        case opCmpi: {
            const uint16_t x = reg(d.A);
            z_ = x == d.K; g_ = x > d.K; l_ = x < d.K;
            break;
        }
        case opTstBit: z_ = d.B >= 16 || ((reg(d.A) >> d.B) & 1) == 0; break;
        case opTstIoBit: {
            const int value = port(d.A);
            if (value < 0) { fault = "Unsupported port"; halt = true; break; }
            z_ = (value & d.K) == 0;
            break;
        }
        case opSbi: case opCbi: case opOut:
            if (d.A == 0) {
                const uint8_t latch = lines_.Latch();
                lines_.SetLatch(static_cast<uint8_t>(d.Op == opSbi ? latch | d.K
                                                     : d.Op == opCbi ? latch & d.K
                                                                     : reg(d.B)));
            } else if (d.A != 1) { // the input port ignores writes
                fault = "Unsupported port";
                halt = true;
            }
            break;
        case opIn: {
            const int value = port(d.A);
            if (value < 0) { fault = "Unsupported port"; halt = true; break; }
            setReg(d.B, static_cast<unsigned>(value));
            break;
        }
        case opJz: if (z_) next = d.K; break;
        case opJnz: if (!z_) next = d.K; break;
        case opJg: if (g_) next = d.K; break;
        case opJl: if (l_) next = d.K; break;
        case opJmp: next = d.K; break;
        case opCall:
            if (depth_ == MaxCallDepth) { fault = "Call stack overflow"; halt = true; break; }
            stack_[static_cast<size_t>(depth_++)] = next;
            next = d.K;
            break;
        case opRet:
            if (depth_ == 0) {
                running_ = false;
                halt = true;
                break;
            }
            next = stack_[static_cast<size_t>(--depth_)];
            break;
        case opRr: v = d.B >= 16 ? 0u : static_cast<unsigned>(reg(d.A) >> d.B); setReg(d.A, v); z_ = v == 0; break;
        case opRl: v = d.B >= 16 ? 0u : (static_cast<unsigned>(reg(d.A) << d.B) & 0xFFFF); setReg(d.A, v); z_ = v == 0; break;
        case opUsbOut:
            output_.Push(static_cast<uint8_t>(reg(d.A)));
            exchanged();
            if (output_.Size() >= wantOutput) {
                pc = next;
                stop = TDeviceStop::OutputReady;
                halt = true;
            }
            break;
        case opUsbIn:
            if (input_.Empty()) {
                --count; // runs again once a byte is there
                stop = TDeviceStop::NeedInput;
                halt = true;
                break;
            }
            setReg(d.A, input_.Pop());
            exchanged();
            break;
        case opInc: v = Word(d.A) + 1u; SetWord(d.A, static_cast<uint16_t>(v)); z_ = (v & 0xFFFF) == 0; break;
        case opDec: v = Word(d.A) - 1u; SetWord(d.A, static_cast<uint16_t>(v)); z_ = (v & 0xFFFF) == 0; break;
        case opRl1: v = (Word(d.A) << 1) & 0xFFFF; SetWord(d.A, static_cast<uint16_t>(v)); z_ = v == 0; break;
        case opRr1: v = Word(d.A) >> 1; SetWord(d.A, static_cast<uint16_t>(v)); z_ = v == 0; break;
        case opDelay: lines_.Advance(d.K); break;
        case opDelayR: lines_.Advance(Word(d.A)); break;
        case opHp: case opLp: {
            const uint8_t latch = lines_.Latch();
            lines_.SetLatch(static_cast<uint8_t>(d.Op == opHp ? latch | d.K : latch & d.K));
            lines_.Advance(1);
            lines_.SetLatch(latch);
            break;
        }
        case opWrb: buffer_[Word(d.B)] = static_cast<uint8_t>(Word(d.A)); break;
        case opRdb: SetWord(d.A, buffer_[Word(d.B)]); break;
        case opUnsupported:
            fault = std::string("Unsupported instruction ") + DevCommands[d.Row].Mnemonic;
            halt = true;
            break;
        case opInvalid: fault = "Invalid instruction"; halt = true; break;
        default: fault = "Code runs past the end of the image"; halt = true; break;
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
