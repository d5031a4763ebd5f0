// The wave output calls: argument checks, choosing the output, and the handle table.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "clock_output.h"
#include "platform/audio.h"
#include "sdl_output.h"
#include "wave_device.h"
#include "wave_journal.h"

namespace {

using platform::WaveDevice;

std::shared_ptr<WaveDevice> DeviceOf(HWAVEOUT handle) {
  return platform::LookupHandleAs<WaveDevice>(reinterpret_cast<HANDLE>(handle));
}

const char* CaptureFolder() {
  const char* folder = std::getenv("VDEVICE_AUDIO_CAPTURE");
  return folder && *folder ? folder : nullptr;
}

bool IsPlayableFormat(const WAVEFORMATEX& format) {
  bool pcm = format.wFormatTag == WAVE_FORMAT_PCM;
  bool channels = format.nChannels == 1 || format.nChannels == 2;
  bool bits = format.wBitsPerSample == 8 || format.wBitsPerSample == 16;
  bool rate = format.nSamplesPerSec >= 1000 && format.nSamplesPerSec <= 192000;
  bool alignment = format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8;
  return pcm && channels && bits && rate && alignment;
}

// The header checks every header call shares.
MMRESULT CheckHeader(LPWAVEHDR header, UINT headerSize) {
  if (header == nullptr || headerSize < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

std::unique_ptr<platform::AudioOutput> OpenOutput(const WAVEFORMATEX& format,
                                                  bool paceWithoutSound) {
  if (auto sdl = platform::SdlOutput::Open(format)) return sdl;
  if (!paceWithoutSound) return nullptr;
  return std::make_unique<platform::ClockOutput>(format.nSamplesPerSec, format.nBlockAlign);
}

}  // namespace

UINT waveOutGetNumDevs() {
  return CaptureFolder() || platform::SdlAudioAvailable() ? 1 : 0;
}

MMRESULT waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) {
  if (device && !(flags & WAVE_FORMAT_QUERY)) *device = nullptr;
  if (deviceId != 0 && deviceId != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
  if (waveOutGetNumDevs() == 0) {
    return deviceId == WAVE_MAPPER ? MMSYSERR_NODRIVER : MMSYSERR_BADDEVICEID;
  }
  if (format == nullptr) return MMSYSERR_INVALPARAM;
  if (!IsPlayableFormat(*format)) return WAVERR_BADFORMAT;
  if (flags & WAVE_FORMAT_QUERY) return MMSYSERR_NOERROR;
  if (device == nullptr) return MMSYSERR_INVALPARAM;

  WaveDevice::Callback notify{nullptr, instance};
  switch (flags & CALLBACK_TYPEMASK) {
    case CALLBACK_NULL: break;
    case CALLBACK_FUNCTION:
      if (callback == 0) return MMSYSERR_INVALPARAM;
      notify.function = reinterpret_cast<LPWAVECALLBACK>(callback);
      break;
    default: return MMSYSERR_INVALFLAG;
  }

  const char* captureFolder = CaptureFolder();
  std::unique_ptr<platform::AudioOutput> output = OpenOutput(*format, captureFolder != nullptr);
  if (!output) return MMSYSERR_NODRIVER;
  std::unique_ptr<platform::WavCapture> capture;
  if (captureFolder) {
    std::string error;
    capture = platform::WavCapture::Create(captureFolder, *format, error);
    if (!capture) {
      std::fprintf(stderr, "audio capture: %s\n", error.c_str());
      return MMSYSERR_ERROR;
    }
  }

  auto opened =
      std::make_shared<WaveDevice>(*format, std::move(output), std::move(capture), notify);
  auto handle = reinterpret_cast<HWAVEOUT>(platform::RegisterHandle(opened));
  platform::RecordWaveOutEvent(
      {.kind = platform::WaveOutEventKind::Opened, .device = handle, .format = *format});
  opened->Start(handle);
  *device = handle;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  if (MMRESULT result = CheckHeader(header, headerSize)) return result;
  return opened->Prepare(header);
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  if (MMRESULT result = CheckHeader(header, headerSize)) return result;
  return opened->Unprepare(header);
}

MMRESULT waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  if (MMRESULT result = CheckHeader(header, headerSize)) return result;
  return opened->Write(header);
}

MMRESULT waveOutReset(HWAVEOUT device) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  return opened->Reset();
}

MMRESULT waveOutClose(HWAVEOUT device) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  if (MMRESULT result = opened->Close()) return result;
  platform::ReleaseHandle(reinterpret_cast<HANDLE>(device));
  platform::RecordWaveOutEvent({.kind = platform::WaveOutEventKind::Closed, .device = device});
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutMessage(HWAVEOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2) {
  if (!DeviceOf(device)) return MMSYSERR_INVALHANDLE;
  platform::RecordWaveOutEvent({.kind = platform::WaveOutEventKind::Message,
                                .device = device,
                                .message = message,
                                .param1 = param1,
                                .param2 = param2});
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  opened->SetVolume(volume);
  platform::RecordWaveOutEvent(
      {.kind = platform::WaveOutEventKind::Volume, .device = device, .volume = volume});
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutGetVolume(HWAVEOUT device, LPDWORD volume) {
  auto opened = DeviceOf(device);
  if (!opened) return MMSYSERR_INVALHANDLE;
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  *volume = opened->Volume();
  return MMSYSERR_NOERROR;
}
