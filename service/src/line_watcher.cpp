#include "line_watcher.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "callchime/messages.h"
#include "platform/kernel.h"
#include "platform/telephony.h"

namespace callchime {
namespace {

constexpr WCHAR kLineName[] = u"Cellular Line";
constexpr DWORD kApiVersion = 0x20000;
constexpr DWORD kFirstCapsBlockBytes = 292;
constexpr DWORD kCallInfoBlockBytes = 5120;
constexpr DWORD kMessageWaitMs = 500;
constexpr DWORD kStopCheckMs = 1;
constexpr DWORD kStopWaitMs = 1000;
constexpr DWORD kThreadFailed = static_cast<DWORD>(-1);

// The stop event is read by the watcher and cleared by the main thread once the watcher is gone
// (or given up on), so it is atomic; the line record belongs to the watcher thread alone.
std::atomic<HANDLE> stopEvent{nullptr};
HANDLE watcherThread = nullptr;
std::atomic<DWORD> mainThread{0};

struct LineRecord {
  HLINE line = 0;
  HLINEAPP app = 0;
  HANDLE messageEvent = nullptr;
};

// True when the capabilities in the block name the line "Cellular Line" exactly.
bool NamesCellularLine(const LINEDEVCAPS* caps, DWORD blockBytes) {
  DWORD offset = caps->dwLineNameOffset;
  DWORD size = caps->dwLineNameSize;
  if (size == 0 || offset > blockBytes || size > blockBytes - offset) return false;
  std::u16string name(size / sizeof(WCHAR), u'\0');
  std::memcpy(name.data(), reinterpret_cast<const BYTE*>(caps) + offset,
              name.size() * sizeof(WCHAR));
  name.resize(std::char_traits<char16_t>::length(name.c_str()));
  return name == kLineName;
}

// The index of the last device named "Cellular Line", or -1.
LONG FindCellularLine(HLINEAPP app, DWORD deviceCount) {
  LONG found = -1;
  for (DWORD device = 0; device < deviceCount; ++device) {
    DWORD version = 0;
    LINEEXTENSIONID extension;
    if (lineNegotiateAPIVersion(app, device, kApiVersion, kApiVersion, &version, &extension) != 0) {
      continue;
    }
    auto* probe = static_cast<LINEDEVCAPS*>(std::calloc(1, kFirstCapsBlockBytes));
    if (!probe) continue;
    probe->dwTotalSize = kFirstCapsBlockBytes;
    LONG probed = lineGetDevCaps(app, device, version, 0, probe);
    DWORD needed = probe->dwNeededSize;
    std::free(probe);
    if (probed != 0 || needed < sizeof(LINEDEVCAPS)) continue;
    auto* caps = static_cast<LINEDEVCAPS*>(std::calloc(1, needed));
    if (!caps) continue;
    caps->dwTotalSize = needed;
    if (lineGetDevCaps(app, device, version, 0, caps) == 0 && NamesCellularLine(caps, needed)) {
      found = static_cast<LONG>(device);
    }
    std::free(caps);
  }
  return found;
}

void CloseLine(LineRecord& record) {
  if (record.line) lineClose(record.line);
  if (record.app) lineShutdown(record.app);
  record = {};
}

bool OpenLine(LineRecord& record) {
  DWORD deviceCount = 0;
  DWORD version = kApiVersion;
  LINEINITIALIZEEXPARAMS params{};
  params.dwTotalSize = sizeof params;
  params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
  if (lineInitializeEx(&record.app, nullptr, nullptr, nullptr, &deviceCount, &version, &params) !=
      0) {
    CloseLine(record);
    return false;
  }
  LONG device = FindCellularLine(record.app, deviceCount);
  if (device < 0 || lineOpen(record.app, static_cast<DWORD>(device), &record.line, version, 0, 0,
                             LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER,
                             LINEMEDIAMODE_INTERACTIVEVOICE, nullptr) != 0) {
    CloseLine(record);
    return false;
  }
  record.messageEvent = params.Handles.hEvent;
  return true;
}

void HandleConnectedCall(HCALL call) {
  auto* info = static_cast<LINECALLINFO*>(std::calloc(1, kCallInfoBlockBytes));
  if (!info) return;
  info->dwTotalSize = kCallInfoBlockBytes;
  if (lineGetCallInfo(call, info) == 0 && info->dwMediaMode == LINEMEDIAMODE_INTERACTIVEVOICE) {
    PostThreadMessageW(mainThread, WM_TALK_STARTED, 0, 0);
  }
  std::free(info);
}

bool StopRequested() {
  HANDLE stop = stopEvent.load();
  return stop && WaitForSingleObject(stop, kStopCheckMs) != WAIT_TIMEOUT;
}

DWORD WatchLine(LPVOID) {
  if (!stopEvent.load()) return kThreadFailed;
  LineRecord record;
  if (!OpenLine(record)) return kThreadFailed;
  while (!StopRequested()) {
    if (WaitForSingleObject(record.messageEvent, kMessageWaitMs) == WAIT_TIMEOUT) continue;
    LINEMESSAGE message;
    if (lineGetMessage(record.app, &message, 0) != 0) continue;
    if (message.dwMessageID != LINE_CALLSTATE) continue;
    DWORD_PTR state = message.dwParam1;
    if (state & LINECALLSTATE_CONNECTED) {
      HandleConnectedCall(message.hDevice);
    } else if (state & LINECALLSTATE_DISCONNECTED) {
      PostThreadMessageW(mainThread, WM_TALK_ENDED, 0, 0);
    }
  }
  CloseLine(record);
  return 0;
}

}  // namespace

bool StartLineWatcher(DWORD mainThreadId) {
  stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!stopEvent.load()) {
    StopLineWatcher();
    return false;
  }
  watcherThread = CreateThread(nullptr, 0, WatchLine, nullptr, CREATE_SUSPENDED, nullptr);
  if (!watcherThread) {
    StopLineWatcher();
    return false;
  }
  mainThread = mainThreadId;
  ResumeThread(watcherThread);
  return true;
}

void StopLineWatcher() {
  if (HANDLE stop = stopEvent.load()) SetEvent(stop);
  if (watcherThread) {
    if (WaitForSingleObject(watcherThread, kStopWaitMs) == WAIT_TIMEOUT) {
      TerminateThread(watcherThread, kThreadFailed);
    }
    CloseHandle(watcherThread);
    watcherThread = nullptr;
  }
  if (HANDLE stop = stopEvent.exchange(nullptr)) CloseHandle(stop);
}

}  // namespace callchime
