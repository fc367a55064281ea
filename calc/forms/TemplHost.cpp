#include "calc/forms/TemplHost.h"

#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "calc/forms/TemplLabels.h"
#include "platform/Cp1251.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

// Buffer 1 as the calculators see it: the first 64 KiB.
constexpr uint32_t CalcBufferLimit = 0xFFFF;

// Pending events are processed at most this often during a run.
constexpr int PumpPauseMs = 10;

template <class T>
T* Control(char letter, int index)
{
    const auto it = CalcControls.find(letter + IntToStr(index));
    return it == CalcControls.end() ? nullptr : qobject_cast<T*>(it->second.data());
}

int HexDigits(const QWidget& field) { return std::min(8, field.property("Tag").toInt() >> 16); }

} // namespace

std::string CalcDecimalFieldText(uint32_t value) { return IntToStr(value); }

std::string CalcHexFieldText(uint32_t value, int digits) { return IntToHex(value, std::clamp(digits, 0, 8)); }

TCalcWindowHost::TCalcWindowHost(THexDump* buffer1) : buffer1_(buffer1) { sincePump_.start(); }

uint8_t TCalcWindowHost::GetMainBufferByte(uint32_t address)
{
    if (!buffer1_ || address > CalcBufferLimit || !buffer1_->Buffer().InRange(address))
        return 0;
    return buffer1_->Buffer().Data[address];
}

void TCalcWindowHost::SetMainBufferByte(uint32_t address, uint8_t value)
{
    if (!buffer1_ || address > CalcBufferLimit || !buffer1_->Buffer().InRange(address))
        return;
    TDumpBuffer& buffer = buffer1_->Buffer();
    buffer.Data[address] = value;
    buffer.SetMatchBit(address, false);
    // The user is asked before the changed buffer is dropped.
    buffer.Modified = true;
    written_ = true;
}

int64_t TCalcWindowHost::MainBufferSize() { return buffer1_ ? buffer1_->GetSize() : 0; }

int64_t TCalcWindowHost::MainSelStart() { return buffer1_ ? buffer1_->Buffer().SelStart : -1; }

int64_t TCalcWindowHost::MainSelEnd() { return buffer1_ ? buffer1_->Buffer().SelEnd : -1; }

int64_t TCalcWindowHost::MainCursorAdr() { return buffer1_ ? buffer1_->Edit().CaretByte : 0; }

bool TCalcWindowHost::ReadControl(int index, int64_t& value)
{
    if (auto* field = Control<QLineEdit>('E', index)) {
        CalcParseDecimalField(QStringToCp1251(field->text()), value);
        return true;
    }
    if (auto* field = Control<QLineEdit>('H', index)) {
        CalcParseHexField(QStringToCp1251(field->text()), value);
        return true;
    }
    if (auto* combo = Control<QComboBox>('C', index)) {
        value = std::max(0, combo->currentIndex());
        return true;
    }
    if (auto* check = Control<QCheckBox>('B', index)) {
        value = check->isChecked() ? 1 : 0;
        return true;
    }
    return false;
}

void TCalcWindowHost::SetControlFromRegister(int index, uint32_t value)
{
    if (auto* field = Control<QLineEdit>('E', index))
        field->setText(QString::fromStdString(CalcDecimalFieldText(value)));
    else if (auto* field = Control<QLineEdit>('H', index))
        field->setText(QString::fromStdString(CalcHexFieldText(value, HexDigits(*field))));
}

void TCalcWindowHost::SetControlFromConstant(int index, uint32_t value)
{
    if (auto* combo = Control<QComboBox>('C', index)) {
        if (combo->count() > 0)
            combo->setCurrentIndex(int(std::min<uint32_t>(value, uint32_t(combo->count() - 1))));
    } else if (auto* check = Control<QCheckBox>('B', index)) {
        check->setChecked(value != 0);
    } else {
        SetControlFromRegister(index, value);
    }
}

void TCalcWindowHost::SetLabelProperty(int index, int property, uint32_t value)
{
    if (auto* label = Control<QLabel>('L', index))
        SetCalcLabelProperty(*label, property, value);
}

void TCalcWindowHost::SetLabelCaption(int index, const std::string& text)
{
    if (auto* label = Control<QLabel>('L', index))
        SetCalcLabelCaption(*label, Cp1251ToQString(text));
}

void TCalcWindowHost::ProcessMessages()
{
    if (++calls_ % 64 != 0 || sincePump_.elapsed() < PumpPauseMs)
        return;
    PumpMessages();
    sincePump_.restart();
    // Buffer 1 went with the main window: nothing is left to compute for.
    if (!buffer1_)
        StopCalculatorRun();
}
