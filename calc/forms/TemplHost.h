#pragma once
// What a calculator run reaches through the window: buffer 1 (the view's
// buffer model) and the built controls. Every widget is looked up through a
// guarded pointer at each access, so controls destroyed during a run (a
// rebuild, a closed window) are skipped instead of touched.
#include "calc/uCalcMachine.h"

#include <QElapsedTimer>
#include <QPointer>

class THexDump;

class TCalcWindowHost : public TCalcHost {
public:
    explicit TCalcWindowHost(THexDump* buffer1);

    uint8_t GetMainBufferByte(uint32_t address) override;
    void SetMainBufferByte(uint32_t address, uint8_t value) override;
    int64_t MainBufferSize() override;
    int64_t MainSelStart() override;
    int64_t MainSelEnd() override;
    int64_t MainCursorAdr() override;
    bool ReadControl(int index, int64_t& value) override;
    void SetControlFromRegister(int index, uint32_t value) override;
    void SetControlFromConstant(int index, uint32_t value) override;
    void SetLabelProperty(int index, int property, uint32_t value) override;
    void SetLabelCaption(int index, const std::string& text) override;
    void ProcessMessages() override;

    // A byte of buffer 1 was written during the run.
    bool BufferWritten() const { return written_; }

private:
    QPointer<THexDump> buffer1_;
    bool written_ = false;
    // Processing pending events costs far more than an instruction, so
    // they are processed every few milliseconds: often enough for the
    // window to answer, seldom enough not to slow the run.
    QElapsedTimer sincePump_;
    unsigned calls_ = 0;
};

// The value a field shows for C=R and C=D: decimal unsigned, or
// hexadecimal with the field's digit count (at most 8).
std::string CalcDecimalFieldText(uint32_t value);
std::string CalcHexFieldText(uint32_t value, int digits);
