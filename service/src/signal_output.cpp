#include "signal_output.h"

#include <atomic>

#include "platform/audio.h"
#include "platform/devices.h"
#include "platform/kernel.h"
#include "wave_image.h"

namespace callchime {
namespace {

// Driver messages of the device's wave driver.
constexpr UINT kSelectGainClass = 0x400;  // argument 2: the secondary gain class
constexpr UINT kForceSpeaker = 0x402;     // argument 1: output to the loudspeaker
constexpr DWORD kFullVolumeMono = 0xFFFF;
constexpr DWORD kPlaybackWaitMs = 2000;
constexpr DWORD kVibrationMs = 400;
constexpr UINT kVibratorLed = 1;
WCHAR kBacklight[] = u"BKL1:";

// Set by the wave callback, which runs on a thread of the wave device and can reach nothing else.
std::atomic<HANDLE> playbackDone{nullptr};

void WaveCallback(HWAVEOUT, UINT message, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  if (message == MM_WOM_DONE) SetEvent(playbackDone.load());
}

void SetVibrator(int offOnBlink) {
  NLED_SETTINGS_INFO settings{};
  settings.LedNum = kVibratorLed;
  NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &settings);
  settings.OffOnBlink = offOnBlink;
  NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings);
}

void PlayImage(const WaveImage& image, bool keepVolume, bool forceSpeaker) {
  WAVEFORMATEX format{image.format.formatTag,
                      image.format.channels,
                      image.format.samplesPerSec,
                      image.format.avgBytesPerSec,
                      image.format.blockAlign,
                      image.format.bitsPerSample,
                      0};
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&WaveCallback), 0,
                  CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
    return;
  }
  waveOutMessage(device, kSelectGainClass, 2, 0);
  if (forceSpeaker) waveOutMessage(device, kForceSpeaker, 1, 0);
  if (!keepVolume) waveOutSetVolume(device, kFullVolumeMono);
  WAVEHDR header{};
  header.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(image.data));
  header.dwBufferLength = image.dataSize;
  if (waveOutPrepareHeader(device, &header, sizeof header) == MMSYSERR_NOERROR) {
    waveOutWrite(device, &header, sizeof header);
    // A device that never reports the end is stopped, so that the header comes back and the
    // device can be closed.
    if (WaitForSingleObject(playbackDone.load(), kPlaybackWaitMs) != WAIT_OBJECT_0) {
      waveOutReset(device);
    }
    waveOutUnprepareHeader(device, &header, sizeof header);
  }
  waveOutClose(device);
}

}  // namespace

void PlaySignalWave(HINSTANCE instance, unsigned resource, bool keepVolume, bool forceSpeaker) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), u"WAVE");
  if (!found) return;
  HGLOBAL loaded = LoadResource(instance, found);
  if (!loaded) return;
  playbackDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!playbackDone.load()) return;
  WaveImage image;
  if (ParseWaveImage(static_cast<const uint8_t*>(LockResource(loaded)),
                     SizeofResource(instance, found), image)) {
    PlayImage(image, keepVolume, forceSpeaker);
  }
  CloseHandle(playbackDone.exchange(nullptr));
}

void VibratePulse() {
  SetVibrator(1);
  Sleep(kVibrationMs);
  SetVibrator(0);
}

void ScreenOff() {
  SetDevicePower(kBacklight, POWER_NAME | POWER_FORCE, D4);
}

void ScreenRestore() {
  SetDevicePower(kBacklight, POWER_NAME | POWER_FORCE, D0);
  SetDevicePower(kBacklight, POWER_NAME | POWER_FORCE, PwrDeviceUnspecified);
}

}  // namespace callchime
