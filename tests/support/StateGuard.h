#pragma once
// A test's guard of program-wide state: the reset runs when the guard is
// built and again when it goes. Make it the fixture's first member, so it
// is built before and destroyed after everything that uses the state; a
// fixture whose link transport refers to its own members still drops the
// transport in its TearDown, while those members live. Each library level
// has its reset and its guard header (ProgramStateGuard.h for the engine,
// BufferStateGuard.h, AppStateGuard.h); a test includes the one of the
// highest library it links.

namespace testsupport {

template <void (*Reset)()>
class TStateGuard {
public:
    TStateGuard() { Reset(); }
    ~TStateGuard() { Reset(); }
    TStateGuard(const TStateGuard&) = delete;
    TStateGuard& operator=(const TStateGuard&) = delete;
};

} // namespace testsupport
