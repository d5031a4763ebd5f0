// Threads of the device.
#pragma once

#include "platform/types.h"

// Ends the calling thread with the exit code. The process's first thread ending ends the
// process with that code, as on the device when its main thread returns from WinMain.
[[noreturn]] void ExitThread(DWORD exitCode);
