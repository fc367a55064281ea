#include "skin/acShellCtrls.h"
#include "skin/sSysHelpers.h"

#include <gtest/gtest.h>

namespace {

TItemIdList Items(std::initializer_list<int> sizes)
{
    TItemIdList out;
    for (int cb : sizes) {
        out.push_back(uint8_t(cb));
        out.push_back(uint8_t(cb >> 8));
        out.resize(out.size() + size_t(cb - 2), 'x');
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

} // namespace

TEST(ShellItems, SizesAndJoins)
{
    struct Case {
        const char* what;
        TItemIdList list;
        size_t size;
    } cases[] = {
        {"two items", Items({20, 14}), 36},
        {"none", Items({}), 2},
        {"empty buffer", {}, 0},
        {"item past the end", {40, 0, 'a', 'b', 0, 0}, 2},
        {"no terminator", {4, 0, 'a', 'b'}, 2},
        {"size below its own field", {1, 0, 0, 0}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ItemIdListSize(c.list), c.size) << c.what;
    TItemIdList joined = JoinItemIdLists(Items({20}), Items({14, 6}));
    EXPECT_EQ(ItemIdListSize(joined), 42u);
    EXPECT_EQ(joined.size(), 42u);
    EXPECT_EQ(JoinItemIdLists({}, Items({6})), Items({6}));
    EXPECT_EQ(NextItemId(Items({20, 14}), 0), 20u);
    EXPECT_EQ(AllocItemIdList(5), TItemIdList(5, 0));
    EXPECT_EQ(CloneItemIdList(Items({8})), Items({8}));
}

TEST(ShellItems, FoldersHoldPaths)
{
    acShellCtrlsInitialization();
    ASSERT_TRUE(DesktopShellFolder);
    EXPECT_EQ(DesktopShellFolder->Path(), "/");
    TacShellFolder home(nullptr, ItemIdListFromPath("/home/user"));
    EXPECT_EQ(home.Path(), "/home/user");
    EXPECT_EQ(home.Level(), 0);
    EXPECT_EQ(home.Parent(), DesktopShellFolder.get());
    TacShellFolder docs(&home, ItemIdListFromPath("docs"));
    EXPECT_EQ(docs.Path(), "/home/user/docs");
    EXPECT_EQ(docs.Level(), 1);
    TacShellFolder deeper(&docs, ItemIdListFromPath("a//b/"));
    EXPECT_EQ(deeper.Path(), "/home/user/docs/a/b");
    EXPECT_EQ(deeper.Level(), 2);
    acShellCtrlsFinalization();
    EXPECT_FALSE(DesktopShellFolder);
}

TEST(SkinPaths, AddPathDelimiter)
{
    struct Case {
        const char* in, *out;
    } cases[] = {{"", ""}, {"C", "C:\\"}, {"C:\\Skins\\", "C:\\Skins\\"}, {"C:/Skins/", "C:/Skins\\"},
                 {"Skins", "Skins\\"}};
    for (const Case& c : cases)
        EXPECT_EQ(AddPathDelimiter(c.in), c.out) << c.in;
}
