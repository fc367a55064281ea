// The layout files beside the program are left by earlier runs, perhaps cut
// short or edited by hand: any bytes must read without crashing, and what
// reads as a site must write back and read again the same.
#include "app/MainDock.h"

#include "TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const testsupport::TempDir dir;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string site = dir.file(LeftLayoutFile);
    testsupport::WriteFileBytes(site, bytes);
    if (const auto panels = ReadDockSite(site)) {
        if (!WriteDockSite(site, *panels))
            std::abort();
        const auto again = ReadDockSite(site);
        if (panels->empty() ? again.has_value() : (!again || again->size() != panels->size()))
            std::abort();
        for (size_t i = 0; again && i < again->size(); ++i)
            if ((*again)[i].Name != (*panels)[i].Name || (*again)[i].Height != (*panels)[i].Height)
                std::abort();
    }

    const std::string ini = dir.file(LayoutIniFile);
    testsupport::WriteFileBytes(ini, bytes);
    const TDockSizes sizes = ReadDockSizes(ini);
    if (sizes.LeftWidth < 40 || sizes.RightWidth < 40 || sizes.FileInfoHeight < 40 || sizes.CalcInfoHeight < 40)
        std::abort();
    if (!WriteDockSizes(ini, sizes.LeftWidth, sizes.RightWidth, sizes.FileInfoHeight, sizes.CalcInfoHeight))
        std::abort();
    const TDockSizes again = ReadDockSizes(ini);
    if (again.LeftWidth != sizes.LeftWidth || again.RightWidth != sizes.RightWidth ||
        again.FileInfoHeight != sizes.FileInfoHeight || again.CalcInfoHeight != sizes.CalcInfoHeight)
        std::abort();
    return 0;
}
