#include "wave_device.h"

#include <chrono>

#include "wave_journal.h"

namespace platform {

WaveDevice::WaveDevice(const WAVEFORMATEX& format, std::unique_ptr<AudioOutput> output,
                       std::unique_ptr<WavCapture> capture, Callback callback)
    : format_(format),
      callback_(callback),
      output_(std::move(output)),
      capture_(std::move(capture)) {}

// Reached without waveOutClose only when the handle table lets go of an open device (CloseHandle
// on it, or the process ending): the thread stops without further callbacks.
WaveDevice::~WaveDevice() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    pending_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void WaveDevice::Start(HWAVEOUT handle) {
  std::unique_lock lock(mutex_);
  handle_ = handle;
  Notify(MM_WOM_OPEN, 0);
  thread_ = std::thread(&WaveDevice::Run, this);
  AwaitDelivery(lock);
}

MMRESULT WaveDevice::Prepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Unprepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Write(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closing_) return MMSYSERR_INVALHANDLE;
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  // A header still queued cannot be queued again; writing it would play its data twice.
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  uint32_t bytes = header->dwBufferLength - header->dwBufferLength % format_.nBlockAlign;
  if (bytes > 0 && header->lpData == nullptr) return MMSYSERR_INVALPARAM;
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  uint64_t endsAt = output_->Queue(reinterpret_cast<const uint8_t*>(header->lpData), bytes);
  queue_.push_back({header, bytes, endsAt});
  wake_.notify_all();
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Reset() {
  std::unique_lock lock(mutex_);
  CompletePlayed();
  if (!queue_.empty()) {
    // The header being played counts as played as far as the output got with it.
    const Queued& playing = queue_.front();
    uint64_t startsAt = playing.endsAt - playing.bytes;
    uint64_t played = output_->BytesPlayed();
    uint64_t playedOfIt = played > startsAt ? played - startsAt : 0;
    Finish(playing, static_cast<uint32_t>(playedOfIt - playedOfIt % format_.nBlockAlign));
    queue_.pop_front();
  }
  output_->DropQueued();
  for (const Queued& entry : queue_) Finish(entry, 0);
  queue_.clear();
  RecordWaveOutEvent({.kind = WaveOutEventKind::Reset, .device = handle_});
  AwaitDelivery(lock);
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Close() {
  if (std::this_thread::get_id() == thread_.get_id()) return MMSYSERR_HANDLEBUSY;
  {
    std::unique_lock lock(mutex_);
    if (closing_) return MMSYSERR_INVALHANDLE;  // closed by another thread meanwhile
    if (!queue_.empty()) return WAVERR_STILLPLAYING;
    closing_ = true;
    Notify(MM_WOM_CLOSE, 0);
  }
  thread_.join();
  capture_.reset();
  return MMSYSERR_NOERROR;
}

void WaveDevice::SetVolume(DWORD volume) {
  std::lock_guard lock(mutex_);
  volume_ = volume;
}

DWORD WaveDevice::Volume() {
  std::lock_guard lock(mutex_);
  return volume_;
}

void WaveDevice::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    // Closing ends the thread once every callback is out; headers still queued then (only when
    // the device is destroyed without waveOutClose) are left alone.
    if (closing_ && pending_.empty()) return;
    CompletePlayed();
    if (!pending_.empty()) {
      Notification next = pending_.front();
      pending_.pop_front();
      lock.unlock();
      if (callback_.function) {
        callback_.function(handle_, next.message, callback_.instance, next.param1, 0);
      }
      lock.lock();
      ++notificationsDelivered_;
      delivered_.notify_all();
      continue;
    }
    if (queue_.empty()) {
      wake_.wait(lock);
    } else {
      auto wait = std::chrono::nanoseconds(output_->HostNsUntilPlayed(queue_.front().endsAt));
      wake_.wait_for(lock, wait);
    }
  }
}

void WaveDevice::CompletePlayed() {
  if (queue_.empty()) return;
  uint64_t played = output_->BytesPlayed();
  while (!queue_.empty() && queue_.front().endsAt <= played) {
    Finish(queue_.front(), queue_.front().bytes);
    queue_.pop_front();
  }
}

// Hands a header back: the part that was played goes to the capture, the header is marked done
// and its MM_WOM_DONE is posted.
void WaveDevice::Finish(const Queued& entry, uint32_t bytesPlayed) {
  if (bytesPlayed > 0) {
    if (capture_) capture_->Append(entry.header->lpData, bytesPlayed);
    RecordWaveOutEvent({.kind = WaveOutEventKind::Played, .device = handle_, .bytes = bytesPlayed});
  }
  entry.header->dwFlags = (entry.header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  Notify(MM_WOM_DONE, reinterpret_cast<DWORD_PTR>(entry.header));
}

void WaveDevice::Notify(UINT message, DWORD_PTR param1) {
  pending_.push_back({message, param1});
  ++notificationsPosted_;
  wake_.notify_all();
}

void WaveDevice::AwaitDelivery(std::unique_lock<std::mutex>& lock) {
  if (std::this_thread::get_id() == thread_.get_id()) return;
  uint64_t target = notificationsPosted_;
  delivered_.wait(lock, [&] { return notificationsDelivered_ >= target; });
}

}  // namespace platform
