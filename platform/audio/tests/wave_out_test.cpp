#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "capture_folder.h"
#include "platform/audio.h"

namespace {

constexpr WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits) {
  WORD align = static_cast<WORD>(channels * bits / 8);
  return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

const WAVEFORMATEX kMono8 = Pcm(1, 8000, 8);

// Safety net against a hang; the tests never depend on how long anything takes.
constexpr auto kPatience = std::chrono::seconds(20);

struct Callback {
  UINT message;
  DWORD_PTR param1;
  std::thread::id thread;
  bool operator==(const Callback& other) const {
    return message == other.message && param1 == other.param1;
  }
};

class CallbackRecorder {
 public:
  static void Receive(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
    auto* self = reinterpret_cast<CallbackRecorder*>(instance);
    std::lock_guard lock(self->mutex_);
    self->calls_.push_back({message, param1, std::this_thread::get_id()});
    self->arrived_.notify_all();
  }

  MMRESULT Open(HWAVEOUT* device, const WAVEFORMATEX& format) {
    return waveOutOpen(device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&Receive),
                       reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
  }

  std::vector<Callback> WaitFor(size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, kPatience, [&] { return calls_.size() >= count; });
    return calls_;
  }

  std::vector<Callback> Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Callback> calls_;
};

Callback Done(const WAVEHDR& header) {
  return {MM_WOM_DONE, reinterpret_cast<DWORD_PTR>(&header), {}};
}

void WaitUntilDone(const WAVEHDR& header) {
  auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!(header.dwFlags & WHDR_DONE) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

WAVEHDR HeaderFor(std::vector<uint8_t>& samples) {
  WAVEHDR header{};
  header.lpData = reinterpret_cast<LPSTR>(samples.data());
  header.dwBufferLength = static_cast<DWORD>(samples.size());
  return header;
}

using WaveOutTest = CaptureFolderTest;

TEST_F(WaveOutTest, BuffersPlayInOrderAndCallbacksComeFromTheDeviceThread) {
  CallbackRecorder recorder;
  HWAVEOUT device = nullptr;
  ASSERT_EQ(recorder.Open(&device, kMono8), MMSYSERR_NOERROR);
  EXPECT_EQ(recorder.Calls(), (std::vector<Callback>{{MM_WOM_OPEN, 0, {}}}));

  std::vector<std::vector<uint8_t>> samples = {
      std::vector<uint8_t>(800, 1), std::vector<uint8_t>(400, 2), std::vector<uint8_t>(800, 3)};
  std::vector<WAVEHDR> headers;
  for (auto& buffer : samples) headers.push_back(HeaderFor(buffer));
  for (WAVEHDR& header : headers) {
    ASSERT_EQ(waveOutPrepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED);
  }
  for (WAVEHDR& header : headers) {
    ASSERT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_NOERROR);
  }

  std::vector<Callback> calls = recorder.WaitFor(4);
  std::vector<Callback> expected = {
      {MM_WOM_OPEN, 0, {}}, Done(headers[0]), Done(headers[1]), Done(headers[2])};
  EXPECT_EQ(calls, expected);
  for (const Callback& call : calls) EXPECT_NE(call.thread, std::this_thread::get_id());
  for (WAVEHDR& header : headers) {
    EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_EQ(waveOutUnprepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, WHDR_DONE);
  }

  ASSERT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
  expected.push_back({MM_WOM_CLOSE, 0, {}});
  EXPECT_EQ(recorder.Calls(), expected);
}

TEST_F(WaveOutTest, ResetReturnsEveryQueuedBufferAtOnce) {
  CallbackRecorder recorder;
  HWAVEOUT device = nullptr;
  ASSERT_EQ(recorder.Open(&device, kMono8), MMSYSERR_NOERROR);
  // Three seconds of sound: far more than can play before the reset.
  std::vector<std::vector<uint8_t>> samples(3);
  std::vector<WAVEHDR> headers;
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i].resize(8000);
    for (size_t j = 0; j < samples[i].size(); ++j) samples[i][j] = static_cast<uint8_t>(i * 7 + j);
    headers.push_back(HeaderFor(samples[i]));
  }
  for (WAVEHDR& header : headers) {
    waveOutPrepareHeader(device, &header, sizeof header);
    ASSERT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_NOERROR);
  }

  ASSERT_EQ(waveOutReset(device), MMSYSERR_NOERROR);

  for (const WAVEHDR& header : headers) EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_DONE);
  EXPECT_EQ(recorder.Calls(),
            (std::vector<Callback>{
                {MM_WOM_OPEN, 0, {}}, Done(headers[0]), Done(headers[1]), Done(headers[2])}));
  ASSERT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
  // Only what had been played before the reset is in the capture: a beginning of the first buffer.
  std::vector<uint8_t> captured = CapturedSamples(CaptureFiles().at(0));
  ASSERT_LE(captured.size(), samples[0].size());
  EXPECT_TRUE(std::equal(captured.begin(), captured.end(), samples[0].begin()));
}

