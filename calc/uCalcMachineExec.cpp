// One instruction of the calculator machine.
#include <array>

#include "calc/uCalcMachineArith.h"
#include "calc/uCalcMachineRun.h"
#include "platform/SysUtils.h"

namespace {

// The register arithmetic family: R[a] := R[a] op source.
enum class TArith : uint8_t { None, Add, Sub, Mul, Div, Mod, And, Or, Xor, Shr, Shl };
enum class TSource : uint8_t { Register, Byte, Word, Dword };

struct TArithRow {
    TArith Op = TArith::None;
    TSource Source = TSource::Register;
};

constexpr std::array<TArithRow, CalcOpcodeCount> ArithTable()
{
    std::array<TArithRow, CalcOpcodeCount> t{};
    auto set = [&t](TCalcOp op, TArith a, TSource s) { t[static_cast<size_t>(op)] = {a, s}; };
    using enum TCalcOp;
    constexpr TSource R = TSource::Register, B = TSource::Byte, W = TSource::Word, D = TSource::Dword;
    set(AddR, TArith::Add, R), set(AddD, TArith::Add, D), set(AddB, TArith::Add, B), set(AddW, TArith::Add, W);
    set(SubR, TArith::Sub, R), set(SubD, TArith::Sub, D), set(SubB, TArith::Sub, B), set(SubW, TArith::Sub, W);
    set(MulR, TArith::Mul, R), set(MulD, TArith::Mul, D), set(MulB, TArith::Mul, B), set(MulW, TArith::Mul, W);
    set(DivR, TArith::Div, R), set(DivD, TArith::Div, D), set(DivB, TArith::Div, B), set(DivW, TArith::Div, W);
    set(ModR, TArith::Mod, R), set(ModD, TArith::Mod, D), set(ModB, TArith::Mod, B), set(ModW, TArith::Mod, W);
    set(AndR, TArith::And, R), set(AndD, TArith::And, D), set(AndB, TArith::And, B), set(AndW, TArith::And, W);
    set(OrR, TArith::Or, R), set(OrD, TArith::Or, D), set(OrB, TArith::Or, B), set(OrW, TArith::Or, W);
    set(XorR, TArith::Xor, R), set(XorD, TArith::Xor, D), set(XorB, TArith::Xor, B), set(XorW, TArith::Xor, W);
    set(ShrR, TArith::Shr, R), set(ShrD, TArith::Shr, B), set(ShlR, TArith::Shl, R), set(ShlD, TArith::Shl, B);
    return t;
}

constexpr std::array<TArithRow, CalcOpcodeCount> Arith = ArithTable();

// Instruction lengths looked up once rather than counted at every step.
const std::array<uint8_t, CalcOpcodeCount> Sizes = [] {
    std::array<uint8_t, CalcOpcodeCount> t{};
    for (int op = 0; op < CalcOpcodeCount; ++op)
        t[static_cast<size_t>(op)] = static_cast<uint8_t>(CalcInstructionSize(static_cast<uint8_t>(op)));
    return t;
}();

// Operands of the instruction at pc; the padding after the image keeps every
// read inside the copy.
struct TOperands {
    const uint8_t* P;
    uint8_t B(int at) const { return P[at]; }
    uint16_t W(int at) const { return static_cast<uint16_t>(P[at] | P[at + 1] << 8); }
    uint32_t D(int at) const
    {
        return static_cast<uint32_t>(P[at]) | static_cast<uint32_t>(P[at + 1]) << 8 |
               static_cast<uint32_t>(P[at + 2]) << 16 | static_cast<uint32_t>(P[at + 3]) << 24;
    }
};

int64_t Apply(TArith op, int64_t x, int64_t y)
{
    switch (op) {
    case TArith::Add: return CalcAdd(x, y);
    case TArith::Sub: return CalcSub(x, y);
    case TArith::Mul: return CalcMul(x, y);
    case TArith::Div: return CalcDiv(x, y);
    case TArith::Mod: return CalcMod(x, y);
    case TArith::And: return x & y;
    case TArith::Or: return x | y;
    case TArith::Xor: return x ^ y;
    case TArith::Shr: return CalcShr(x, static_cast<uint64_t>(y));
    case TArith::Shl: return CalcShl(x, static_cast<uint64_t>(y));
    case TArith::None: break;
    }
    return x;
}

void ExecArith(TCalcRun& run, const TArithRow& row, const TOperands& o)
{
    const uint8_t a = o.B(1);
    int64_t y = 0;
    switch (row.Source) {
    case TSource::Register: y = run.R[o.B(2)]; break;
    case TSource::Byte: y = o.B(2); break;
    case TSource::Word: y = o.W(2); break;
    case TSource::Dword: y = o.D(2); break;
    }
    if ((row.Op == TArith::Div || row.Op == TArith::Mod) && y == 0) {
        if (row.Source == TSource::Register)
            run.R[o.B(2)] = 1;
        y = 1;
    }
    run.R[a] = Apply(row.Op, run.R[a], y);
}

bool Compare(TCalcOp op, int64_t x, int64_t y)
{
    switch (op) {
    case TCalcOp::JEq: return x == y;
    case TCalcOp::JNe: return x != y;
    case TCalcOp::JGt: return x > y;
    case TCalcOp::JLt: return x < y;
    case TCalcOp::JGe: return x >= y;
    default: return x <= y;
    }
}

uint8_t ReadBuffer(TCalcHost& host, uint64_t address)
{
    return address < CalcImageSize ? host.GetMainBufferByte(static_cast<uint32_t>(address)) : 0;
}

void WriteBuffer(TCalcHost& host, uint64_t address, uint8_t value)
{
    if (address < CalcImageSize)
        host.SetMainBufferByte(static_cast<uint32_t>(address), value);
}

// The guarded write of @D=: below BUFSIZE (register 50), which a script may
// lower to keep its writes inside a part of the buffer, and below the
// buffer's real size, which a script cannot raise.
void WriteBufferBelowSize(TCalcRun& run, uint32_t address, uint8_t value)
{
    const auto at = static_cast<int64_t>(address);
    if (at < run.R[CalcRegBufSize] && at < run.Host.MainBufferSize())
        WriteBuffer(run.Host, address, value);
}

int64_t RandomBelow(TCalcRun& run, uint32_t n)
{
    if (n == 0)
        return 0;
    return static_cast<int64_t>(std::uniform_int_distribution<uint32_t>(0, n - 1)(run.Random));
}

void SetProperty(TCalcRun& run, uint8_t label, uint32_t packed)
{
    run.Host.SetLabelProperty(label, static_cast<int>(packed >> 24), packed & 0xFFFFFF);
    run.Host.ProcessMessages();
}

bool Call(TCalcRun& run, uint16_t target)
{
    if (run.Depth >= CalcReturnStackDepth)
        return false;
    run.Stack[static_cast<size_t>(run.Depth++)] = static_cast<uint16_t>(run.PC);
    run.PC = target;
    return true;
}

bool Return(TCalcRun& run)
{
    if (run.Depth == 0)
        return false;
    run.PC = run.Stack[static_cast<size_t>(--run.Depth)];
    return true;
}

bool ExecString(TCalcRun& run, TCalcOp op, const TOperands& o);

} // namespace

