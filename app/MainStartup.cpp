#include "app/MainStartup.h"

#include "app/uLanguage.h"
#include "app/uLoadLanguages.h"
#include "engine/ComUtils.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "vprog/VirtualUsb.h"

void StartLanguage()
{
    if (LanguageName.empty())
        LanguageName = DefaultLanguageName();
    SetUpLanguageTables(LanguageName);
}

void StartLink() { InstallUsbTransport(UsbPipeFolder); }

void StopLink()
{
    if (ComHandle != -1)
        CloseComPort(ComHandle);
    // A chip must not stay powered once the program has gone.
    if (UsbOutHandle >= 0)
        DevicePowerOff();
    CloseDevice();
    SetUsbTransport(nullptr);
    FreeHostMachine();
}

std::string CommandLineDump(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments.front().empty())
        return "";
    const std::string& name = arguments.front();
    return FileExists(NativePath(name)) ? name : "";
}

