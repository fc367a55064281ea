#pragma once
// The engine's and the buffer library's program-wide state
// (ResetBufferState) for one test. See StateGuard.h.
#include "StateGuard.h"
#include "buffer/FileServ.h"

namespace testsupport {

using TBufferStateGuard = TStateGuard<ResetBufferState>;

} // namespace testsupport
