// The message queue of a thread. A queue exists for a thread from the first message posted to
// it or the first time it looks for one; posting reaches threads of other processes of the
// device through the device channel.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

#include "platform/types.h"

namespace platform {

struct QueuedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class ThreadQueue {
 public:
  void Post(const QueuedMessage& message);
  // Finds the oldest message that matches; takes it out of the queue when remove is set.
  bool Take(QueuedMessage& out, const std::function<bool(const QueuedMessage&)>& matches,
            bool remove = true);
  // Counts posts and wakes: a waiter reads it before looking at the queue and then waits for it
  // to change, so a post between the look and the wait is not missed.
  uint64_t Changes();
  // Waits until the count of changes differs from seenChanges or the device clock reaches
  // deadlineMs.
  void WaitForChange(uint64_t seenChanges, uint64_t deadlineMs);
  // Wakes a waiting thread without a message (for example when a timer was armed).
  void Wake();

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<QueuedMessage> messages_;
  uint64_t changes_ = 0;
};

// The queue of a thread of this process (created on demand).
std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId);
// Posts to any thread of the device: false when no such thread lives.
bool PostToDeviceThread(DWORD threadId, const QueuedMessage& message);
// Hands a thread message that came over the device channel to its thread's queue.
void ReceiveThreadMessage(std::span<const std::byte> payload);

}  // namespace platform
