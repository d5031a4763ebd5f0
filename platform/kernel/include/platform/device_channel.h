// Datagrams between the processes of one device: every joined process listens on an abstract
// Unix datagram socket named after the device home and its pid. Datagrams from one sender arrive
// in the order sent. Thread messages travel this way (platform/thread_queue.h); other areas
// register a handler for their own kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/types.h"

namespace platform {

enum class ChannelKind : uint32_t {
  ThreadMessage = 1,
  LineEvent = 2,
};

using ChannelHandler = std::function<void(std::span<const std::byte> payload)>;
void SetChannelHandler(ChannelKind kind, ChannelHandler handler);

// Sends one datagram to a joined process of this device; false when it cannot be reached.
bool SendToDeviceProcess(DWORD processId, ChannelKind kind, std::span<const std::byte> payload);

// Opens this process's socket and starts its listener (JoinDevice does this).
void StartChannelListener();

}  // namespace platform
