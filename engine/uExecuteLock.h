#pragma once
// While a module procedure runs, the run owns the programmer link. Every
// other window that opens the link (About box, pin tester, hardware test)
// asks here first: an open of its own would close the link under the
// running procedure.
#include <string>

bool RunInProgress();

// Marks a run for its lifetime; runs do not nest.
class TRunLock {
public:
    TRunLock();
    ~TRunLock();
    TRunLock(const TRunLock&) = delete;
    TRunLock& operator=(const TRunLock&) = delete;
};

// The text of the box that refuses the link to another window.
std::string RunInProgressText();

// For a window about to open the link: false, after a warning box, while a
// run is in progress; true when the link is free.
bool LinkFreeForWindow();
