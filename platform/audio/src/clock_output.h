// An output without sound: playback advances with the device clock at the format's rate, so a
// buffer of N frames completes N / rate device seconds after it started.
#pragma once

#include "audio_output.h"

namespace platform {

class ClockOutput : public AudioOutput {
 public:
  ClockOutput(uint32_t framesPerSecond, uint32_t bytesPerFrame);

  uint64_t Queue(const uint8_t* data, uint32_t bytes) override;
  uint64_t BytesPlayed() override;
  void DropQueued() override;
  int64_t HostNsUntilPlayed(uint64_t position) override;

 private:
  uint64_t FramesPlayed(uint64_t nowMs) const;

  uint32_t framesPerSecond_;
  uint32_t bytesPerFrame_;
  uint64_t framesQueued_ = 0;
  // Playback runs on from this frame, reached at this device time, while frames are queued.
  uint64_t anchorFrame_ = 0;
  uint64_t anchorMs_ = 0;
};

}  // namespace platform
