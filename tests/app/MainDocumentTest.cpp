// The chip document a module names: only plain files of the DOC folder,
// never a way out of it and never something that runs.
#include "app/MainDocument.h"

#include "TestSupport.h"

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

TEST(ChipDocumentPath, NoDocFolderNoDocument)
{
    testsupport::TempDir dir;
    WriteFileBytes(dir.file("24c02.pdf"), "%PDF");
    EXPECT_EQ(ChipDocumentPath(dir.path(), "!24c02.pdf"), "");
}

} // namespace
