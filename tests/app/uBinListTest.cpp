#include "app/uBinList.h"

#include "buffer/FileServ.h"

#include "AppStateGuard.h"
#include "TestSupport.h"
#include "engine/Global.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(DumpNote, ChipNameOfTheFirstLine)
{
    const struct {
        const char* line;
        const char* chip;
    } cases[] = {
        {"CHIP=24C02", "24C02"},
        // The blank after "=" is no part of the name: with it the name
        // never matched a chip.
        {"chip= 27c256 ", "27C256"},
        {"Chip=Serial EEPROM\\I2C\\24c16", "SERIAL EEPROM\\I2C\\24C16"},
        {"CHIPSET=x", ""},
        {"CHIP=", ""},
        {"CHIP=   ", ""},
        {"", ""},
        {"The chip is 24C02", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoteChipName(c.line), c.chip) << c.line;
}

TEST(DumpNote, ChipOfANoteMatchesTheWholeEntryThenTheLastLevelIgnoringCase)
{
    TStringList chips;
    for (const char* e : {"EEPROM\\I2C\\24C02", "Flash\\25F10", "Other\\24C02", "24C04"})
        chips.Add(e);
    const struct {
        const char* name;
        const char* entry;
    } cases[] = {
        {"EEPROM\\I2C\\24C02", "EEPROM\\I2C\\24C02"},
        {"OTHER\\24C02", "Other\\24C02"}, // the whole entry wins over the first namesake
        {"24C02", "EEPROM\\I2C\\24C02"},  // else the first last level
        {"25f10", "Flash\\25F10"},
        {"24c04", "24C04"},
        {"27C256", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindNoteChip(chips, c.name), c.entry) << c.name;
}

class BinListFiles : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.path()); }
    void Write(const std::string& name, const std::string& bytes = "x")
    {
        std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
        testsupport::WriteFileBytes(dir.file(name), bytes);
    }

    testsupport::TAppStateGuard state;
    testsupport::TempDir dir;
};

TEST_F(BinListFiles, LibraryRootFallsBackToDumpsAndLosesItsBackslash)
{
    std::filesystem::create_directories(dir.file("lib"));
    const struct {
        std::string stored, root;
    } cases[] = {
        {"", dir.path() + "\\Dumps"},
        {dir.file("missing") + "\\", dir.path() + "\\Dumps"},
        {dir.file("lib") + "\\", dir.file("lib")},
        {dir.file("lib"), dir.file("lib")},
    };
    for (const auto& c : cases) {
        LibraryFolder = c.stored;
        EXPECT_EQ(LibraryRoot(), c.root) << c.stored;
    }
}

TEST_F(BinListFiles, ChoosingADumpFindsItsNoteAndPicture)
{
    // Namesakes in two folders: each choice shows its own note and picture.
    Write("a/dump.bin");
    Write("a/dump.jpg");
    Write("b/dump.bin");
    Write("b/dump.bmp");
    Write("b/dump.jpg");
    const TBinListChoice a = ChooseLibraryNode(dir.file("a") + "\\dump.bin");
    EXPECT_EQ(a.DumpFile, dir.file("a") + "\\dump.bin");
    EXPECT_EQ(a.DescriptionFile, dir.file("a") + "\\dump.txt");
    EXPECT_EQ(a.PictureFile, dir.file("a") + "\\dump.jpg");
    // .bmp is preferred.
    EXPECT_EQ(ChooseLibraryNode(dir.file("b") + "\\dump.bin").PictureFile, dir.file("b") + "\\dump.bmp");
    // A folder is no dump.
    const TBinListChoice folder = ChooseLibraryNode(dir.file("a"));
    EXPECT_EQ(folder.DumpFile, "");
    EXPECT_EQ(folder.DescriptionFile, "");
}

TEST_F(BinListFiles, NotesReadAndWrittenLineByLine)
{
    TStringList lines;
    lines.Add("CHIP=24C02");
    lines.Add("Read from a TV set");
    ASSERT_TRUE(WriteDumpNote(dir.file("n.txt"), lines));
    const TStringList back = ReadDumpNote(dir.file("n.txt"));
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back[0], "CHIP=24C02");
    EXPECT_EQ(back[1], "Read from a TV set");
    EXPECT_EQ(ReadDumpNote(dir.file("none.txt")).Count(), 0);
    EXPECT_FALSE(WriteDumpNote(dir.file("no/such/folder/n.txt"), lines));
}

