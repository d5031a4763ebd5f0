// The device's line provider: which lines the device has, and its calls.
//
// Lines: the file "lines" in the device home names one line per text line, in device order; with
// no such file the device has the one line "Cellular Line" (an empty file: no lines at all).
// Calls are kept in telephony/calls in the device home and driven from outside (the control
// tool): each change of a call's state is delivered to every process that has its line open and
// written to the device event log as "line<N> call <id> <state> <media>".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::telephony {

std::vector<std::u16string> ProfileLines();

struct CallRecord {
  uint32_t id;
  uint32_t line;
  uint32_t mediaMode;
  uint32_t state;
};

std::vector<CallRecord> ListCalls();

// A new call on the line reaches the connected state. Empty when the line does not exist.
std::optional<CallRecord> ConnectCall(uint32_t line, uint32_t mediaMode);
// A connected call (the given one, or the line's oldest) is disconnected and then idle; it is
// then gone. Empty when there is no such call.
std::optional<CallRecord> DisconnectCall(uint32_t line, std::optional<uint32_t> callId);

// Delivers one state change to the processes that have the line open; returns how many.
int DeliverCallState(const CallRecord& call);

// Processes that have the line open (for the provider's delivery).
void MarkLineOpen(uint32_t line, bool open);

std::string CallStateName(uint32_t state);
std::string MediaModeName(uint32_t mediaMode);

}  // namespace platform::telephony
