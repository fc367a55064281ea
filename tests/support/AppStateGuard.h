#pragma once
// The whole program's program-wide state (ResetAppState) for one app test.
// See StateGuard.h.
#include "StateGuard.h"
#include "app/AppState.h"

namespace testsupport {

using TAppStateGuard = TStateGuard<ResetAppState>;

} // namespace testsupport
