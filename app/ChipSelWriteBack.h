#pragma once
// Module defaults written back into a chip module file: the default supply
// voltage and the pin-test lines of its [DESCRIPTION] section, and the values
// of its parameter controls.
#include "app/MainDispatch.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The PINTEST text of a mask: character 1 is line 8, character 8 line 1;
// "1" tested, "0" not.
std::string PinTestText(uint8_t mask);

// Sets the VOLTAGE and PINTEST statements of a module file's [DESCRIPTION]
// section (found as the module reader finds it) to `voltage` (one of the
// module voltages, such as "4.0") and the text of `pinTestMask`, adding a
// statement the section lacks at its end. Every other byte of the file, and
// each line's own line end, stays as it was; the file is replaced only once
// the new text is written in full. A file outside the scripts folder, one
// without [DESCRIPTION], a voltage that is not a module voltage and a failed
// write change nothing and are reported in a message box; false then.
bool WriteModuleDefaults(const std::string& moduleFile, const std::string& voltage, uint8_t pinTestMask);

// What a write-back stores; what is left empty stays as the file has it.
struct TModuleDefaults {
    std::string Voltage;                // one of the module voltages ("5.0")
    std::optional<uint8_t> PinTestMask;
    // The parameter controls' values (WriteControlDefaults): the module must
    // then have the interface section the loader reads its controls from,
    // else nothing at all is written. A module without [DESCRIPTION] then
    // still gets its controls' values, only no voltage.
    std::optional<std::vector<TControlState>> Controls;
};
// The same as above for any of the three, with the same safety and reports.
bool WriteModuleDefaults(const std::string& moduleFile, const TModuleDefaults& defaults);
