// The LineWatcher: a worker thread that owns the device's "Cellular Line" and tells the main
// thread about calls, only by posting WM_TALK_STARTED (a voice call became connected) and
// WM_TALK_ENDED (any call became disconnected).
#pragma once

#include "platform/types.h"

namespace callchime {

// Starts the thread with the id of the thread to post to. False when its stop event or thread
// cannot be made; telephony failures happen later, inside the thread, and only end it.
bool StartLineWatcher(DWORD mainThreadId);
// Asks the thread to end and waits up to 1 s, then gives up on it.
void StopLineWatcher();

}  // namespace callchime
