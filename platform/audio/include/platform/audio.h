// The audio area of the device layer: waveform output and the simple sound call.
//
// Sound plays through SDL2 audio. Without a usable audio device (none, or SDL's "dummy" or "disk"
// driver) there is no wave output device: opening fails with an error and programs run silent.
//
// Capture mode, VDEVICE_AUDIO_CAPTURE=DIR: every opened device's stream is also written to a WAV
// file in DIR, named wave-PID-N.wav (N counts the opens of the process from 1), in the format the
// device was opened with. The file is complete after every played buffer, so a killed process
// leaves a readable file. In capture mode a device exists even without real audio: playback is
// then paced by the device clock (platform/device.h), so a buffer of N sample frames completes N
// / rate device seconds after it started, and callbacks arrive as from a real device.
//
// A per-process journal records what the programs asked of the wave output (opens, driver
// messages, volume changes, played buffers), so tests can check it.
#pragma once

#include <vector>

#include "platform/types.h"

using MMRESULT = UINT;
using HWAVEOUT = struct HWAVEOUT__*;
using LPHWAVEOUT = HWAVEOUT*;
using LPSTR = char*;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_NOTENABLED = 3;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MMSYSERR_HANDLEBUSY = 12;
inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;

inline constexpr UINT WAVE_MAPPER = 0xFFFFFFFF;
inline constexpr WORD WAVE_FORMAT_PCM = 1;

// waveOutOpen flags.
inline constexpr DWORD WAVE_FORMAT_QUERY = 0x00000001;
inline constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
inline constexpr DWORD CALLBACK_NULL = 0x00000000;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000;
inline constexpr DWORD CALLBACK_THREAD = 0x00020000;
inline constexpr DWORD CALLBACK_FUNCTION = 0x00030000;
inline constexpr DWORD CALLBACK_EVENT = 0x00050000;

// Messages to the callback.
inline constexpr UINT MM_WOM_OPEN = 0x3BB;
inline constexpr UINT MM_WOM_CLOSE = 0x3BC;
inline constexpr UINT MM_WOM_DONE = 0x3BD;
inline constexpr UINT WOM_OPEN = MM_WOM_OPEN;
inline constexpr UINT WOM_CLOSE = MM_WOM_CLOSE;
inline constexpr UINT WOM_DONE = MM_WOM_DONE;

// WAVEHDR.dwFlags.
inline constexpr DWORD WHDR_DONE = 0x00000001;
inline constexpr DWORD WHDR_PREPARED = 0x00000002;
inline constexpr DWORD WHDR_BEGINLOOP = 0x00000004;
inline constexpr DWORD WHDR_ENDLOOP = 0x00000008;
inline constexpr DWORD WHDR_INQUEUE = 0x00000010;

struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};
using LPCWAVEFORMATEX = const WAVEFORMATEX*;

struct WAVEHDR {
  LPSTR lpData;
  DWORD dwBufferLength;
  DWORD dwBytesRecorded;
  DWORD_PTR dwUser;
  DWORD dwFlags;
  DWORD dwLoops;
  WAVEHDR* lpNext;
  DWORD_PTR reserved;
};
using LPWAVEHDR = WAVEHDR*;

// The callback function of CALLBACK_FUNCTION; for MM_WOM_DONE, param1 is the WAVEHDR's address.
using WAVECALLBACK = void(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                          DWORD_PTR param2);
using LPWAVECALLBACK = WAVECALLBACK*;

// 1 when sound can be played (a real audio device, or capture mode), else 0.
UINT waveOutGetNumDevs();

// Opens device 0 or WAVE_MAPPER (the same single device here) for 8- or 16-bit PCM, mono or
// stereo, at any rate from 1000 to 192000 Hz. Callbacks: CALLBACK_NULL and CALLBACK_FUNCTION. The
// callback runs on a thread of the device, never inside the caller's call; MM_WOM_OPEN has been
// delivered when this returns.
MMRESULT waveOutOpen(LPHWAVEOUT device, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags);

// Marks a header prepared; nothing needs locking on the host.
MMRESULT waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);

// Clears WHDR_PREPARED; WAVERR_STILLPLAYING while the header is queued.
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);

// Queues a prepared header. Headers play in submission order; a played one gets WHDR_DONE and
// then MM_WOM_DONE. Looping (WHDR_BEGINLOOP) is not supported: a header plays once. A length that
// is not a whole number of sample frames plays the whole frames only.
MMRESULT waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);

// Stops playback and returns every queued header as done at once; their MM_WOM_DONE callbacks
// have been delivered when this returns.
MMRESULT waveOutReset(HWAVEOUT device);

// Closes the device; WAVERR_STILLPLAYING while headers are queued. MM_WOM_CLOSE has been delivered
// and the capture file completed when this returns.
MMRESULT waveOutClose(HWAVEOUT device);

// Driver-specific messages (gain class, speaker routing, ...) are accepted and recorded in the
// journal; they change nothing on the host.
MMRESULT waveOutMessage(HWAVEOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2);

// Records the volume (low word left or mono, high word right) in the journal; the host's own
// mixer keeps deciding the loudness.
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);

// The volume last set on the device (0xFFFFFFFF, full, until then).
MMRESULT waveOutGetVolume(HWAVEOUT device, LPDWORD volume);

// PlaySoundW flags.
inline constexpr DWORD SND_SYNC = 0x00000000;
inline constexpr DWORD SND_ASYNC = 0x00000001;
inline constexpr DWORD SND_NODEFAULT = 0x00000002;
inline constexpr DWORD SND_MEMORY = 0x00000004;
inline constexpr DWORD SND_LOOP = 0x00000008;
inline constexpr DWORD SND_NOSTOP = 0x00000010;
inline constexpr DWORD SND_ALIAS = 0x00010000;
inline constexpr DWORD SND_FILENAME = 0x00020000;
inline constexpr DWORD SND_RESOURCE = 0x00040004;

// Plays a "WAVE" resource of the module (SND_RESOURCE) through the wave output: with SND_SYNC
// returns when it has played, with SND_ASYNC at once. Any call first stops a sound still playing
// from SND_ASYNC; a null sound only does that. FALSE, silently, when the resource is missing, is
// not a playable RIFF/WAVE image (any damage is detected, nothing is read outside the image) or no
// device can play it. SND_LOOP, SND_NOSTOP, SND_ALIAS, SND_FILENAME and a bare SND_MEMORY are not
// supported here and give FALSE; there is no default sound.
BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

namespace platform {

enum class WaveOutEventKind { Opened, Message, Volume, Played, Reset, Closed };

struct WaveOutEvent {
  WaveOutEventKind kind;
  HWAVEOUT device;
  WAVEFORMATEX format{};  // Opened: the format the device was opened with
  UINT message = 0;       // Message: the message number
  DWORD_PTR param1 = 0;   // Message: its parameters
  DWORD_PTR param2 = 0;
  DWORD volume = 0;  // Volume: the new volume
  DWORD bytes = 0;   // Played: the bytes of one header that were played
};

// The journal's events in the order they happened (the most recent 4096).
std::vector<WaveOutEvent> WaveOutJournal();
void ClearWaveOutJournal();

}  // namespace platform
