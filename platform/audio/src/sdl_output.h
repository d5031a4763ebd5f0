// Real sound through an SDL2 audio device. SDL converts the device's format (8-bit unsigned or
// 16-bit signed, mono or stereo, any rate) to what the host's hardware takes.
#pragma once

#include <memory>

#include "audio_output.h"
#include "platform/audio.h"

namespace platform {

// True when SDL has a real audio driver with devices. SDL's "dummy" and "disk" drivers count as
// no device: the first swallows sound, the second writes files of its own.
bool SdlAudioAvailable();

class SdlOutput : public AudioOutput {
 public:
  // Null when no device can be opened for the format.
  static std::unique_ptr<SdlOutput> Open(const WAVEFORMATEX& format);
  ~SdlOutput() override;

  uint64_t Queue(const uint8_t* data, uint32_t bytes) override;
  uint64_t BytesPlayed() override;
  void DropQueued() override;
  int64_t HostNsUntilPlayed(uint64_t position) override;

 private:
  SdlOutput(uint32_t deviceId, uint32_t bytesPerSecond);

  uint32_t deviceId_;
  uint32_t bytesPerSecond_;
  uint64_t bytesQueued_ = 0;
};

}  // namespace platform
