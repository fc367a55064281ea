// Any language file is listed or skipped, and a listed one loads into exactly
// one table's worth of texts and messages.
#include "app/uLoadLanguages.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static testsupport::TempDir dir;
    static const bool made = std::filesystem::create_directory(dir.file("Languages"));
    (void)made;
    SetProgramFolder(dir.path());
    testsupport::WriteFileBytes(dir.file("Languages/x.lng"), std::string(reinterpret_cast<const char*>(data), size));
    LanguageTexts.Clear();
    MessageTexts.Clear();
    ScanLanguageFiles();
    if (LanguageList.Count() != 0 && LanguageList.Count() != 2)
        std::abort();
    if (LanguageList.Count() == 2) {
        if (!LoadLanguageFile(LanguageList[0]))
            std::abort();
        if (LanguageTexts.Count() != InterfaceTextEntryCount() || MessageTexts.Count() != MessageCount)
            std::abort();
    }
    return 0;
}
