#include "platform/line_provider.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>

#include "platform/device.h"
#include "platform/device_channel.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/telephony.h"
#include "platform/wide_text.h"
#include "wire.h"

namespace platform::telephony {
namespace {

std::filesystem::path TelephonyFolder() {
  auto folder = DeviceHome() / "telephony";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

std::filesystem::path OpenFolder(uint32_t line) {
  return TelephonyFolder() / "open" / std::to_string(line);
}

// Serialises the provider's changes between the processes that drive calls.
class ProviderLock {
 public:
  ProviderLock() {
    fd_ = open((TelephonyFolder() / "calls.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  ~ProviderLock() {
    if (fd_ >= 0) close(fd_);
  }
  ProviderLock(const ProviderLock&) = delete;
  ProviderLock& operator=(const ProviderLock&) = delete;

 private:
  int fd_;
};

void WriteCalls(const std::vector<CallRecord>& calls) {
  auto path = TelephonyFolder() / "calls";
  auto temporary = path;
  temporary += ".new";
  {
    std::ofstream file(temporary, std::ios::trunc);
    for (const auto& call : calls) {
      file << call.id << ' ' << call.line << ' ' << call.mediaMode << ' ' << call.state << '\n';
    }
  }
  std::error_code ignored;
  std::filesystem::rename(temporary, path, ignored);
}

uint32_t NextCallId(const std::vector<CallRecord>& calls) {
  std::ifstream file(TelephonyFolder() / "last_call_id");
  uint32_t last = 0;
  file >> last;
  for (const auto& call : calls) last = std::max(last, call.id);
  std::ofstream(TelephonyFolder() / "last_call_id", std::ios::trunc) << last + 1 << '\n';
  return last + 1;
}

void Record(const CallRecord& call) {
  AppendDeviceEvent("line" + std::to_string(call.line), "call " + std::to_string(call.id) + ' ' +
                                                            CallStateName(call.state) + ' ' +
                                                            MediaModeName(call.mediaMode));
}

}  // namespace

std::vector<std::u16string> ProfileLines() {
  std::ifstream file(DeviceHome() / "lines");
  if (!file) return {u"Cellular Line"};
  std::vector<std::u16string> lines;
  std::string name;
  while (std::getline(file, name)) {
    if (!name.empty() && name.back() == '\r') name.pop_back();
    if (!name.empty()) lines.push_back(FromUtf8(name));
  }
  return lines;
}

std::vector<CallRecord> ListCalls() {
  std::vector<CallRecord> calls;
  std::ifstream file(TelephonyFolder() / "calls");
  CallRecord call;
  while (file >> call.id >> call.line >> call.mediaMode >> call.state) calls.push_back(call);
  return calls;
}

std::optional<CallRecord> ConnectCall(uint32_t line, uint32_t mediaMode) {
  if (line >= ProfileLines().size()) return std::nullopt;
  ProviderLock lock;
  auto calls = ListCalls();
  CallRecord call{NextCallId(calls), line, mediaMode, LINECALLSTATE_CONNECTED};
  calls.push_back(call);
  WriteCalls(calls);
  DeliverCallState(call);
  return call;
}

std::optional<CallRecord> DisconnectCall(uint32_t line, std::optional<uint32_t> callId) {
  ProviderLock lock;
  auto calls = ListCalls();
  auto it = std::find_if(calls.begin(), calls.end(), [&](const CallRecord& call) {
    return callId ? call.id == *callId : call.line == line;
  });
  if (it == calls.end()) return std::nullopt;
  CallRecord call = *it;
  calls.erase(it);
  WriteCalls(calls);
  call.state = LINECALLSTATE_DISCONNECTED;
  DeliverCallState(call);
  call.state = LINECALLSTATE_IDLE;
  DeliverCallState(call);
  call.state = LINECALLSTATE_DISCONNECTED;
  return call;
}

int DeliverCallState(const CallRecord& call) {
  Record(call);
  LineEventWire wire{call.line, call.id, call.state, call.mediaMode};
  int reached = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(OpenFolder(call.line), error)) {
    auto pid = static_cast<DWORD>(std::strtoul(entry.path().filename().c_str(), nullptr, 10));
    if (!IsDeviceProcess(pid)) {
      std::error_code ignored;
      std::filesystem::remove(entry.path(), ignored);
      continue;
    }
    if (SendToDeviceProcess(pid, ChannelKind::LineEvent, std::as_bytes(std::span(&wire, 1)))) {
      ++reached;
    }
  }
  return reached;
}

void MarkLineOpen(uint32_t line, bool open) {
  static std::mutex mutex;
  static std::map<uint32_t, int> openCounts;
  std::lock_guard lock(mutex);
  int& count = openCounts[line];
  count += open ? 1 : -1;
  auto marker = OpenFolder(line) / std::to_string(getpid());
  std::error_code ignored;
  if (count == 1 && open) {
    std::filesystem::create_directories(marker.parent_path(), ignored);
    std::ofstream(marker, std::ios::trunc).flush();
  } else if (count <= 0) {
    count = 0;
    std::filesystem::remove(marker, ignored);
  }
}

std::string CallStateName(uint32_t state) {
  switch (state) {
    case LINECALLSTATE_IDLE: return "idle";
    case LINECALLSTATE_OFFERING: return "offering";
    case LINECALLSTATE_DIALING: return "dialing";
    case LINECALLSTATE_RINGBACK: return "ringback";
    case LINECALLSTATE_CONNECTED: return "connected";
    case LINECALLSTATE_ONHOLD: return "onhold";
    case LINECALLSTATE_DISCONNECTED: return "disconnected";
    default: return "state" + std::to_string(state);
  }
}

std::string MediaModeName(uint32_t mediaMode) {
  switch (mediaMode) {
    case LINEMEDIAMODE_INTERACTIVEVOICE: return "voice";
    case LINEMEDIAMODE_DATAMODEM: return "data";
    case LINEMEDIAMODE_G3FAX: return "fax";
    default: return "media" + std::to_string(mediaMode);
  }
}

}  // namespace platform::telephony
