#include "clock_output.h"

#include <algorithm>

#include "platform/device.h"

namespace platform {

ClockOutput::ClockOutput(uint32_t framesPerSecond, uint32_t bytesPerFrame)
    : framesPerSecond_(framesPerSecond), bytesPerFrame_(bytesPerFrame), anchorMs_(DeviceNowMs()) {}

uint64_t ClockOutput::FramesPlayed(uint64_t nowMs) const {
  uint64_t elapsedFrames = (nowMs - anchorMs_) * framesPerSecond_ / 1000;
  return std::min(framesQueued_, anchorFrame_ + elapsedFrames);
}

uint64_t ClockOutput::Queue(const uint8_t*, uint32_t bytes) {
  uint64_t now = DeviceNowMs();
  // After running dry, playback starts again with the new frames, not back in the past.
  if (FramesPlayed(now) == framesQueued_) {
    anchorFrame_ = framesQueued_;
    anchorMs_ = now;
  }
  framesQueued_ += bytes / bytesPerFrame_;
  return framesQueued_ * bytesPerFrame_;
}

uint64_t ClockOutput::BytesPlayed() {
  return FramesPlayed(DeviceNowMs()) * bytesPerFrame_;
}

void ClockOutput::DropQueued() {
  anchorFrame_ = framesQueued_;
  anchorMs_ = DeviceNowMs();
}

int64_t ClockOutput::HostNsUntilPlayed(uint64_t position) {
  uint64_t targetFrame = (position + bytesPerFrame_ - 1) / bytesPerFrame_;
  uint64_t framesAfterAnchor = targetFrame > anchorFrame_ ? targetFrame - anchorFrame_ : 0;
  uint64_t dueMs = anchorMs_ + (framesAfterAnchor * 1000 + framesPerSecond_ - 1) / framesPerSecond_;
  uint64_t now = DeviceNowMs();
  // The device clock counts whole milliseconds: wait at least one so that waiting never spins.
  return DeviceToHostNs(dueMs > now ? dueMs - now : 1);
}

}  // namespace platform
