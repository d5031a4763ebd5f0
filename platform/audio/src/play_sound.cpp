#include <condition_variable>
#include <mutex>

#include "platform/audio.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "play_wave.h"
#include "riff_wave.h"

namespace platform {
namespace {

struct PlaybackDone {
  std::mutex mutex;
  std::condition_variable signal;
  bool done = false;
};

void OnWaveOutMessage(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
  if (message != MM_WOM_DONE) return;
  auto* playback = reinterpret_cast<PlaybackDone*>(instance);
  std::lock_guard lock(playback->mutex);
  playback->done = true;
  playback->signal.notify_all();
}

// The sound's own length plus a generous margin, in device time: a device that stops playing
// must not hang the caller.
uint64_t PlaybackLimitMs(const WaveImage& image) {
  uint64_t frames = image.dataBytes / image.format.nBlockAlign;
  return frames * 1000 / image.format.nSamplesPerSec * 2 + 2000;
}

}  // namespace

bool PlayWaveImage(std::span<const uint8_t> bytes) {
  std::optional<WaveImage> image = ParseWaveImage(bytes);
  if (!image) return false;
  PlaybackDone playback;
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &image->format,
                  reinterpret_cast<DWORD_PTR>(OnWaveOutMessage),
                  reinterpret_cast<DWORD_PTR>(&playback), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
    return false;
  }
  // The device only reads the samples; the header type merely has no const.
  WAVEHDR header{};
  header.lpData = const_cast<LPSTR>(reinterpret_cast<const char*>(image->data));
  header.dwBufferLength = image->dataBytes;
  waveOutPrepareHeader(device, &header, sizeof header);
  waveOutWrite(device, &header, sizeof header);
  {
    std::unique_lock lock(playback.mutex);
    playback.signal.wait_for(lock,
                             std::chrono::nanoseconds(DeviceToHostNs(PlaybackLimitMs(*image))),
                             [&] { return playback.done; });
  }
  waveOutReset(device);
  waveOutUnprepareHeader(device, &header, sizeof header);
  waveOutClose(device);
  return true;
}

}  // namespace platform

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
  if (sound == nullptr) return TRUE;
  bool fromResource = (flags & SND_RESOURCE) == SND_RESOURCE;
  if (!fromResource || (flags & (SND_ASYNC | SND_LOOP | SND_ALIAS | SND_FILENAME))) return FALSE;
  HRSRC resource = FindResourceW(module, sound, u"WAVE");
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  if (!loaded) return FALSE;
  auto* image = static_cast<const uint8_t*>(LockResource(loaded));
  return platform::PlayWaveImage({image, SizeofResource(module, resource)}) ? TRUE : FALSE;
}
