#pragma once
// What the About box shows apart from its widgets: the program's version and
// the firmware information of the connected programmer.
#include "platform/StringList.h"

#include <cstdint>
#include <string>

// The program's version: four hexadecimal digits, the second one read as
// the decimal point.
constexpr uint16_t ProgramVersion = 0x1008;

// "1.08" for 0x1008.
std::string VersionText(uint16_t version);
// "Version 1.08": the version label.
std::string VersionLabelText(uint16_t version = ProgramVersion);

// The memo's only line when the programmer does not answer.
extern const char* const FirmwareNotAccessibleText;

// The firmware's information text, line by line, or the one line above.
// While a run holds the link the programmer is not asked (an open of its
// own would close the link under the run); otherwise the link is opened
// for the query and closed again.
TStringList FirmwareInfoLines();

// The two web pages of the About box: what each link label shows and the
// address it opens.
struct TAboutLink {
    const char* Caption;
    const char* Url;
};
extern const TAboutLink AboutHomeLink;    // lbURL
extern const TAboutLink AboutSupportLink; // HotLabel1
