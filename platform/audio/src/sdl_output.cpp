#include "sdl_output.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {

bool SdlAudioAvailable() {
  static const bool available = [] {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0)) {
      return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // -1 means the driver cannot list its devices; opening then decides.
    return SDL_GetNumAudioDevices(0) != 0;
  }();
  return available;
}

std::unique_ptr<SdlOutput> SdlOutput::Open(const WAVEFORMATEX& format) {
  if (!SdlAudioAvailable()) return nullptr;
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(format.nSamplesPerSec);
  wanted.format = format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  wanted.channels = static_cast<Uint8>(format.nChannels);
  wanted.samples = 1024;
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (device == 0) return nullptr;
  SDL_PauseAudioDevice(device, 0);
  return std::unique_ptr<SdlOutput>(
      new SdlOutput(device, format.nSamplesPerSec * format.nBlockAlign));
}

SdlOutput::SdlOutput(uint32_t deviceId, uint32_t bytesPerSecond)
    : deviceId_(deviceId), bytesPerSecond_(bytesPerSecond) {}

SdlOutput::~SdlOutput() {
  SDL_CloseAudioDevice(deviceId_);
}

uint64_t SdlOutput::Queue(const uint8_t* data, uint32_t bytes) {
  if (bytes > 0 && SDL_QueueAudio(deviceId_, data, bytes) != 0) {
    // SDL could not take the samples (out of memory): they are skipped, not waited for.
    return bytesQueued_;
  }
  return bytesQueued_ += bytes;
}

uint64_t SdlOutput::BytesPlayed() {
  uint64_t waiting = SDL_GetQueuedAudioSize(deviceId_);
  return bytesQueued_ - std::min(waiting, bytesQueued_);
}

void SdlOutput::DropQueued() {
  SDL_ClearQueuedAudio(deviceId_);
}

int64_t SdlOutput::HostNsUntilPlayed(uint64_t position) {
  uint64_t played = BytesPlayed();
  uint64_t remaining = position > played ? position - played : 0;
  int64_t ns = static_cast<int64_t>(remaining * 1'000'000'000 / bytesPerSecond_);
  // SDL reports progress only as its queue drains; look again often enough to stay in step.
  return std::clamp<int64_t>(ns, 1'000'000, 20'000'000);
}

}  // namespace platform