bool CalcStep(TCalcRun& run)
{
    const uint32_t pc = run.PC;
    if (pc >= CalcImageSize)
        return false;
    const uint8_t opcode = run.Code[pc];
    if (opcode >= CalcOpcodeCount || pc + Sizes[opcode] > CalcImageSize)
        return false;
    run.PC = pc + Sizes[opcode];
    const TOperands o{run.Code.data() + pc};
    if (Arith[opcode].Op != TArith::None) {
        ExecArith(run, Arith[opcode], o);
        return true;
    }
    int64_t* r = run.R;
    TCalcHost& host = run.Host;
    const auto op = static_cast<TCalcOp>(opcode);
    switch (op) {
    case TCalcOp::MovR: r[o.B(1)] = r[o.B(2)]; break;
    case TCalcOp::MovD: r[o.B(1)] = o.D(2); break;
    case TCalcOp::MovB: r[o.B(1)] = o.B(2); break;
    case TCalcOp::MovW: r[o.B(1)] = o.W(2); break;
    case TCalcOp::JEq:
    case TCalcOp::JNe:
    case TCalcOp::JGt:
    case TCalcOp::JLt:
    case TCalcOp::JGe:
    case TCalcOp::JLe:
        if (Compare(op, r[o.B(1)], r[o.B(2)]))
            run.PC = o.W(3);
        break;
    case TCalcOp::Jmp: run.PC = o.W(1); break;
    case TCalcOp::Call: return Call(run, o.W(1));
    case TCalcOp::Ret: return Return(run);
    case TCalcOp::PokeRR: WriteBuffer(host, static_cast<uint32_t>(r[o.B(1)]), static_cast<uint8_t>(r[o.B(2)])); break;
    case TCalcOp::PokeRD: WriteBuffer(host, static_cast<uint32_t>(r[o.B(1)]), o.B(2)); break;
    case TCalcOp::PokeDR: WriteBufferBelowSize(run, o.D(1), static_cast<uint8_t>(r[o.B(5)])); break;
    case TCalcOp::PokeDD: WriteBufferBelowSize(run, o.D(1), o.B(5)); break;
    case TCalcOp::PeekR: r[o.B(1)] = ReadBuffer(host, static_cast<uint32_t>(r[o.B(2)])); break;
    case TCalcOp::PeekD: r[o.B(1)] = ReadBuffer(host, o.D(2)); break;
    case TCalcOp::RandR: r[o.B(1)] = RandomBelow(run, static_cast<uint32_t>(r[o.B(2)])); break;
    case TCalcOp::RandD: r[o.B(1)] = RandomBelow(run, o.D(2)); break;
    case TCalcOp::MovC: {
        int64_t value = 0;
        if (host.ReadControl(o.B(2), value))
            r[o.B(1)] = value;
        break;
    }
    case TCalcOp::CtlR: host.SetControlFromRegister(o.B(1), static_cast<uint32_t>(r[o.B(2)])); break;
    case TCalcOp::CtlD:
        host.SetControlFromConstant(o.B(1), o.D(2));
        host.ProcessMessages();
        break;
    case TCalcOp::PropD: SetProperty(run, o.B(1), o.D(2)); break;
    case TCalcOp::PropR: SetProperty(run, o.B(1), static_cast<uint32_t>(r[o.B(2)])); break;
    default: return ExecString(run, op, o);
    }
    return true;
}