TEST(BinListNames, RelativePathsExtensionsAndFolderNames)
{
    EXPECT_EQ(LibraryRelativePath("/lib", "/lib\\sub\\x.bin"), "sub\\x.bin");
    EXPECT_EQ(LibraryRelativePath("/lib", "/LIB\\x.bin"), "x.bin");
    EXPECT_EQ(LibraryRelativePath("/lib", "/other\\x.bin"), "");
    EXPECT_EQ(LibraryRelativePath("/lib", "/lib\\"), "");
    EXPECT_EQ(SettleSaveName("/lib\\x", LibrarySaveFilter, 2), "/lib\\x.bin");
    EXPECT_EQ(SettleSaveName("/lib\\x.bin", LibrarySaveFilter, 1), "/lib\\x.bin");
    EXPECT_EQ(SettleSaveName("/lib\\fw_v1.2", LibrarySaveFilter, 2), "/lib\\fw_v1.2.bin");
    // "." and ".." name the folder and its parent, which exist already.
    for (const char* bad : {"a/b", "a\\b", "c:", "d;", "e\"f", ".", "..", "../up", "a/.."})
        EXPECT_FALSE(FolderNameAllowed(bad)) << bad;
    for (const char* good : {"TV sets", "24C02-dumps", "x.y", "...", ".hidden"})
        EXPECT_TRUE(FolderNameAllowed(good)) << good;
}

TEST_F(BinListFiles, WhatANotesNameHolds)
{
    std::filesystem::create_directories(dir.file("folder.txt"));
    std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling.txt"));
    const struct {
        const char* name;
        const char* bytes; // nullptr: nothing written
        TNoteFileKind kind;
    } cases[] = {
        {"note.txt", "CHIP=24C02\r\nFrom a TV set\r\n", TNoteFileKind::Note},
        {"lower.txt", "chip= 27c256\r\n", TNoteFileKind::Note},
        {"editor.txt", "CHIP=Editor", TNoteFileKind::Note},
        {"readme.txt", "Read me first\r\nCHIP=24C02\r\n", TNoteFileKind::Other},
        {"chipset.txt", "CHIPSET=x\r\n", TNoteFileKind::Other},
        {"blank.txt", " CHIP=24C02\r\n", TNoteFileKind::Other},
        {"empty.txt", "", TNoteFileKind::Other},
        {"short.txt", "CHIP", TNoteFileKind::Other},
        {"folder.txt", nullptr, TNoteFileKind::Other},
        {"dangling.txt", nullptr, TNoteFileKind::Other},
        {"missing.txt", nullptr, TNoteFileKind::Missing},
    };
    for (const auto& c : cases) {
        if (c.bytes)
            Write(c.name, c.bytes);
        EXPECT_EQ(NoteFileKind(dir.file(c.name)), c.kind) << c.name;
    }
}

TEST_F(BinListFiles, ANewFolderIsNamedAsTyped)
{
    // Names outside code page 1251 come from the edit marked (QStringToPath)
    // and reach the file system as typed: "Ωmega" and "Σmega" are two
    // folders, and a name that differs from an existing one only in case is
    // a folder of its own.
    std::filesystem::create_directories(dir.file("Dumps/tv"));
    const std::string parent = dir.path() + "\\Dumps";
    const struct {
        const char* typed; // UTF-8, as the edit holds it
        std::string native;
    } cases[] = {
        {"Ωmega", dir.file("Dumps/Ωmega")}, {"Σmega", dir.file("Dumps/Σmega")}, {"中", dir.file("Dumps/中")},
        {"😀", dir.file("Dumps/😀")},         {"Папка", dir.file("Dumps/Папка")}, {"TV", dir.file("Dumps/TV")},
        {"tv", dir.file("Dumps/tv")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NewFolderNativePath(parent, QStringToPath(QString::fromUtf8(c.typed))), c.native) << c.typed;
}

} // namespace
