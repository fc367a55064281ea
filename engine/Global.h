#pragma once
// Program-wide state and the value helpers. Settings are named after their
// keys in the settings file; option bits of WorkParam by bit number.
#include "platform/StringList.h"

#include <cstdint>
#include <optional>
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

// The program-wide state of this header back to where the program starts:
// every setting at its default, the chip, module, parameter and language
// lists empty, the host machine freed, the link closed with its transport
// dropped and nothing asked at its polls (UsbStopWaiting), and the serial
// port closed. For shutdown and for tests.
void ResetProgramState();

// HostMachine is made and freed only here. CreateHostMachine makes it when
// there is none and gives it; FreeHostMachine frees it (HostMachine is null
// afterwards) together with the name of the module it compiled.
THost& CreateHostMachine();
void FreeHostMachine();
// Stored name (StoredModuleName) of the module whose code HostMachine holds;
// empty when none is compiled or its last compile failed.
const std::string& HostMachineModule();
void SetHostMachineModule(const std::string& storedName);

// ---------------------------------------------------------------------------
// Settings (TARKU.INI), loaded by LoadSettings and saved by SaveSettings.
// Each variable holds its default until the settings are loaded.
// (Defined in GlobalSettings.cpp.)
// Defaults in brackets; colours are 0x00BBGGRR.

// [Parameters]
extern std::string ComName;            // serial port of modules that use one ["COM1"]
extern std::string SaveDirectory;      // folder of the buffer open/save dialogs [the program folder]
extern int32_t DelayValue;             // kept, unused [1000]
extern int32_t ChipNameFontStyle;      // 1 = chip name label bold [1]
extern int32_t SwapBytesInWordMode;    // read, never written, unused [1]
extern int32_t UserInterface;          // kept, unused [0]
extern int32_t HidedButtons;           // kept, unused [8191]
extern std::string LibraryFolder;      // key "Library folder": dumps library root [""]
extern uint32_t WorkParam;             // option bits, WorkParamBit [WorkParamDefault]
extern std::string XorFileName;        // last file of XOR with file [""]
extern int32_t PowerOnDelay;           // ms waited after power-up [200]
extern std::string LanguageName;       // key "Language"; empty: from the system [""]
extern int32_t OpenFileExtension;      // filter index of the open dialog [1]
extern int32_t SaveFileExtension;      // filter index of the save dialog [1]
extern int32_t DumpViewWidth;          // kept, unused; under 20 reads as 100 [100]
extern int32_t DumpViewHeight;         // height of the dump description; under 20 reads as 100 [100]
extern int32_t CalcViewWidth;          // kept, unused [100]
extern int32_t CalcViewHeight;         // height of the calculator panel [100]
extern std::string DumpFileName;       // key "Dumpfilename": dump shown in the file window [""]
extern std::string LastCalc;           // last chosen calculator [""]
extern int32_t CheckPowerVoltage;      // kept, unused [1]
extern int32_t ChipTreeWidth;          // chip tree panel of the selection dialog [200]
extern int32_t CalcTreeWidth;          // kept, unused [225]
extern std::string ConfigFile;         // chip catalogue in the scripts folder ["scripts.cfg"]
extern bool ShowCodeSize;              // read, never written, unused [false]
extern int32_t CompilerLongStrings;    // read, never written, unused [0]
extern std::string ChipName;           // chip entry of the module loaded at start [""]
extern int32_t MainWindowState;        // key "State": 1 maximized, else normal [1]
extern int32_t BuiltInCalcH;           // height of the built-in calculator area [200]
// [Serial]
extern int32_t SerialTimeOut;          // key "TimeOut": read time-out in ms [100]
extern int32_t SerialBufferSize;       // key "BufferSize": queue size in bytes [256]
// [USB]
extern int32_t UsbTimeOut;             // key "TimeOut": 1 ms polls before a read times out [200]
extern int32_t UsbBlockModeSetting;    // key "BlockMode": read, never written, unused [0]
// key "PipeFolder": folder of the programmer's pipe files "00", "01", "02";
// empty means the virtual programmer built into the program [""]
extern std::string UsbPipeFolder;
// [Dump]: the editor's look
extern std::string DumpFontName;       // key "FontName" ["FixedSys"]
extern int32_t DumpFontSize;           // key "FontSize" [10]
extern int32_t DumpFontStyle;          // key "FontStyle": 1 bold, 2 italic, 4 underline, 8 strike-out [0]
extern int32_t DefaultBackGround;      // [0xFFFFFF]
extern int32_t DefaultFontColor;       // [0]
extern int32_t SelectionFontColor;     // [0xFFFFFF]
extern int32_t SelectionBackGround;    // [0x800000]
extern int32_t AddressFontColor;       // [0xFF0000]
extern int32_t MismatchFontColor;      // bytes that differ from the chip [0xFF8000]
extern int32_t EditorMode;             // non-zero: editor-only mode at start [1]
// [Print]
extern int32_t PrintParameters;        // key "Parameters": print dialog bits [0]
extern std::string PrintFolder;        // key "Folder" [""]
extern std::string PrintFileName;      // key "Filename" [""]
// [CalcWindow]
extern int32_t CalcWindowMemoH;        // key "MemoH": kept, unused [60]
// [CalcTree]: the undocked calculator panel
extern int32_t CalcTreeUndockHeight;   // key "UndockHeight" [400]
extern int32_t CalcTreeUndockWidth;    // key "UndockWidth" [300]
extern int32_t CalcTreeLeft;           // key "Left" [30]
extern int32_t CalcTreeTop;            // key "Top" [30]
// [Files]: recent source files of the copy-from-file and compare dialogs
extern TStringList RecentSourceFiles;
// [Recent Files]: recently opened buffer files, in File menu order
extern TStringList RecentFiles;
// ---------------------------------------------------------------------------

