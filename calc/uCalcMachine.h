#pragma once
// The calculator machine: runs the code of the compiled calculator image from
// one of its entries against buffer 1 and the calculator's controls.
#include <cstdint>
#include <string>

#include "calc/uCalcCompilerImage.h"

// What a run reaches outside the image: buffer 1 and the built controls. The
// window builder implements it over its widgets and the buffer model.
class TCalcHost {
public:
    virtual ~TCalcHost() = default;
    // Buffer 1. Reads and writes take addresses 0..65535; a write elsewhere is ignored.
    virtual uint8_t GetMainBufferByte(uint32_t address) = 0;
    virtual void SetMainBufferByte(uint32_t address, uint8_t value) = 0;
    virtual int64_t MainBufferSize() = 0;
    virtual int64_t MainSelStart() = 0; // -1 when nothing is selected
    virtual int64_t MainSelEnd() = 0;
    virtual int64_t MainCursorAdr() = 0; // byte address of the caret
    // Controls by index (the names "E<n>", "H<n>", "C<n>", "B<n>", "L<n>").
    virtual bool ReadControl(int index, int64_t& value) = 0;         // R=C; false: no such control
    virtual void SetControlFromRegister(int index, uint32_t value) = 0; // C=R
    virtual void SetControlFromConstant(int index, uint32_t value) = 0; // C=D
    virtual void SetLabelProperty(int index, int property, uint32_t value) = 0; // CP=D, CP=R
    virtual void SetLabelCaption(int index, const std::string& text) = 0;      // L=S
    // Lets the window process pending events (before every instruction and
    // after C=D, CP=D, CP=R, L=S).
    virtual void ProcessMessages() = 0;
};

// The 256 program-wide registers: they keep their values between runs.
int64_t* CalcRegisters();
void ResetCalcRegisters();

// Runs the image's code from entry (CalcEntryOnShow/OnApply/OnChange offsets
// 0, 2, 4 of the header) on a private copy of the image, so a recompile during
// the run cannot change the code under it. Returns false, doing nothing, when
// the entry is CalcNoEntry or a run is already going on (runs never nest).
bool RunCalculatorCode(const TCalcImage& image, int entry, TCalcHost& host);

// True while a run is going on.
bool CalculatorRunning();

// Asks the running run (if any) to end before its next instruction; used when
// the calculator is closed, another one is opened, or the program ends.
void StopCalculatorRun();

// The value R=C reads from a field's text. A decimal field holds a 32-bit
// number (signed, or unsigned as C=R shows it), a hexadecimal field up to 32
// bits; either is sign-extended from 32 bits. Text that is no such number
// reads as 1 (decimal) or 0x100000000 (hexadecimal) and the result is false.
bool CalcParseDecimalField(const std::string& text, int64_t& value);
bool CalcParseHexField(const std::string& text, int64_t& value);
