#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

#include "platform/device.h"
#include "platform/process.h"
#include "platform/sync.h"
#include "platform/wide_text.h"

namespace {

// Presence of a named mutex across the device's processes: a file in the device home that every
// holder keeps open with a shared lock. A creator that can take the lock exclusively is the only
// holder, so the name did not exist before. The host drops the lock when a holder dies.
class DeviceWideName {
 public:
  explicit DeviceWideName(const std::u16string& name) {
    auto folder = platform::DeviceHome() / "mutexes";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    fd_ = open((folder / FileNameFor(name)).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      flock(fd_, LOCK_SH);
    } else {
      existed_ = true;
      flock(fd_, LOCK_SH);
    }
  }
  ~DeviceWideName() {
    if (fd_ >= 0) close(fd_);
  }
  DeviceWideName(const DeviceWideName&) = delete;
  DeviceWideName& operator=(const DeviceWideName&) = delete;

  bool Existed() const { return existed_; }

 private:
  // Names may hold any character; the file name keeps letters and digits and escapes the rest.
  static std::string FileNameFor(const std::u16string& name) {
    static const char* hex = "0123456789abcdef";
    std::string file;
    for (char16_t c : name) {
      bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
      if (plain) {
        file += static_cast<char>(c);
      } else {
        file += '%';
        for (int shift = 12; shift >= 0; shift -= 4) file += hex[(c >> shift) & 0xF];
      }
    }
    return file;
  }

  int fd_ = -1;
  bool existed_ = false;
};

class Mutex final : public platform::Waitable {
 public:
  explicit Mutex(std::unique_ptr<DeviceWideName> deviceName = nullptr)
      : deviceName_(std::move(deviceName)) {}

  bool Wait(DWORD timeoutMs) override {
    DWORD self = GetCurrentThreadId();
    std::unique_lock lock(mutex_);
    auto free = [&] { return count_ == 0 || owner_ == self; };
    if (timeoutMs == INFINITE) {
      released_.wait(lock, free);
    } else if (!released_.wait_for(
                   lock, std::chrono::nanoseconds(platform::DeviceToHostNs(timeoutMs)), free)) {
      return false;
    }
    owner_ = self;
    ++count_;
    return true;
  }

  bool Release() {
    std::lock_guard lock(mutex_);
    if (count_ == 0 || owner_ != GetCurrentThreadId()) return false;
    if (--count_ == 0) released_.notify_one();
    return true;
  }

 private:
  std::unique_ptr<DeviceWideName> deviceName_;
  std::mutex mutex_;
  std::condition_variable released_;
  DWORD owner_ = 0;
  unsigned count_ = 0;
};

std::mutex namedMutex;
std::map<std::u16string, std::weak_ptr<Mutex>> namedMutexes;

}  // namespace

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
  platform::JoinDevice();
  std::shared_ptr<Mutex> mutex;
  bool existed = false;
  if (name && *name) {
    std::lock_guard lock(namedMutex);
    auto& slot = namedMutexes[std::u16string(name)];
    mutex = slot.lock();
    existed = mutex != nullptr;
    if (!mutex) {
      auto deviceName = std::make_unique<DeviceWideName>(std::u16string(name));
      existed = deviceName->Existed();
      mutex = std::make_shared<Mutex>(std::move(deviceName));
      slot = mutex;
    }
  } else {
    mutex = std::make_shared<Mutex>();
  }
  if (initialOwner && !existed) mutex->Wait(INFINITE);
  HANDLE handle = platform::RegisterHandle(mutex);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReleaseMutex(HANDLE handle) {
  auto mutex = platform::LookupHandleAs<Mutex>(handle);
  if (!mutex || !mutex->Release()) {
    SetLastError(mutex ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
