#include "app/About.h"

#include "engine/Engine.h"
#include "engine/uExecuteLock.h"
#include "platform/SysUtils.h"

const char* const FirmwareNotAccessibleText = "Firmware information is not accessible.";

const TAboutLink AboutHomeLink = {"tarku.example", "https://tarku.example/"};
const TAboutLink AboutSupportLink = {"tarku.example/support", "https://tarku.example/support/"};

std::string VersionText(uint16_t version)
{
    std::string digits = IntToHex(version, 4);
    digits[1] = '.';
    return digits;
}

std::string VersionLabelText(uint16_t version) { return "Version " + VersionText(version); }

TStringList FirmwareInfoLines()
{
    if (!LinkFreeForWindow())
        return {FirmwareNotAccessibleText};
    TStringList lines;
    const bool read = ReadFirmwareInfo(lines); // opens the link itself
    CloseDevice();
    if (!read)
        return {FirmwareNotAccessibleText};
    return lines;
}
