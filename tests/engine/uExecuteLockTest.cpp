// The run lock and its observers: told when a run starts and ends, in the
// order they registered, and free to unregister while being told.
#include "engine/uExecuteLock.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ExecuteLock, ObserversHearTheStartAndTheEnd)
{
    std::vector<std::string> heard;
    const int first = AddRunObserver([&](bool running) {
        heard.push_back(std::string("first ") + (running ? "on" : "off"));
        EXPECT_EQ(RunInProgress(), running);
    });
    const int second = AddRunObserver([&](bool running) { heard.push_back(std::string("second ") + (running ? "on" : "off")); });
    {
        TRunLock lock;
        EXPECT_TRUE(RunInProgress());
    }
    EXPECT_FALSE(RunInProgress());
    EXPECT_EQ(heard, (std::vector<std::string>{"first on", "second on", "first off", "second off"}));

    RemoveRunObserver(first);
    heard.clear();
    {
        TRunLock lock;
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"second on", "second off"}));
    RemoveRunObserver(second);
    RemoveRunObserver(second); // unknown ids are ignored
    {
        TRunLock lock;
    }
    EXPECT_EQ(heard.size(), 2u);
}

TEST(ExecuteLock, AnObserverMayUnregisterItselfAndOthersWhileTold)
{
    std::vector<std::string> heard;
    int self = 0, other = 0;
    self = AddRunObserver([&](bool) {
        heard.push_back("self");
        RemoveRunObserver(self);
        RemoveRunObserver(other);
    });
    other = AddRunObserver([&](bool) { heard.push_back("other"); });
    {
        TRunLock lock;
    }
    EXPECT_EQ(heard, std::vector<std::string>{"self"});
}

TEST(ExecuteLock, LinkRefusedToWindowsOnlyDuringARun)
{
    std::vector<std::string> boxes;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        boxes.push_back(text);
        return IDOK;
    });
    EXPECT_TRUE(LinkFreeForWindow());
    {
        TRunLock lock;
        EXPECT_FALSE(LinkFreeForWindow());
    }
    EXPECT_TRUE(LinkFreeForWindow());
    SetMessageBoxHandler(previous);
    EXPECT_EQ(boxes, std::vector<std::string>{RunInProgressText()});
}

} // namespace