namespace {

// The string family. A string register number past the last ends the run.
bool ExecString(TCalcRun& run, TCalcOp op, const TOperands& o)
{
    const uint8_t a = o.B(1);
    const uint8_t b = o.B(2);
    if (op == TCalcOp::LabelSet) {
        // a is the label's index, b the string register.
        if (b >= CalcStringRegisterCount)
            return false;
        run.Host.SetLabelCaption(a, run.S[b]);
        run.Host.ProcessMessages();
        return true;
    }
    if (a >= CalcStringRegisterCount)
        return false;
    std::string& s = run.S[a];
    const int64_t rb = run.R[b];
    switch (op) {
    case TCalcOp::StrClear: s.clear(); return true;
    case TCalcOp::StrLit: {
        std::string text;
        return DecodeCalcLiteral(run.Code.data(), CalcImageSize, o.W(2), text) && CalcAppend(s, text);
    }
    case TCalcOp::StrHexB: return CalcAppend(s, IntToHex(b, 2));
    case TCalcOp::StrHexW: return CalcAppend(s, IntToHex(o.W(2), 4));
    case TCalcOp::StrHexD: return CalcAppend(s, IntToHex(o.D(2), 8));
    case TCalcOp::StrChar: return CalcAppend(s, std::string(1, static_cast<char>(b)));
    case TCalcOp::StrDecB: return CalcAppend(s, IntToStr(b));
    case TCalcOp::StrDecW: return CalcAppend(s, IntToStr(o.W(2)));
    case TCalcOp::StrDecD: return CalcAppend(s, IntToStr(o.D(2)));
    case TCalcOp::StrRegHexB: return CalcAppend(s, IntToHex(static_cast<uint8_t>(rb), 2));
    case TCalcOp::StrRegHexW: return CalcAppend(s, IntToHex(static_cast<uint16_t>(rb), 4));
    case TCalcOp::StrRegHexD: return CalcAppend(s, IntToHex(static_cast<uint64_t>(rb), 8));
    case TCalcOp::StrRegDec: return CalcAppend(s, IntToStr(rb));
    case TCalcOp::StrRegChar: return CalcAppend(s, std::string(1, static_cast<char>(rb)));
    default: break;
    }
    if (b >= CalcStringRegisterCount)
        return false;
    switch (op) {
    case TCalcOp::StrAppend: return CalcAppend(s, std::string(run.S[b]));
    case TCalcOp::StrSet: s = run.S[b]; return true;
    default: return false;
    }
}

} // namespace

bool CalcAppend(std::string& s, const std::string& tail)
{
    if (tail.size() > CalcStringLimit - s.size())
        return false;
    s += tail;
    return true;
}
