// Plays a RIFF/WAVE file image through the wave output.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>

#include "platform/audio.h"
#include "riff_wave.h"

namespace platform {

class WavePlayback {
 public:
  // Opens the wave output for the image's format and starts playing its samples. Null, silently,
  // when the image cannot be parsed or no wave device plays its format. The image must outlive
  // the playback.
  static std::unique_ptr<WavePlayback> Start(std::span<const uint8_t> image);

  // Stops playback if it still runs and closes the device.
  ~WavePlayback();

  WavePlayback(const WavePlayback&) = delete;
  WavePlayback& operator=(const WavePlayback&) = delete;

  // Returns when the sound has played or a stop is requested.
  void WaitUntilPlayed(std::stop_token stop = {});

 private:
  explicit WavePlayback(const WaveImage& image);
  static void OnWaveOutMessage(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR);

  WaveImage image_;
  HWAVEOUT device_ = nullptr;
  WAVEHDR header_{};
  std::mutex mutex_;
  std::condition_variable_any played_;
  bool done_ = false;
};

// Plays the image to its end; false when it cannot be played.
bool PlayWaveImage(std::span<const uint8_t> image);

}  // namespace platform
