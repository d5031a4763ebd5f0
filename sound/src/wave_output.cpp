#include "sound/wave_output.h"

#include <cstring>

#include "machine/alloc.h"
#include "platform/device.h"

namespace sound {
namespace {

constexpr uint32_t kFramesPerSecond = 60;
constexpr uint64_t kDrainMs = 800;

}  // namespace

int HeaderCompletedBy(int newSlot) {
  if (newSlot % kFramesPerHeader != 0) return -1;
  return (newSlot / kFramesPerHeader + kWaveHeaders - 1) % kWaveHeaders;
}

void WaveOpen(uint32_t rate, uint32_t bits, uint32_t channels) {
  FrameBytes = rate / kFramesPerSecond * (bits / 8) * channels;
  WaveRing = static_cast<uint8_t*>(machine::AllocZeroed(kRingFrames * FrameBytes));

  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels);
  format.nSamplesPerSec = rate;
  format.nAvgBytesPerSec = rate * bits / 8 * channels;
  format.nBlockAlign = static_cast<WORD>(bits / 8 * channels);
  format.wBitsPerSample = static_cast<WORD>(bits);
  format.cbSize = 0;
  WaveDevice = nullptr;
  if (waveOutOpen(&WaveDevice, 0, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    WaveDevice = nullptr;

  const uint32_t headerBytes = kFramesPerHeader * FrameBytes;
  for (int k = 0; k < kWaveHeaders; ++k) {
    WAVEHDR& header = WaveHeaders[k];
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(WaveRing + k * headerBytes);
    header.dwBufferLength = headerBytes;
    header.dwUser = reinterpret_cast<DWORD_PTR>(&header);
    std::memset(header.lpData, 0, headerBytes);
    waveOutPrepareHeader(WaveDevice, &header, sizeof header);
  }
  RingSlot = 0;
  for (WAVEHDR& header : WaveHeaders) waveOutWrite(WaveDevice, &header, sizeof header);
}

void WaveAdvance() {
  RingSlot = (RingSlot + 1) % kRingFrames;
  const int header = HeaderCompletedBy(RingSlot);
  if (header < 0) return;
  // Production ran a whole ring ahead of playback: the header is still queued, so this
  // submission is skipped rather than queueing the same buffer twice.
  if (WaveHeaders[header].dwFlags & WHDR_INQUEUE) return;
  waveOutWrite(WaveDevice, &WaveHeaders[header], sizeof(WAVEHDR));
}

void WaveClose() {
  // Lets the queued sound play out; without a device there is nothing to wait for.
  if (WaveDevice) platform::DeviceSleepMs(kDrainMs);
  waveOutReset(WaveDevice);
  for (WAVEHDR& header : WaveHeaders) waveOutUnprepareHeader(WaveDevice, &header, sizeof header);
  waveOutClose(WaveDevice);
  WaveDevice = nullptr;
  machine::FreeBlock(WaveRing);
  WaveRing = nullptr;
}

}  // namespace sound
