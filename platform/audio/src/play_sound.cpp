#include <mutex>
#include <thread>

#include "platform/audio.h"
#include "platform/resources.h"
#include "play_wave.h"

namespace platform {
namespace {

// The process's one sound started with SND_ASYNC; any later PlaySoundW stops it first, as on the
// device.
class AsyncSound {
 public:
  ~AsyncSound() { Stop(); }

  void Play(std::unique_ptr<WavePlayback> playback) {
    std::lock_guard lock(mutex_);
    StopLocked();
    player_ = std::jthread([playback = std::move(playback)](std::stop_token stop) {
      playback->WaitUntilPlayed(stop);
    });
  }

  void Stop() {
    std::lock_guard lock(mutex_);
    StopLocked();
  }

 private:
  void StopLocked() {
    if (!player_.joinable()) return;
    player_.request_stop();
    player_.join();
  }

  std::mutex mutex_;
  std::jthread player_;
};

AsyncSound& TheAsyncSound() {
  static AsyncSound sound;
  return sound;
}

}  // namespace
}  // namespace platform

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
  platform::AsyncSound& asyncSound = platform::TheAsyncSound();
  asyncSound.Stop();
  if (sound == nullptr) return TRUE;
  bool fromResource = (flags & SND_RESOURCE) == SND_RESOURCE;
  if (!fromResource || (flags & (SND_LOOP | SND_NOSTOP | SND_ALIAS | SND_FILENAME))) return FALSE;
  HRSRC resource = FindResourceW(module, sound, u"WAVE");
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  if (!loaded) return FALSE;
  std::span image(static_cast<const uint8_t*>(LockResource(loaded)),
                  SizeofResource(module, resource));
  std::unique_ptr<platform::WavePlayback> playback = platform::WavePlayback::Start(image);
  if (!playback) return FALSE;
  if (flags & SND_ASYNC) {
    asyncSound.Play(std::move(playback));
  } else {
    playback->WaitUntilPlayed();
  }
  return TRUE;
}
