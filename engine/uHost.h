#pragma once
// The host machine: compiler and assembler of a module's [HOST] script, the
// accumulator machine that steps the compiled code, and the exchange of the
// module parameter list with the script's variables and arrays.
#include "engine/uCompiler.h"
#include "platform/StringList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// Names with a number (and, for arrays, a size), in the order they were
// entered; the first entry of a name wins a look-up. Names are compared
// exactly: callers upper-case them.
class TNameTable {
public:
    struct Entry {
        std::string Name;
        int32_t Number = 0;
        int32_t Size = 0;
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int i) const { return entries_.at(static_cast<size_t>(i)); }
    int IndexOf(const std::string& name) const;
    int Add(const std::string& name, int32_t number, int32_t size = 0);
    void Set(int index, int32_t number, int32_t size);
    void Delete(int index);
    // Keeps the first `count` entries.
    void Truncate(int count);
    void Clear();

private:
    void Reindex();
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int> index_;
};

class THost {
public:
    // Fixed sizes of the machine.
    static constexpr int MaxInstructions = 4096;
    static constexpr int CodeWords = 2 * MaxInstructions;
    static constexpr int VarWords = 4096;
    static constexpr int ArrayWords = 65536;
    static constexpr int MaxCallDepth = 100;
    // Procedure arguments travel in 4000 + i; 4095 holds array addresses.
    static constexpr int ArgumentBase = 4000;
    static constexpr int IndexScratch = 4095;
    static constexpr int MaxArguments = IndexScratch - ArgumentBase;

    // Results of Step.
    static constexpr int StepContinue = 0;
    static constexpr int StepEnded = 1;
    // The run stopped on a fault (unknown opcode or a limit of the machine);
    // RunError says why, and Step keeps answering this until the next
    // SelectProcedure.
    static constexpr int StepFault = -1;

    THost();

    // ---- machine state ----
    uint32_t A = 0;
    int32_t PC = 0;
    int32_t SP = 0;
    std::array<uint32_t, MaxCallDepth + 1> CallStack{}; // used from index 1
    uint32_t FPtr = 0;
    uint32_t EPtr = 0;
    uint32_t FSel = 0;
    uint32_t ESel = 0;
    uint32_t APtr = 0;
    bool Z = false;
    bool G = false;
    bool L = false;
    uint32_t ExitValue = 0;
    std::vector<uint32_t> Code;       // CodeWords: opcode, operand, opcode, ...
    int32_t CodeLength = 0;           // words filled by the assembler
    std::vector<uint32_t> Vars;       // VarWords
    std::vector<uint32_t> ArrayStore; // ArrayWords
    TNameTable Procedures;            // "PROC" + upper-case name -> start address
    bool UsesDevice = false;
    std::string LoadedModule;
    std::string RunError;             // why the last run stopped with StepFault

    // Callback slots, filled by the run window before a run. An empty slot
    // does nothing (reads leave A unchanged).
    std::function<void(uint32_t record)> OnPrint;
    std::function<void(uint32_t settings)> OnSetupUart;
    std::function<void(uint32_t port, uint32_t& value)> OnInPort;
    std::function<void(uint32_t port, uint32_t& value)> OnOutPort;
    std::function<void(int buffer, uint32_t address, uint32_t value)> OnBufferWrite;
    std::function<void(int buffer, uint32_t address, uint32_t& value)> OnBufferRead;
    std::function<void(int buffer, uint32_t address, uint32_t value)> OnSelectWrite;
    std::function<void(int buffer, uint32_t address, uint32_t& value)> OnSelectRead;
    std::function<void(uint16_t address)> OnDeviceRun;
    // The waits of DELI and DELR (milliseconds, above 0): the pumping sleep,
    // replaced in tests.
    std::function<void(int ms)> DelayWait;
    // Asked between the milliseconds of a wait when set: true ends the wait
    // early, so that a cancelled run does not sit out a long DELAY.
    std::function<bool()> StopWaiting;

    // The device script compiler, run when the host script uses RUN.
    TCompiler Compiler;

    // ---- compiler state ----
    TStringList Source;
    TStringList Errors;
    TStringList AsmText;
    TStringList ProcNames;
    TStringList Definitions;  // flat pairs: name, value
    TNameTable VarNames;      // variable name -> number
    int32_t VarCount = 0;
    int32_t GlobalVarCount = 0;
    TNameTable Arrays;        // array name -> base in ArrayStore, size
    int32_t ArrayCursor = 0;  // next free index of ArrayStore
    TStringList PrintRecords;
    TStringList RunNames;
    TStringList BlockStack;
    int WhileCount = 0;
    int IfCount = 0;
    int ElseCount = 0;

    // What the last intake of the parameter list left, so that every compile
    // starts from it: its variables keep their numbers and its arrays sit at
    // the bottom of ArrayStore, below the script's own arrays. A compile may
    // hide entries (DEFINE) or move an array (a larger DIM of its name); the
    // next compile starts from the intake again.
    int32_t ExternalVarCount = 0;
    int32_t ExternalArrayCount = 0;
    int32_t ExternalArrayEnd = 0;

    // ---- compiler (uHostCompile.cpp) ----
    // Compiles the module file named by LoadedModule; Errors empty = success.
    void Compile();
    // The same for the lines already in Source.
    void CompileSource();
    // Assembles AsmText into Code, CodeLength and Procedures.
    void Assemble();

    // ---- machine (uHostMachine.cpp) ----
    bool SelectProcedure(const std::string& name);
    int Step();

    // ---- module parameters (uHostVariables.cpp) ----
    bool LoadExternalVariables(TStringList& list);
    void ReloadExternalVariables(TStringList& list);
    bool StoreExternalVariables(TStringList& list);

private:
    // Steps of CompileSource.
    void ResetCompileState();
    int FindHostSection() const;
    void CollectProcedureNames(int hostLine);
    void CompileDeviceScript();
    void LinkDeviceRuns();

    int Fault(std::string message);
    int FaultAddress();
    int FaultVariable(uint32_t index);
    int FaultCallDepth();
    int FaultArrayIndex();
    int FaultOpcode(uint32_t op);
    void Delay(uint32_t count);
    void BeginUsbBlock();
    // Sends the gathered bytes; a send that fails is a lost link and
    // stops the run (StepFault), else StepContinue.
    int EndUsbBlock();
    uint32_t FindSignature(uint32_t signature);
    bool halted_ = false;
    TNameTable externalVarNames_;
    TNameTable externalArrays_;
};

#include "engine/uHostStep.h"
