// Where an open wave device's samples go: a real audio device, or nowhere but paced by the device
// clock. Positions count bytes of the device's format since it was opened.
#pragma once

#include <cstdint>

namespace platform {

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Queues whole sample frames after everything queued so far; returns the position just past
  // them.
  virtual uint64_t Queue(const uint8_t* data, uint32_t bytes) = 0;

  // How far playback has got; never beyond what was queued.
  virtual uint64_t BytesPlayed() = 0;

  // Drops everything not yet played; afterwards all that was queued counts as played.
  virtual void DropQueued() = 0;

  // Host nanoseconds worth waiting before playback may have reached position; never 0.
  virtual int64_t HostNsUntilPlayed(uint64_t position) = 0;
};

}  // namespace platform