// Option bits of WorkParam. Bits 19, 22 to 25, 30 and 31 mean nothing but
// are kept as read and written back.
enum WorkParamBit : uint32_t {
    wpAskBeforeWrite = 1u << 0,       // ask before Write, Write changes and Erase
    wpParametersOption = 1u << 1,     // set by the device parameters window; nothing reads it
    wpVerifyAfterWrite = 1u << 2,     // GlobalVerify
    wpAdvanceAfterIns = 1u << 3,      // the caret moves on after the Insert key
    wpHideMismatch = 1u << 4,         // after opening a file or selecting a chip
    wpCloseAfterRead = 1u << 5,       // ForceCloseAfterRead
    wpCloseAfterWrite = 1u << 6,      // ForceCloseAfterWrite
    wpCloseAfterVerify = 1u << 7,     // ForceCloseAfterVerify
    wpShowGrid = 1u << 8,
    wpShowAddresses = 1u << 9,        // byte/word address column
    wpIgnoreOverload = 1u << 10,      // ignore power overload
    wpAskOnSizeMismatch = 1u << 11,   // a loaded file's size differs from the buffer's
    wpTabsOnTop = 1u << 12,           // clear: buffer tabs at the bottom
    wpParamPanelOnTop = 1u << 13,     // clear: module parameter panel at the bottom
    wpAlwaysShowTabs = 1u << 14,      // tab strip also for a module with one buffer
    wpPersistentBlocks = 1u << 15,
    wpToolBarVisible = 1u << 16,
    wpEraseOnChipSelect = 1u << 17,
    wpPinTestBeforeRun = 1u << 18,
    wpUseConfigFile = 1u << 20,       // chip list from the catalogue file
    wpBackupControl = 1u << 21,       // governs the automatic backup; shown as "Disable backup"
    wpMarkersPanelVisible = 1u << 26,
    wpDatedSaveName = 1u << 27,       // default save name with date, time and chip (clear: empty)
    wpCalcOwnWindow = 1u << 28,       // calculators in their own window
    wpNoMarkerFiles = 1u << 29,       // no ".mrk" side files
};
inline constexpr uint32_t WorkParamDefault = 0x3B713BFF;

// Value helpers (defined in Global.cpp).

// Number text: spaces removed; "0x" prefix for hexadecimal, else decimal with
// an optional sign; empty or unconvertible text gives the default.
int64_t NumberTextToInt64(const std::string& text, int64_t def);
// The same conversion without a default, so that every number (-1 too) can
// be told from text that does not convert.
std::optional<int64_t> TryNumberTextToInt64(const std::string& text);

// A value from `count` (1 to 8) bytes, first byte most significant unless
// reverseOrder, then the swap, mirror and invert options in that order. Swap
// bytes exchanges the bytes of each pair (0,1), (2,3), ... counted from the
// least significant, as far as the count has whole pairs.
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
