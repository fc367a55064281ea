#pragma once
// Program-wide state and the value helpers. Settings are named after their
// keys in the settings file; option bits of WorkParam by bit number.
#include "platform/StringList.h"

#include <cstdint>
#include <string>

class THost;

// Chip list: parallel lists of chip entries (tree path and chip name, one per
// LOCATION item of each module) and of the module file of each entry.
extern TStringList ChipList;
extern TStringList ModuleFileList;
// ChipList entry of the loaded module; empty when none.
extern std::string CurrentChip;
// Module parameters: names with values, filled before each run and written
// back after it.
extern TStringList ModuleParameters;
// Language tables: numbered messages and interface texts by tag.
extern TStringList MessageTexts;
extern TStringList LanguageTexts;

extern int32_t ModuleAdapter;   // ADAPTER value of the loaded module
extern bool HelpAvailable;      // the help file exists
extern THost* HostMachine;      // the one host machine, created on first use

// ---------------------------------------------------------------------------
// Settings (TARKU.INI), loaded by LoadSettings and saved by SaveSettings.
// Each variable holds its default until the settings are loaded.
// (Defined in GlobalSettings.cpp.)
extern uint32_t WorkParam;
extern int32_t PowerOnDelay;    // ms waited after power-up
extern int32_t UsbTimeOut;      // 1 ms polls before a device read times out
// ---------------------------------------------------------------------------

// Option bits of WorkParam.
enum WorkParamBit : uint32_t {
    wpAskBeforeWrite = 1u << 0,
    wpParametersOption = 1u << 1,
    wpVerifyAfterWrite = 1u << 2,
    wpAdvanceAfterIns = 1u << 3,
    wpHideMismatch = 1u << 4,
    wpCloseAfterRead = 1u << 5,
    wpCloseAfterWrite = 1u << 6,
    wpCloseAfterVerify = 1u << 7,
    wpShowGrid = 1u << 8,
    wpShowAddresses = 1u << 9,
    wpIgnoreOverload = 1u << 10,
    wpAskOnSizeMismatch = 1u << 11,
    wpTabsOnTop = 1u << 12,
    wpParamPanelOnTop = 1u << 13,
    wpAlwaysShowTabs = 1u << 14,
    wpPersistentBlocks = 1u << 15,
    wpToolBarVisible = 1u << 16,
    wpEraseOnChipSelect = 1u << 17,
    wpPinTestBeforeRun = 1u << 18,
    wpUseConfigFile = 1u << 20,
    wpBackupControl = 1u << 21,
    wpMarkersPanelVisible = 1u << 26,
    wpDatedSaveName = 1u << 27,
    wpCalcOwnWindow = 1u << 28,
    wpNoMarkerFiles = 1u << 29,
};

// Value helpers (defined in Global.cpp).

// Number text: spaces removed; "0x" prefix for hexadecimal, else decimal with
// an optional sign; empty or unconvertible text gives the default.
int64_t NumberTextToInt64(const std::string& text, int64_t def);

// A value from `count` (1 to 8) bytes, first byte most significant unless
// reverseOrder, then the swap, mirror and invert options in that order.
int64_t BytesToNumber(const uint8_t* bytes, int count, bool swapBytes, bool swapNibbles, bool reverseOrder,
                      bool mirrorBits, bool invert);

// Whether a text (the clipboard's) is a hex dump: pairs of hex digits
// separated by blanks. An empty or blank text counts as hex text.
bool IsHexDumpText(const std::string& text);

// Reads a fill pattern cyclically, two hex digits per byte.
struct TPatternCursor {
    std::string Pattern;
    int Position = 1; // 1-based position of the next digit
};
uint8_t NextPatternByte(TPatternCursor& cursor);
