#pragma once
// THost::Step, inline so that the run loop steps without a call per
// instruction; the rare paths (faults, waits, the USB block, the signature
// table) stay out of line.
#include "engine/uAsmMnemonics.h"
#include "engine/uHost.h"

// One instruction per call. Every address the script computes is checked
// before it is used: a fault stops the run instead of reaching outside the
// machine's tables.
inline int THost::Step()
{
    if (halted_)
        return StepFault;
    if (PC < 0 || PC >= CodeLength - 1)
        return FaultAddress();
    const uint32_t* code = Code.data();
    const uint32_t op = code[PC];
    const uint32_t k = code[PC + 1];
    PC += 2;
    uint32_t* vars = Vars.data();

#define HOST_VAR(index)                                                                                                \
    if ((index) >= static_cast<uint32_t>(VarWords))                                                                    \
        return FaultVariable(index);
    switch (op) {
    case opLDIA: A = k; break;
    case opMOVA: HOST_VAR(k) A = vars[k]; break;
    case opMOVR: HOST_VAR(k) vars[k] = A; break;
    case opMTEA: if (OnBufferWrite) OnBufferWrite(1, EPtr, A); break;
    case opMFEA: if (OnBufferRead) OnBufferRead(1, EPtr, A); break;
    case opMTFA: if (OnBufferWrite) OnBufferWrite(0, FPtr, A); break;
    case opMFFA: if (OnBufferRead) OnBufferRead(0, FPtr, A); break;
    case opSUBR: HOST_VAR(k) A -= vars[k]; break;
    case opSUBI: A -= k; break;
    case opADDR: HOST_VAR(k) A += vars[k]; break;
    case opADDI: A += k; break;
    case opANDR: HOST_VAR(k) A &= vars[k]; Z = A == 0; break;
    case opANDI: A &= k; Z = A == 0; break;
    case opXORR: HOST_VAR(k) A ^= vars[k]; Z = A == 0; break;
    case opXORI: A ^= k; Z = A == 0; break;
    case opORRR: HOST_VAR(k) A |= vars[k]; Z = A == 0; break;
    case opORRI: A |= k; Z = A == 0; break;
    case opCMPR: {
        HOST_VAR(k)
        const uint32_t v = vars[k];
        Z = A == v; G = A > v; L = A < v;
        break;
    }
    case opCMPI: Z = A == k; G = A > k; L = A < k; break;
    case opJMPZ: if (Z) PC = static_cast<int32_t>(k); break;
    case opJPNZ: if (!Z) PC = static_cast<int32_t>(k); break;
    case opJMPG: if (G) PC = static_cast<int32_t>(k); break;
    case opJMPL: if (L) PC = static_cast<int32_t>(k); break;
    case opJMPP: PC = static_cast<int32_t>(k); break;
    case opJPZG: if (Z || G) PC = static_cast<int32_t>(k); break;
    case opJPZL: if (Z || L) PC = static_cast<int32_t>(k); break;
    case opCALL:
        if (SP >= MaxCallDepth)
            return FaultCallDepth();
        CallStack[static_cast<size_t>(++SP)] = static_cast<uint32_t>(PC);
        PC = static_cast<int32_t>(k);
        break;
    case opRETT:
        if (SP <= 0) {
            ExitValue = A;
            return StepEnded;
        }
        PC = static_cast<int32_t>(CallStack[static_cast<size_t>(SP--)]);
        break;
    case opTSTB: Z = (A & k) == 0; break;
    case opROTR: A >>= (k & 31); break;
    case opROTL: A <<= (k & 31); break;
    case opPRIN: if (OnPrint) OnPrint(k); break;
    case opMESS: break;
    case opINCC: HOST_VAR(k) ++vars[k]; break;
    case opDECC: HOST_VAR(k) --vars[k]; break;
    case opMULI: A *= k; break;
    case opMULR: HOST_VAR(k) A *= vars[k]; break;
    case opDIVI: A = k == 0 ? 0xFFFFFFFFu : A / k; break;
    case opDIVR: {
        HOST_VAR(k)
        const uint32_t v = vars[k];
        A = v == 0 ? 0xFFFFFFFFu : A / v;
        break;
    }
    case opOUTP: if (OnOutPort) OnOutPort(k, A); break;
    case opINPO: if (OnInPort) OnInPort(k, A); break;
    case opSFPI: FPtr = k; break;
    case opSFPR: HOST_VAR(k) FPtr = vars[k]; break;
    case opSEPI: EPtr = k; break;
    case opSEPR: HOST_VAR(k) EPtr = vars[k]; break;
    case opDRUN: if (OnDeviceRun) OnDeviceRun(static_cast<uint16_t>(k & 0xFFFF)); break;
    case opSFSI: FSel = k; break;
    case opSFSR: HOST_VAR(k) FSel = vars[k]; break;
    case opSESI: ESel = k; break;
    case opSESR: HOST_VAR(k) ESel = vars[k]; break;
    case opMTSE: if (OnSelectWrite) OnSelectWrite(1, ESel, A); break;
    case opMFSE: if (OnSelectRead) OnSelectRead(1, ESel, A); break;
    case opMTSF: if (OnSelectWrite) OnSelectWrite(0, FSel, A); break;
    case opMFSF: if (OnSelectRead) OnSelectRead(0, FSel, A); break;
    case opSTUA: if (OnSetupUart) OnSetupUart(k); break;
    case opSRPI: APtr = k; break;
    case opSRPR: HOST_VAR(k) APtr = vars[k]; break;
    case opMTRA:
    case opMFRA:
        if (APtr >= static_cast<uint32_t>(ArrayWords))
            return FaultArrayIndex();
        if (op == opMTRA)
            ArrayStore[APtr] = A;
        else
            A = ArrayStore[APtr];
        break;
    case opDELI:
    case opDELR: {
        uint32_t count = k;
        if (op == opDELR) {
            HOST_VAR(k)
            count = vars[k];
        }
        Delay(count);
        break;
    }
    case opBBLK: BeginUsbBlock(); break;
    case opEBLK:
        if (EndUsbBlock() == StepFault)
            return StepFault;
        break;
    case opFSIG: A = FindSignature(A); break;
    case opCLOS: ExitValue = A; break;
    default:
        return FaultOpcode(op);
    }
#undef HOST_VAR
    return StepContinue;
}
