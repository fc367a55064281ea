#include "skin/acSkinFolder.h"

#include "TestSupport.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

TEST(SkinFolder, FullSkinDirectory)
{
    struct Case {
        const char* dir, *full;
    } cases[] = {
        {"..\\Skins", "/apps/Skins"},       {"../Skins", "/apps/Skins"},   {".\\Skins", "/apps/tool/Skins"},
        {"./Skins/Dark", "/apps/tool/Skins/Dark"}, {"Skins", "/apps/tool/Skins"}, {"/srv/skins", "/srv/skins"},
        {"D:\\Skins", "D:\\Skins"},          {"\\\\server\\share", "\\\\server\\share"}, {"", "/apps/tool"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetFullSkinDirectory(c.dir, "/apps/tool/"), c.full) << c.dir;
}

TEST(SkinFolder, ListedNamesLoadFromTheSameFolder)
{
    testsupport::TempDir dir;
    ForceDirectories(dir.file("Blue"));
    testsupport::WriteFileBytes(dir.file("Blue/Options.dat"), "[GLOBALINFO]");
    ForceDirectories(dir.file("NoOptions"));
    ForceDirectories(dir.file(".Hidden"));
    testsupport::WriteFileBytes(dir.file(".Hidden/Options.dat"), "");
    for (const char* f : {"Blue.old.asz", "Red.asz", "Green.ASZ", ".x.asz", "notes.txt"})
        testsupport::WriteFileBytes(dir.file(f), "x");
    struct Case {
        TacSkinTypes types;
        std::vector<std::string> names;
    } cases[] = {
        {stUnpacked, {"Blue"}},
        {stPacked, {"Blue.old", "Red"}},
        {stAllSkins, {"Blue", "Blue.old", "Red"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetSkinNames(dir.path(), c.types), c.names) << c.types;
    for (const std::string& name : GetSkinNames(dir.path(), stPacked))
        EXPECT_TRUE(FileExists(PackedSkinFile(dir.path(), name))) << name;
    EXPECT_TRUE(GetSkinNames(dir.file("missing"), stAllSkins).empty());
}

TEST(SkinFolder, SaturationIsHeldInRange)
{
    struct Case {
        int setting, amount;
    } cases[] = {{0, 0}, {50, -50}, {-50, 50}, {100, -100}, {-150, 100}, {150, -100}, {-101, 100}};
    for (const Case& c : cases)
        EXPECT_EQ(SkinSaturationAmount(c.setting), c.amount) << c.setting;
}
