// The service process: one copy per device, announced by its sound, running its message loop
// until WM_SERVICE_QUIT arrives.
#pragma once

#include "platform/types.h"

namespace callchime {

// Runs the service to its end; the exit code is always 0.
int RunService(HINSTANCE instance);

}  // namespace callchime
