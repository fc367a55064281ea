#pragma once
// The keys of the settings file and the variables behind them, for the
// settings reader and writer. The variables themselves are declared in
// Global.h.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

enum TSettingFlags : unsigned {
    sfReadOnly = 1,             // read at start, never written back
    sfUnder20ReadsAsDefault = 2, // a stored value under 20 reads as the default
    sfProgramFolderDefault = 4, // the default is the program folder, known only at run time
};

struct TSetting {
    const char* Section;
    const char* Key;
    // Integers are stored in decimal; a Boolean reads true from any non-zero
    // value; the option word is stored as its signed 32-bit value.
    std::variant<int32_t*, uint32_t*, bool*, std::string*> Variable;
    int32_t IntegerDefault;
    std::string TextDefault;
    unsigned Flags;
};

// Every key with a variable, in the order they are written to a new file.
// The defaults are the variables' initial values.
extern const std::vector<TSetting> SettingsTable;

// Every variable of the table back to its initial value (the save folder
// empty, as before the settings are loaded) and both recent-file lists
// emptied.
void RestoreDefaultSettings();
