#include "skin/sSysHelpers.h"

#include "platform/Paths.h"
#include "platform/Pump.h"

std::string AddPathDelimiter(const std::string& path)
{
    if (path.empty() || path.back() == '\\')
        return path;
    if (path.back() == '/')
        return path.substr(0, path.size() - 1) + "\\";
    if (path.size() == 1)
        return path + ":\\";
    return path + "\\";
}

std::string GetAppFolder()
{
    return ProgramFolder() + "/";
}

void DelayWithMessages(int ms)
{
    PumpMessages();
    PumpingSleep(ms);
}
