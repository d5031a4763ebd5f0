#include "platform/thread_queue.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "platform/device.h"
#include "platform/device_channel.h"
#include "platform/process.h"

namespace platform {
namespace {

// The form of a thread message on the device channel.
struct WireMessage {
  uint32_t threadId;
  uint32_t message;
  uint64_t hwnd;
  uint64_t wParam;
  int64_t lParam;
};

std::mutex queuesMutex;
std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;

bool IsThreadOfThisProcess(DWORD threadId) {
  std::error_code ignored;
  return std::filesystem::exists("/proc/self/task/" + std::to_string(threadId), ignored);
}

}  // namespace

void ReceiveThreadMessage(std::span<const std::byte> payload) {
  WireMessage wire;
  if (payload.size() != sizeof wire) return;
  std::memcpy(&wire, payload.data(), sizeof wire);
  if (!IsThreadOfThisProcess(wire.threadId)) return;
  QueueOfThread(wire.threadId)
      ->Post({reinterpret_cast<HWND>(wire.hwnd), wire.message, static_cast<WPARAM>(wire.wParam),
              static_cast<LPARAM>(wire.lParam)});
}

void ThreadQueue::Post(const QueuedMessage& message) {
  std::lock_guard lock(mutex_);
  messages_.push_back(message);
  ++changes_;
  posted_.notify_all();
}

bool ThreadQueue::Take(QueuedMessage& out, const std::function<bool(const QueuedMessage&)>& matches,
                       bool remove) {
  std::lock_guard lock(mutex_);
  for (auto it = messages_.begin(); it != messages_.end(); ++it) {
    if (matches(*it)) {
      out = *it;
      if (remove) messages_.erase(it);
      return true;
    }
  }
  return false;
}

uint64_t ThreadQueue::Changes() {
  std::lock_guard lock(mutex_);
  return changes_;
}

void ThreadQueue::WaitForChange(uint64_t seenChanges, uint64_t deadlineMs) {
  std::unique_lock lock(mutex_);
  auto changed = [&] { return changes_ != seenChanges; };
  uint64_t now = DeviceNowMs();
  if (deadlineMs == UINT64_MAX) {
    posted_.wait(lock, changed);
  } else if (deadlineMs > now) {
    posted_.wait_for(lock, std::chrono::nanoseconds(DeviceToHostNs(deadlineMs - now)), changed);
  }
}

void ThreadQueue::Wake() {
  std::lock_guard lock(mutex_);
  ++changes_;
  posted_.notify_all();
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) {
  JoinDevice();
  std::lock_guard lock(queuesMutex);
  auto& queue = queues[threadId];
  if (!queue) queue = std::make_shared<ThreadQueue>();
  return queue;
}

bool PostToDeviceThread(DWORD threadId, const QueuedMessage& message) {
  if (IsThreadOfThisProcess(threadId)) {
    QueueOfThread(threadId)->Post(message);
    return true;
  }
  DWORD processId = ProcessOfThread(threadId);
  if (processId == 0) return false;
  WireMessage wire{threadId, message.message, reinterpret_cast<uint64_t>(message.hwnd),
                   static_cast<uint64_t>(message.wParam), static_cast<int64_t>(message.lParam)};
  return SendToDeviceProcess(processId, ChannelKind::ThreadMessage,
                             std::as_bytes(std::span(&wire, 1)));
}

}  // namespace platform
