#include "play_wave.h"

#include <chrono>

#include "platform/device.h"

namespace platform {
namespace {

// The sound's own length plus a generous margin, in device time: a device that stops playing
// must not hang the caller.
uint64_t PlaybackLimitMs(const WaveImage& image) {
  uint64_t frames = image.dataBytes / image.format.nBlockAlign;
  return frames * 1000 / image.format.nSamplesPerSec * 2 + 2000;
}

}  // namespace

std::unique_ptr<WavePlayback> WavePlayback::Start(std::span<const uint8_t> bytes) {
  std::optional<WaveImage> image = ParseWaveImage(bytes);
  if (!image) return nullptr;
  std::unique_ptr<WavePlayback> playback(new WavePlayback(*image));
  if (waveOutOpen(&playback->device_, WAVE_MAPPER, &image->format,
                  reinterpret_cast<DWORD_PTR>(&OnWaveOutMessage),
                  reinterpret_cast<DWORD_PTR>(playback.get()),
                  CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
    return nullptr;
  }
  // The device only reads the samples; the header type merely has no const.
  WAVEHDR& header = playback->header_;
  header.lpData = const_cast<LPSTR>(reinterpret_cast<const char*>(image->data));
  header.dwBufferLength = image->dataBytes;
  waveOutPrepareHeader(playback->device_, &header, sizeof header);
  waveOutWrite(playback->device_, &header, sizeof header);
  return playback;
}

WavePlayback::WavePlayback(const WaveImage& image) : image_(image) {}

WavePlayback::~WavePlayback() {
  if (!device_) return;
  waveOutReset(device_);
  waveOutUnprepareHeader(device_, &header_, sizeof header_);
  waveOutClose(device_);
}

void WavePlayback::WaitUntilPlayed(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  auto limit = std::chrono::nanoseconds(DeviceToHostNs(PlaybackLimitMs(image_)));
  played_.wait_for(lock, stop, limit, [&] { return done_; });
}

void WavePlayback::OnWaveOutMessage(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR,
                                    DWORD_PTR) {
  if (message != MM_WOM_DONE) return;
  auto* playback = reinterpret_cast<WavePlayback*>(instance);
  std::lock_guard lock(playback->mutex_);
  playback->done_ = true;
  playback->played_.notify_all();
}

bool PlayWaveImage(std::span<const uint8_t> image) {
  std::unique_ptr<WavePlayback> playback = WavePlayback::Start(image);
  if (!playback) return false;
  playback->WaitUntilPlayed();
  return true;
}

}  // namespace platform
