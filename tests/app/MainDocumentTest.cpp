// What a module's picture entry names: a picture of the bmps folder, or a
// chip document, which must be a plain file of the DOC folder, never a way
// out of it and never something that runs.
#include "app/MainDocument.h"

#include "TestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testsupport::WriteFileBytes;

TEST(ChipDocumentPath, OnlyDocumentsInsideTheDocFolder)
{
    testsupport::TempDir dir;
    fs::create_directories(dir.file("doc/sub"));
    WriteFileBytes(dir.file("doc/24c02.pdf"), "%PDF");
    WriteFileBytes(dir.file("doc/sub/inner.pdf"), "%PDF");
    WriteFileBytes(dir.file("secret.txt"), "secret");
    WriteFileBytes(dir.file("doc/tool.sh"), "#!/bin/sh\n");
    ::chmod(dir.file("doc/tool.sh").c_str(), 0755);
    WriteFileBytes(dir.file("doc/start.desktop"), "[Desktop Entry]\n");
    fs::create_symlink(dir.file("secret.txt"), dir.file("doc/away.txt"));
    fs::create_symlink(dir.file("doc/24c02.pdf"), dir.file("doc/alias.pdf"));
    const std::string pdf = fs::canonical(dir.file("doc/24c02.pdf")).string();

    const struct {
        const char* Entry;
        std::string Path;
    } cases[] = {
        {"!24c02.pdf", pdf},
        {"!24C02.PDF", pdf}, // names are matched without regard to case
        {"!alias.pdf", pdf}, // a link that stays inside
        {"24c02.pdf", ""},   // a picture, no document
        {"!", ""},
        {"!..\\secret.txt", ""},
        {"!../secret.txt", ""},
        {"!..", ""},
        {"!sub\\inner.pdf", ""},
        {"!sub/inner.pdf", ""},
        {"!sub", ""},         // a folder
        {"!away.txt", ""},    // a link that leads out
        {"!tool.sh", ""},     // would run
        {"!start.desktop", ""},
        {"!missing.pdf", ""},
        {"!c:24c02.pdf", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChipDocumentPath(dir.path(), c.Entry), c.Path) << c.Entry;
}

TEST(ChipPicturePath, AnExistingPictureOfTheBmpsFolder)
{
    testsupport::TempDir dir;
    fs::create_directories(dir.file("BMPS/eeprom"));
    WriteFileBytes(dir.file("BMPS/24c02.bmp"), "BM");
    WriteFileBytes(dir.file("BMPS/eeprom/24c04.jpg"), "JPG");
    WriteFileBytes(dir.file("BMPS/!24c02.bmp"), "BM");
    const std::string bmps = dir.path() + "\\bmps\\";
    const struct {
        const char* Entry;
        std::string Path;
    } cases[] = {
        {"24c02.bmp", bmps + "24c02.bmp"},
        {"24C02.BMP", bmps + "24C02.BMP"}, // found without regard to case
        {"eeprom\\24c04.jpg", bmps + "eeprom\\24c04.jpg"},
        {"", ""},
        {"!24c02.bmp", ""}, // a document, whatever lies in bmps
        {"missing.bmp", ""},
        {"eeprom", ""},     // a folder
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChipPicturePath(dir.path(), c.Entry), c.Path) << c.Entry;
        if (!c.Path.empty())
            EXPECT_TRUE(fs::is_regular_file(NativePath(c.Path))) << c.Entry;
    }
}

TEST(ChipDocumentPath, NoDocFolderNoDocument)
{
    testsupport::TempDir dir;
    WriteFileBytes(dir.file("24c02.pdf"), "%PDF");
    EXPECT_EQ(ChipDocumentPath(dir.path(), "!24c02.pdf"), "");
}

} // namespace
