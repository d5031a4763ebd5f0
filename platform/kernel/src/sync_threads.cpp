#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/device.h"
#include "platform/sync.h"

namespace {

class Thread final : public platform::Waitable {
 public:
  // Runs on the new host thread: publishes its id, waits to be resumed, runs, records the end.
  void Run(LPTHREAD_START_ROUTINE start, LPVOID parameter) {
    {
      std::unique_lock lock(mutex_);
      id_ = static_cast<DWORD>(gettid());
      changed_.notify_all();
      changed_.wait(lock, [this] { return suspendCount_ == 0 || ended_; });
      if (ended_) return;  // terminated before it ever ran
    }
    DWORD code = start(parameter);
    End(code);
  }

  DWORD WaitForId() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return id_ != 0; });
    return id_;
  }

  void SetSuspended() { suspendCount_ = 1; }

  DWORD Resume() {
    std::lock_guard lock(mutex_);
    DWORD previous = suspendCount_;
    if (suspendCount_ > 0 && --suspendCount_ == 0) changed_.notify_all();
    return previous;
  }

  void End(DWORD code) {
    std::lock_guard lock(mutex_);
    if (ended_) return;
    ended_ = true;
    exitCode_ = code;
    changed_.notify_all();
  }

  DWORD ExitCode() {
    std::lock_guard lock(mutex_);
    return ended_ ? exitCode_ : STILL_ACTIVE;
  }

  bool Wait(DWORD timeoutMs) override {
    std::unique_lock lock(mutex_);
    auto done = [this] { return ended_; };
    if (timeoutMs == INFINITE) {
      changed_.wait(lock, done);
      return true;
    }
    return changed_.wait_for(lock, std::chrono::nanoseconds(platform::DeviceToHostNs(timeoutMs)),
                             done);
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  DWORD id_ = 0;
  DWORD suspendCount_ = 0;
  bool ended_ = false;
  DWORD exitCode_ = STILL_ACTIVE;
};

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<Thread>();
  if (creationFlags & CREATE_SUSPENDED) thread->SetSuspended();
  try {
    // The host thread holds its own reference, so closing the handle early is safe.
    std::thread([thread, start, parameter] { thread->Run(start, parameter); }).detach();
  } catch (const std::system_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  DWORD id = thread->WaitForId();
  if (threadId) *threadId = id;
  return platform::RegisterHandle(thread);
}

DWORD ResumeThread(HANDLE handle) {
  auto thread = platform::LookupHandleAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0xFFFFFFFF;
  }
  return thread->Resume();
}

BOOL TerminateThread(HANDLE handle, DWORD exitCode) {
  auto thread = platform::LookupHandleAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  thread->End(exitCode);
  return TRUE;
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  auto thread = platform::LookupHandleAs<Thread>(handle);
  if (!thread || !exitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = thread->ExitCode();
  return TRUE;
}

DWORD GetCurrentThreadId() {
  return static_cast<DWORD>(gettid());
}

DWORD GetCurrentProcessId() {
  return static_cast<DWORD>(getpid());
}
