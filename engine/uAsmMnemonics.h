#pragma once
// The host machine's instruction table: 65 instructions in opcode order and
// an end record, so that a record's position is its opcode.
#include <cstdint>
#include <string_view>

struct TMnemonic {
    const char* Name;
    int Opcode;
};

inline constexpr int MnemonicCount = 65;
extern const TMnemonic Mnemonics[MnemonicCount + 1];

// Opcodes by name, for the machine and the code generator.
enum THostOpcode : int {
    opLDIA, opMOVA, opMOVR, opMTEA, opMFEA, opMTFA, opMFFA, opSUBR, opSUBI, opADDR,
    opADDI, opANDR, opANDI, opXORR, opXORI, opORRR, opORRI, opCMPR, opCMPI, opJMPZ,
    opJPNZ, opJMPG, opJMPL, opJMPP, opJPZG, opJPZL, opCALL, opRETT, opTSTB, opROTR,
    opROTL, opPRIN, opMESS, opINCC, opDECC, opMULI, opMULR, opDIVI, opDIVR, opOUTP,
    opINPO, opSFPI, opSFPR, opSEPI, opSEPR, opDRUN, opSFSI, opSFSR, opSESI, opSESR,
    opMTSE, opMFSE, opMTSF, opMFSF, opSTUA, opSRPI, opSRPR, opMTRA, opMFRA, opDELI,
    opDELR, opBBLK, opEBLK, opFSIG, opCLOS,
};

// Opcodes whose operand is a label: the jumps and CALL.
inline bool IsLabelOpcode(int opcode) { return opcode >= opJMPZ && opcode <= opCALL; }

// Position of the record named exactly `name` (callers pass upper case), or -1.
int FindMnemonic(std::string_view name);
