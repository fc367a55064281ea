#pragma once
// Chip module files (*.chl): the description part ([DESCRIPTION], [MENU],
// [INTERFACE] or [INTERFACE WINDOW], [USER WINDOW]). The [HOST] and [DEVICE]
// scripts are read from Lines by their compilers.
#include "platform/StringList.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TModuleInfo {
public:
    // The device menu holds at most this many entries.
    static constexpr int MaxMenuEntries = 21;

    TModuleInfo();

    // -1 when the file (a program-relative or absolute Windows-style path)
    // does not exist or cannot be read; otherwise 1. What the file does not
    // say stays at its default; problems found go to Warnings.
    int LoadFromFile(const std::string& fileName);
    // The same on the bytes of a module file that the caller has read;
    // `fileName` names it in Warnings.
    void LoadFromText(const std::string& bytes, const std::string& fileName);

    int MenuCount = 0;           // entries in Menu[1..MenuCount]
    TStringList Lines;           // every line of the file as read
    TStringList Locations;       // chip tree paths from LOCATION
    TStringList Info;            // information lines from INFO
    TStringList Voltages;        // the nine allowed supply voltages
    int32_t Buffer1Size = 0;     // -1 automatic or invalid; 0 when no key sets it
    int32_t Buffer2Size = 0;
    int32_t Uart = 0;            // non-zero: the module uses the serial port
    uint8_t VccMask = 0;         // bit i = programmer line i+1
    uint8_t GndMask = 0;
    uint8_t PinTestMask = 0xFF;  // set bit = line takes part in the pin test
    std::string Voltage;         // one of Voltages, or empty
    std::string Buffer1Name;
    std::string Buffer2Name;     // empty: no second buffer
    std::string Picture;
    // Menu[1..21]: the entry key upper-cased, then its values (caption, tool
    // button, hint, shortcut). Menu[0] is unused.
    std::array<TStringList, MaxMenuEntries + 1> Menu;
    // Line 0 "0" (controls in the main window) or "1" (only [INTERFACE
    // WINDOW]: controls in the parameters window); then per control "I<n>",
    // the kind, the parameters and "-".
    TStringList Interface;
    // ControlLines[n]: index in Lines of the first line of control n (the n
    // of its "I<n>" entry; a dropped control keeps its number here too).
    std::vector<int> ControlLines;
    bool ExeWindow = true;
    int View1Width = 8;          // 8 bytes or 16 words
    int View2Width = 8;
    int32_t Adapter = 0;
    TStringList UserWindow;      // raw lines of [USER WINDOW]

    // Problems found by the last LoadFromFile, one line each naming the file
    // and the line: menu entries beyond the 21st (ignored), lists and
    // controls cut short by the end of the file or malformed (ignored), and
    // a malformed statement that ends [DESCRIPTION] before lines that would
    // still follow. Parsing goes on as the format defines; the module loader
    // shows these to the user.
    TStringList Warnings;

    // A warning about line `lineIndex` (0-based) of the loaded file, worded
    // like those in Warnings; the module loader words its own findings so.
    std::string LineWarning(int lineIndex, const std::string& text) const;

private:
    int FindSection(const std::string& name) const;
    void ReadDescription();
    void ResetDescription();
    // Reads the statement at `line` and returns the line to read next;
    // `endReason` set means a malformed statement ends the section there.
    int ReadStatement(int line, std::string& endReason);
    void WarnUnreadDescription(int endLine, const std::string& endReason);
    void ReadMenu();
    void ReadInterface();
    void ReadUserWindow();
    void Warn(int lineIndex, const std::string& text);

    std::string fileName_;
};

// Quick reader of the first LOCATION statement of a module file, used when
// the chip tree is built from many modules. Empties `list` first; a missing
// file leaves it empty.
void ReadModuleLocation(const std::string& fileName, TStringList& list);
// The same reader on the bytes of a module file, for a caller that has
// found the file on the file system itself.
void ReadModuleLocationText(const std::string& bytes, TStringList& list);
