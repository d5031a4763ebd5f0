// The service's private thread messages. The line watcher posts the talk messages to the
// service's main thread; the settings applet posts WM_SERVICE_QUIT to stop the service.
#pragma once

#include "platform/user.h"

namespace callchime {

inline constexpr UINT WM_TALK_STARTED = WM_USER + 1;  // a voice call became connected
inline constexpr UINT WM_TALK_ENDED = WM_USER + 2;    // a call became disconnected
inline constexpr UINT WM_SERVICE_QUIT = WM_USER + 3;  // end the service

}  // namespace callchime
