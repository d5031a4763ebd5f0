// One open wave output device: the queue of submitted headers, the thread that completes them as
// the output plays and delivers the callbacks, and the capture of what was played.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "audio_output.h"
#include "platform/audio.h"
#include "platform/handles.h"
#include "wav_capture.h"

namespace platform {

class WaveDevice : public KernelObject {
 public:
  struct Callback {
    LPWAVECALLBACK function;  // null for CALLBACK_NULL
    DWORD_PTR instance;
  };

  WaveDevice(const WAVEFORMATEX& format, std::unique_ptr<AudioOutput> output,
             std::unique_ptr<WavCapture> capture, Callback callback);
  ~WaveDevice() override;

  // Starts the device's thread under its handle; returns once MM_WOM_OPEN has been delivered.
  void Start(HWAVEOUT handle);

  MMRESULT Prepare(WAVEHDR* header);
  MMRESULT Unprepare(WAVEHDR* header);
  MMRESULT Write(WAVEHDR* header);
  MMRESULT Reset();
  MMRESULT Close();
  void SetVolume(DWORD volume);
  DWORD Volume();

 private:
  struct Queued {
    WAVEHDR* header;
    uint32_t bytes;   // whole frames of the header
    uint64_t endsAt;  // output position just past them
  };
  struct Notification {
    UINT message;
    DWORD_PTR param1;
  };

  void Run();
  void CompletePlayed();
  void Finish(const Queued& entry, uint32_t bytesPlayed);
  void Notify(UINT message, DWORD_PTR param1);
  // Waits until every notification posted so far has been delivered (unless called from the
  // device's own thread, from inside a callback, where that would never happen).
  void AwaitDelivery(std::unique_lock<std::mutex>& lock);

  const WAVEFORMATEX format_;
  const Callback callback_;
  HWAVEOUT handle_ = nullptr;

  std::mutex mutex_;
  std::condition_variable wake_;       // the device thread waits here
  std::condition_variable delivered_;  // callers wait here for callbacks to be delivered
  std::unique_ptr<AudioOutput> output_;
  std::unique_ptr<WavCapture> capture_;
  std::deque<Queued> queue_;          // submitted and not done, in play order
  std::deque<Notification> pending_;  // callbacks still to deliver, in order
  uint64_t notificationsPosted_ = 0;
  uint64_t notificationsDelivered_ = 0;
  bool closing_ = false;
  DWORD volume_ = 0xFFFFFFFF;
  std::thread thread_;
};

}  // namespace platform
