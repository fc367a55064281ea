#pragma once
// Program-wide state for one test: everything engine/Global.h holds starts
// at the program's start-up values and is put back there when the guard
// goes. Make it the fixture's first member, so it is built before and
// destroyed after everything that uses the state; a fixture whose link
// transport refers to its own members still drops the transport in its
// TearDown, while those members live. Header only: just the tests that
// link the engine include it.
#include "engine/Global.h"

namespace testsupport {

class TProgramStateGuard {
public:
    TProgramStateGuard() { ResetProgramState(); }
    ~TProgramStateGuard() { ResetProgramState(); }
    TProgramStateGuard(const TProgramStateGuard&) = delete;
    TProgramStateGuard& operator=(const TProgramStateGuard&) = delete;
};

} // namespace testsupport