TEST_F(WaveOutTest, HeadersMustBePreparedAndMayBeQueuedOnlyOnce) {
  HWAVEOUT device = nullptr;
  ASSERT_EQ(waveOutOpen(&device, 0, &kMono8, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  std::vector<uint8_t> samples(8000, 0x80);
  WAVEHDR header = HeaderFor(samples);

  EXPECT_EQ(waveOutWrite(device, &header, sizeof header), WAVERR_UNPREPARED);
  EXPECT_EQ(header.dwFlags, 0u);

  waveOutPrepareHeader(device, &header, sizeof header);
  ASSERT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_NOERROR);
  EXPECT_EQ(header.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
  EXPECT_EQ(waveOutWrite(device, &header, sizeof header), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutUnprepareHeader(device, &header, sizeof header), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutClose(device), WAVERR_STILLPLAYING);

  waveOutReset(device);
  EXPECT_EQ(waveOutUnprepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutWrite(device, &header, sizeof header), WAVERR_UNPREPARED);
  EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(device), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutMessage(device, 0x400, 2, 0), MMSYSERR_INVALHANDLE);
}

struct OpenCase {
  const char* label;
  UINT deviceId;
  WAVEFORMATEX format;
  DWORD_PTR callback;
  DWORD flags;
  MMRESULT result;
};

void IgnoreCallback(HWAVEOUT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

TEST_F(WaveOutTest, OpenChecksDeviceFormatAndCallback) {
  const auto callback = reinterpret_cast<DWORD_PTR>(&IgnoreCallback);
  WAVEFORMATEX wrongAlignment = Pcm(2, 22050, 16);
  wrongAlignment.nBlockAlign = 2;
  WAVEFORMATEX notPcm = Pcm(1, 22050, 16);
  notPcm.wFormatTag = 2;
  const OpenCase cases[] = {
      {"16-bit stereo on device 0", 0, Pcm(2, 44100, 16), 0, CALLBACK_NULL, MMSYSERR_NOERROR},
      {"8-bit mono on the mapper", WAVE_MAPPER, kMono8, callback, CALLBACK_FUNCTION,
       MMSYSERR_NOERROR},
      {"a second device", 1, kMono8, 0, CALLBACK_NULL, MMSYSERR_BADDEVICEID},
      {"24-bit samples", 0, Pcm(1, 22050, 24), 0, CALLBACK_NULL, WAVERR_BADFORMAT},
      {"three channels", 0, Pcm(3, 22050, 16), 0, CALLBACK_NULL, WAVERR_BADFORMAT},
      {"rate 0", 0, Pcm(1, 0, 16), 0, CALLBACK_NULL, WAVERR_BADFORMAT},
      {"wrong block alignment", 0, wrongAlignment, 0, CALLBACK_NULL, WAVERR_BADFORMAT},
      {"not PCM", 0, notPcm, 0, CALLBACK_NULL, WAVERR_BADFORMAT},
      {"function callback without function", 0, kMono8, 0, CALLBACK_FUNCTION, MMSYSERR_INVALPARAM},
      {"window callback", 0, kMono8, 1, CALLBACK_WINDOW, MMSYSERR_INVALFLAG},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.label);
    HWAVEOUT device = nullptr;
    ASSERT_EQ(waveOutOpen(&device, c.deviceId, &c.format, c.callback, 0, c.flags), c.result);
    EXPECT_EQ(device != nullptr, c.result == MMSYSERR_NOERROR);
    if (device) {
      EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
    }
  }
}

TEST_F(WaveOutTest, FormatQueryOpensNothing) {
  WAVEFORMATEX format = Pcm(1, 22050, 16);
  EXPECT_EQ(waveOutOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
  format.wBitsPerSample = 12;
  EXPECT_EQ(waveOutOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY), WAVERR_BADFORMAT);
  EXPECT_TRUE(platform::WaveOutJournal().empty());
  EXPECT_TRUE(CaptureFiles().empty());
}

struct CaptureCase {
  const char* label;
  WAVEFORMATEX format;
  std::vector<std::vector<uint8_t>> buffers;
  std::vector<uint8_t> file;
};

TEST_F(WaveOutTest, CaptureFileHoldsExactlyTheStreamInItsFormat) {
  const CaptureCase cases[] = {
      {"16-bit mono at 8000 Hz, two buffers",
       Pcm(1, 8000, 16),
       {{0x01, 0x02, 0x03, 0x04}, {0xFE, 0xFF, 0x00, 0x80}},
       {
           'R',  'I',  'F',  'F',  44,   0,    0,    0,    // RIFF size: 36 + 8 data bytes
           'W',  'A',  'V',  'E',  'f',  'm',  't',  ' ',  //
           16,   0,    0,    0,    1,    0,    1,    0,    // fmt size, PCM, 1 channel
           0x40, 0x1F, 0,    0,    0x80, 0x3E, 0,    0,    // 8000 Hz, 16000 bytes/s
           2,    0,    16,   0,    'd',  'a',  't',  'a',  // block 2, 16 bits
           8,    0,    0,    0,                            // data size
           0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x00, 0x80,
       }},
      {"8-bit stereo at 11025 Hz, odd length with pad byte",
       Pcm(2, 11025, 8),
       {{0x10, 0x20, 0x30}},  // the last byte is half a frame and is not played
       {
           'R',  'I',  'F', 'F', 38,   0,    0,   0,    // 36 + 2 data bytes
           'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',  //
           16,   0,    0,   0,   1,    0,    2,   0,    // PCM, 2 channels
           0x11, 0x2B, 0,   0,   0x22, 0x56, 0,   0,    // 11025 Hz, 22050 bytes/s
           2,    0,    8,   0,   'd',  'a',  't', 'a',  // block 2, 8 bits
           2,    0,    0,   0,                          //
           0x10, 0x20,
       }},
      {"8-bit mono, odd number of bytes",
       Pcm(1, 8000, 8),
       {{0x7F, 0x80, 0x81}},
       {
           'R',  'I',  'F',  'F', 40,   0,    0,   0,    // 36 + 3 data bytes + 1 pad byte
           'W',  'A',  'V',  'E', 'f',  'm',  't', ' ',  //
           16,   0,    0,    0,   1,    0,    1,   0,    //
           0x40, 0x1F, 0,    0,   0x40, 0x1F, 0,   0,    // 8000 Hz, 8000 bytes/s
           1,    0,    8,    0,   'd',  'a',  't', 'a',  //
           3,    0,    0,    0,                          //
           0x7F, 0x80, 0x81, 0,                          // samples and the pad byte
       }},
  };
  for (const CaptureCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(folder_);
    HWAVEOUT device = nullptr;
    ASSERT_EQ(waveOutOpen(&device, 0, &c.format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    std::vector<std::vector<uint8_t>> buffers = c.buffers;
    std::vector<WAVEHDR> headers;
    for (auto& buffer : buffers) headers.push_back(HeaderFor(buffer));
    for (WAVEHDR& header : headers) {
      waveOutPrepareHeader(device, &header, sizeof header);
      waveOutWrite(device, &header, sizeof header);
    }
    for (const WAVEHDR& header : headers) WaitUntilDone(header);
    ASSERT_EQ(waveOutClose(device), MMSYSERR_NOERROR);

    std::vector<std::filesystem::path> files = CaptureFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadBytes(files[0]), c.file);
  }
}

// Plays two buffers and dies without closing the device, as a killed program would.
void PlayAndGetKilled(const std::vector<uint8_t>& samples) {
  HWAVEOUT device = nullptr;
  waveOutOpen(&device, 0, &kMono8, 0, 0, CALLBACK_NULL);
  std::vector<uint8_t> copy = samples;
  WAVEHDR first = HeaderFor(copy);
  first.dwBufferLength /= 2;
  WAVEHDR second = first;
  second.lpData += first.dwBufferLength;
  for (WAVEHDR* header : {&first, &second}) {
    waveOutPrepareHeader(device, header, sizeof *header);
    waveOutWrite(device, header, sizeof *header);
  }
  WaitUntilDone(second);
  raise(SIGKILL);
}

TEST_F(WaveOutTest, KilledProgramLeavesAReadableCapture) {
  std::vector<uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EXIT(PlayAndGetKilled(samples), testing::KilledBySignal(SIGKILL), "");
  std::vector<std::filesystem::path> files = CaptureFiles();
  ASSERT_EQ(files.size(), 1u);
  std::vector<uint8_t> file = ReadBytes(files[0]);
  ASSERT_EQ(file.size(), 44u + samples.size());
  EXPECT_EQ(file[4], 36 + samples.size());  // RIFF size
  EXPECT_EQ(CapturedSamples(files[0]), samples);
}

TEST_F(WaveOutTest, CaptureFilesAreNamedByProcessAndOpenCount) {
  HWAVEOUT first = nullptr;
  HWAVEOUT second = nullptr;
  ASSERT_EQ(waveOutOpen(&first, 0, &kMono8, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutOpen(&second, 0, &kMono8, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  waveOutClose(first);
  waveOutClose(second);
  std::vector<std::filesystem::path> files = CaptureFiles();
  ASSERT_EQ(files.size(), 2u);
  std::string prefix = "wave-" + std::to_string(getpid()) + "-";
  for (const auto& file : files) {
    EXPECT_EQ(file.filename().string().rfind(prefix, 0), 0u) << file;
    EXPECT_EQ(file.extension(), ".wav");
  }
  EXPECT_NE(files[0], files[1]);
}

TEST_F(WaveOutTest, JournalRecordsMessagesVolumeAndPlayedBuffers) {
  HWAVEOUT device = nullptr;
  ASSERT_EQ(waveOutOpen(&device, WAVE_MAPPER, &kMono8, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutMessage(device, 0x400, 2, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutMessage(device, 0x402, 1, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutSetVolume(device, 0xFFFF), MMSYSERR_NOERROR);
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(device, &volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0xFFFFu);
  std::vector<uint8_t> samples(100, 0x80);
  WAVEHDR header = HeaderFor(samples);
  waveOutPrepareHeader(device, &header, sizeof header);
  waveOutWrite(device, &header, sizeof header);
  WaitUntilDone(header);
  waveOutClose(device);

  using Kind = platform::WaveOutEventKind;
  std::vector<platform::WaveOutEvent> journal = platform::WaveOutJournal();
  ASSERT_EQ(journal.size(), 6u);
  EXPECT_EQ(journal[0].kind, Kind::Opened);
  EXPECT_EQ(journal[0].format.nSamplesPerSec, 8000u);
  EXPECT_EQ(journal[1].kind, Kind::Message);
  EXPECT_EQ(journal[1].message, 0x400u);
  EXPECT_EQ(journal[1].param1, 2u);
  EXPECT_EQ(journal[2].kind, Kind::Message);
  EXPECT_EQ(journal[2].message, 0x402u);
  EXPECT_EQ(journal[2].param1, 1u);
  EXPECT_EQ(journal[3].kind, Kind::Volume);
  EXPECT_EQ(journal[3].volume, 0xFFFFu);
  EXPECT_EQ(journal[4].kind, Kind::Played);
  EXPECT_EQ(journal[4].bytes, 100u);
  EXPECT_EQ(journal[5].kind, Kind::Closed);
  for (const auto& event : journal) EXPECT_EQ(event.device, device);
}

TEST(WaveOutWithoutDevice, OpeningFailsCleanlyWhenNeitherSoundNorCaptureIsThere) {
  unsetenv("VDEVICE_AUDIO_CAPTURE");
  HWAVEOUT device = nullptr;
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  EXPECT_EQ(waveOutOpen(&device, 0, &kMono8, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &kMono8, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
  EXPECT_EQ(device, nullptr);
  // What a program does next with the null handle fails quietly too.
  WAVEHDR header{};
  EXPECT_EQ(waveOutPrepareHeader(device, &header, sizeof header), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutReset(device), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutClose(device), MMSYSERR_INVALHANDLE);
}

}  // namespace
