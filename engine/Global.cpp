#include "engine/Global.h"

#include "engine/ComUtils.h"
#include "engine/Engine.h"
#include "engine/GlobalSettings.h"
#include "engine/uHost.h"
#include "platform/SysUtils.h"

#include <algorithm>

TStringList ChipList;
TStringList ModuleFileList;
std::string CurrentChip;
TStringList ModuleParameters;
TStringList MessageTexts;
TStringList LanguageTexts;

int32_t ModuleAdapter = 0;
bool HelpAvailable = false;
THost* HostMachine = nullptr;

namespace {
// Kept with HostMachine: made empty whenever the machine is made or freed.
std::string hostMachineModule;
} // namespace

THost& CreateHostMachine()
{
    if (!HostMachine) {
        HostMachine = new THost;
        hostMachineModule.clear();
    }
    return *HostMachine;
}

void FreeHostMachine()
{
    delete HostMachine;
    HostMachine = nullptr;
    hostMachineModule.clear();
}

const std::string& HostMachineModule() { return hostMachineModule; }

void SetHostMachineModule(const std::string& storedName) { hostMachineModule = storedName; }

void ResetProgramState()
{
    RestoreDefaultSettings();
    ChipList.Clear();
    ModuleFileList.Clear();
    CurrentChip.clear();
    ModuleParameters.Clear();
    MessageTexts.Clear();
    LanguageTexts.Clear();
    ModuleAdapter = 0;
    HelpAvailable = false;
    FreeHostMachine();
    UsbStopWaiting = nullptr;
    SetUsbTransport(nullptr);
    if (ComHandle != -1)
        CloseComPort(ComHandle);
    ComSettings = TComSettings();
}

std::optional<int64_t> TryNumberTextToInt64(const std::string& text)
{
    std::string s;
    for (char c : text)
        if (c != ' ')
            s += c;
    if (s.empty())
        return std::nullopt;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        return TryStrToInt64("$" + s.substr(2));
    // The library conversion would also take "$" and "x" prefixes; this text
    // is decimal only.
    const size_t first = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (first == s.size())
        return std::nullopt;
    for (size_t i = first; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
    return TryStrToInt64(s);
}

int64_t NumberTextToInt64(const std::string& text, int64_t def)
{
    return TryNumberTextToInt64(text).value_or(def);
}

namespace {

uint64_t mirrorByte(uint64_t b)
{
    uint64_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1u << i))
            r |= 0x80u >> i;
    return r;
}

} // namespace

int64_t BytesToNumber(const uint8_t* bytes, int count, bool swapBytes, bool swapNibbles, bool reverseOrder,
                      bool mirrorBits, bool invert)
{
    if (!bytes || count < 1)
        count = 0;
    if (count > 8)
        count = 8;
    uint64_t value = 0;
    uint64_t mask = 0;
    for (int k = 0; k < count; ++k) {
        const uint8_t b = bytes[reverseOrder ? count - 1 - k : k];
        value = (value << 8) | b;
        mask = (mask << 8) | 0xFF;
    }
    // The swaps and the mirror work on every byte of the count, so values of
    // 5 to 8 bytes keep their upper bytes.
    if (swapBytes) {
        uint64_t v = value;
        for (int pair = 0; 2 * pair + 1 < count; ++pair) {
            const int shift = 16 * pair;
            const uint64_t low = (value >> shift) & 0xFF;
            const uint64_t high = (value >> (shift + 8)) & 0xFF;
            v = (v & ~(uint64_t(0xFFFF) << shift)) | (low << (shift + 8)) | (high << shift);
        }
        value = v;
    }
    if (swapNibbles)
        value = ((value & 0x0F0F0F0F0F0F0F0Full) << 4) | ((value & 0xF0F0F0F0F0F0F0F0ull) >> 4);
    if (mirrorBits) {
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v |= mirrorByte((value >> (8 * i)) & 0xFF) << (8 * i);
        value = v;
    }
    if (invert)
        value ^= mask;
    return static_cast<int64_t>(value);
}

bool IsHexDumpText(const std::string& text)
{
    // The text ends at its first zero, as a clipboard text does.
    const size_t end = std::min(text.find('\0'), text.size());
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t i = 0;
    while (i < end) {
        if (blank(text[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= end || blank(text[i + 1]))
            return false;
        if (!IsHexDigit(text[i]) || !IsHexDigit(text[i + 1]))
            return false;
        i += 2;
    }
    return true;
}

uint8_t NextPatternByte(TPatternCursor& cursor)
{
    const int length = static_cast<int>(cursor.Pattern.size());
    if (length == 0) {
        cursor.Position = 1;
        return 0;
    }
    if (cursor.Position < 1 || cursor.Position > length)
        cursor.Position = 1;
    // The caller has checked the digits; anything else reads as 0 so the
    // byte stays in range.
    auto digit = [&](int pos) { return std::max(HexDigitValue(cursor.Pattern[static_cast<size_t>(pos - 1)]), 0); };
    const int high = digit(cursor.Position++);
    if (cursor.Position > length) {
        cursor.Position = 1;
        return static_cast<uint8_t>(high);
    }
    const int low = digit(cursor.Position++);
    if (cursor.Position > length)
        cursor.Position = 1;
    return static_cast<uint8_t>(high * 16 + low);
}
