#include "engine/uExecuteLock.h"

#include "platform/MessageBox.h"

namespace {
bool running = false;
}

bool RunInProgress() { return running; }

TRunLock::TRunLock() { running = true; }

TRunLock::~TRunLock() { running = false; }

std::string RunInProgressText() { return "A device operation is running. Wait until it ends."; }

bool LinkFreeForWindow()
{
    if (!running)
        return true;
    ShowMessageBox(RunInProgressText(), "Tarku", MB_OK | MB_ICONWARNING);
    return false;
}
