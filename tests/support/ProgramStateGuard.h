#pragma once
// The engine's program-wide state (engine/Global.h, ResetProgramState) for
// one test: at the program's start-up values while the guard lives, and
// put back there when it goes. See StateGuard.h.
#include "StateGuard.h"
#include "engine/Global.h"

namespace testsupport {

using TProgramStateGuard = TStateGuard<ResetProgramState>;

} // namespace testsupport
