// Confinement by where a path really leads: links and ".." resolved on
// both sides, folders compared part by part.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "platform/RealPath.h"

namespace {

namespace fs = std::filesystem;

TEST(RealPath, AFileIsInsideOnlyWhereItsPathReallyLeads)
{
    testsupport::TempDir dir;
    fs::create_directories(dir.file("Box/sub"));
    fs::create_directories(dir.file("Box2"));
    fs::create_directories(dir.file("outside"));
    for (const char* file : {"Box/a.txt", "Box/sub/b.txt", "Box2/c.txt", "outside/d.txt"})
        testsupport::WriteFileBytes(dir.file(file), "x");
    fs::create_symlink(dir.file("outside/d.txt"), dir.file("Box/out.txt"));
    fs::create_symlink(dir.file("Box/a.txt"), dir.file("Box/sub/in.txt"));
    fs::create_directory_symlink("../../", dir.file("Box/sub/up"));
    fs::create_directory_symlink(dir.file("Box/sub"), dir.file("Box/alias"));
    fs::create_symlink(dir.file("Box/nowhere"), dir.file("Box/dangling.txt"));
    fs::create_directory_symlink(dir.file("Box"), dir.file("BoxLink"));
    struct Case {
        const char* path;
        const char* folder;
        const char* real; // nullptr: not inside
    } cases[] = {
        {"Box/a.txt", "Box", "Box/a.txt"},
        {"Box/sub/b.txt", "Box", "Box/sub/b.txt"},
        {"Box/sub", "Box", "Box/sub"},
        {"Box", "Box", "Box"},
        {"Box/sub/in.txt", "Box", "Box/a.txt"},
        {"Box/alias/b.txt", "Box", "Box/sub/b.txt"},
        {"Box/sub/../a.txt", "Box", "Box/a.txt"},
        {"BoxLink/a.txt", "Box", "Box/a.txt"},
        {"Box/a.txt", "BoxLink", "Box/a.txt"},
        {"Box/out.txt", "Box", nullptr},
        {"Box/sub/up/outside/d.txt", "Box", nullptr},
        {"Box/sub/up/Box2/c.txt", "Box", nullptr}, // "Box2" begins with "Box"
        {"Box/../Box2/c.txt", "Box", nullptr},
        {"Box/dangling.txt", "Box", nullptr},
        {"Box/missing.txt", "Box", nullptr},
        {"Box/a.txt", "missing", nullptr},
    };
    const std::string root = fs::canonical(dir.path()).string();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " in " + c.folder);
        std::string real = "untouched";
        EXPECT_EQ(ResolvesInside(dir.file(c.path), dir.file(c.folder), &real), c.real != nullptr);
        EXPECT_EQ(real, c.real ? root + "/" + c.real : std::string("untouched"));
    }
    EXPECT_TRUE(ResolvesInside(dir.file("Box/a.txt"), dir.file("Box")));
}

} // namespace
