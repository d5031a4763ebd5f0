// A call's state change as it travels from the provider to a process with the line open.
#pragma once

#include <cstdint>

namespace platform::telephony {

struct LineEventWire {
  uint32_t line;
  uint32_t callId;
  uint32_t state;
  uint32_t mediaMode;
};

}  // namespace platform::telephony
