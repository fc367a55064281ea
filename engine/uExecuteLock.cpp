#include "engine/uExecuteLock.h"

#include "engine/Engine.h"
#include "engine/LanguageTexts.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

bool running = false;

struct TObserverEntry {
    int Id;
    TRunObserver Observer;
};
std::vector<TObserverEntry> observers;
int lastObserverId = 0;

void NotifyObservers()
{
    // An observer may change the list: walk the ids as they were and skip
    // those gone meanwhile.
    std::vector<int> ids;
    for (const TObserverEntry& e : observers)
        ids.push_back(e.Id);
    for (int id : ids) {
        auto it = std::find_if(observers.begin(), observers.end(), [id](const TObserverEntry& e) { return e.Id == id; });
        if (it == observers.end())
            continue;
        // A copy: the entry may go while it runs.
        const TRunObserver observer = it->Observer;
        observer(running);
    }
}

} // namespace

bool RunInProgress() { return running; }

TRunLock::TRunLock()
{
    running = true;
    NotifyObservers();
}

TRunLock::~TRunLock()
{
    running = false;
    NotifyObservers();
}

int AddRunObserver(TRunObserver observer)
{
    observers.push_back({++lastObserverId, std::move(observer)});
    return lastObserverId;
}

void RemoveRunObserver(int id)
{
    std::erase_if(observers, [id](const TObserverEntry& e) { return e.Id == id; });
}

std::string RunInProgressText() { return "A device operation is running. Wait until it ends."; }

std::string LinkNotOpenText()
{
    if (UsbInUse())
        return UsbInUseText;
    const std::string missing = UsbOpenError();
    return MessageText(msgProgrammerNotPresent) + (missing.empty() ? std::string() : "\n" + missing);
}

bool LinkFreeForWindow()
{
    if (!running)
        return true;
    ShowMessageBox(RunInProgressText(), "Tarku", MB_OK | MB_ICONWARNING);
    return false;
}
