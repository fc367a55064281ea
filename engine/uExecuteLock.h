#pragma once
// While a module procedure runs, the run owns the programmer link. Every
// other window that opens the link (About box, pin tester, hardware test)
// asks here first: an open of its own would close the link under the
// running procedure. Windows that disable their commands during a run
// observe the lock instead of each run telling them.
#include <functional>
#include <string>

bool RunInProgress();

// Marks a run for its lifetime; runs do not nest. Observers hear true when
// it is taken and false when it is released.
class TRunLock {
public:
    TRunLock();
    ~TRunLock();
    TRunLock(const TRunLock&) = delete;
    TRunLock& operator=(const TRunLock&) = delete;
};

// Called with RunInProgress() after it changed.
using TRunObserver = std::function<void(bool running)>;
// Registers an observer; the id given unregisters it. Observers are called
// in the order they registered; one may unregister itself or another while
// it is called, and an observer unregistered that way is not called again.
int AddRunObserver(TRunObserver observer);
void RemoveRunObserver(int id);

// The text of the box that refuses the link to another window.
std::string RunInProgressText();

// What the user is told after an OpenDevice that failed: that another
// program holds the programmer, else message 4 with what was missing.
std::string LinkNotOpenText();

// For a window about to open the link: false, after a warning box, while a
// run is in progress; true when the link is free.
bool LinkFreeForWindow();
