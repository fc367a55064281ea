#pragma once
// The program folder of a fuzz target's whole run: a temporary folder with
// an empty "scripts" folder, made and set on the first call.
#include "TestSupport.h"
#include "platform/Paths.h"

#include <filesystem>

namespace testsupport {

inline const TempDir& FuzzProgramFolder()
{
    static const TempDir dir;
    static const bool ready = [] {
        SetProgramFolder(dir.path());
        std::filesystem::create_directories(dir.file("scripts"));
        return true;
    }();
    (void)ready;
    return dir;
}

} // namespace testsupport
