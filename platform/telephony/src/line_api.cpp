// The line functions of this process: its line applications, open lines and known calls.
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "platform/device_channel.h"
#include "platform/line_provider.h"
#include "platform/process.h"
#include "platform/sync.h"
#include "platform/telephony.h"
#include "wire.h"

namespace {

using platform::telephony::LineEventWire;

struct LineApp {
  HANDLE event;  // set while messages wait
  std::deque<LINEMESSAGE> messages;
  std::vector<std::u16string> lines;  // the device's lines when the application started
};

struct OpenLine {
  HLINEAPP app;
  DWORD device;
  DWORD_PTR callbackInstance;
};

struct KnownCall {
  HLINE line;
  DWORD device;
  uint32_t callId;
  DWORD mediaMode;
  DWORD state;
};

std::mutex stateMutex;
std::map<HLINEAPP, LineApp> apps;
std::map<HLINE, OpenLine> openLines;
std::map<HCALL, KnownCall> calls;
DWORD nextHandle = 0x10001;

constexpr DWORD kCapsMediaModes =
    LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM | LINEMEDIAMODE_G3FAX;

// The call handle of a provider call on one open line, made when the line first hears of it.
HCALL CallHandleFor(HLINE line, const LineEventWire& wire) {
  for (auto& [handle, call] : calls) {
    if (call.line == line && call.callId == wire.callId) {
      call.state = wire.state;
      call.mediaMode = wire.mediaMode;
      return handle;
    }
  }
  HCALL handle = nextHandle++;
  calls[handle] = {line, wire.line, wire.callId, wire.mediaMode, wire.state};
  return handle;
}

void ReceiveLineEvent(std::span<const std::byte> payload) {
  LineEventWire wire;
  if (payload.size() != sizeof wire) return;
  std::memcpy(&wire, payload.data(), sizeof wire);
  std::lock_guard lock(stateMutex);
  for (const auto& [line, open] : openLines) {
    if (open.device != wire.line) continue;
    auto app = apps.find(open.app);
    if (app == apps.end()) continue;
    HCALL call = CallHandleFor(line, wire);
    app->second.messages.push_back({call, LINE_CALLSTATE, open.callbackInstance, wire.state, 0, 0});
    SetEvent(app->second.event);
  }
}

}  // namespace

LONG lineInitializeEx(LPHLINEAPP lineApp, HINSTANCE, LINECALLBACK, LPCWSTR, LPDWORD numDevices,
                      LPDWORD apiVersion, LINEINITIALIZEEXPARAMS* params) {
  if (!lineApp || !numDevices || !apiVersion || !params) return LINEERR_INVALPOINTER;
  if (params->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS)) return LINEERR_STRUCTURETOOSMALL;
  if (params->dwOptions != LINEINITIALIZEEXOPTION_USEEVENT) return LINEERR_INVALPARAM;
  if (*apiVersion < TAPI_VERSION_2_0) return LINEERR_INCOMPATIBLEAPIVERSION;
  platform::JoinDevice();
  platform::SetChannelHandler(platform::ChannelKind::LineEvent, ReceiveLineEvent);
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::lock_guard lock(stateMutex);
  HLINEAPP handle = nextHandle++;
  apps[handle] = {event, {}, platform::telephony::ProfileLines()};
  *lineApp = handle;
  *numDevices = static_cast<DWORD>(apps[handle].lines.size());
  *apiVersion = TAPI_VERSION_2_0;
  params->dwNeededSize = params->dwUsedSize = sizeof(LINEINITIALIZEEXPARAMS);
  params->Handles.hEvent = event;
  return 0;
}

LONG lineNegotiateAPIVersion(HLINEAPP lineApp, DWORD deviceId, DWORD lowVersion, DWORD highVersion,
                             LPDWORD apiVersion, LINEEXTENSIONID* extensionId) {
  std::lock_guard lock(stateMutex);
  auto app = apps.find(lineApp);
  if (app == apps.end()) return LINEERR_INVALAPPHANDLE;
  if (deviceId >= app->second.lines.size()) return LINEERR_BADDEVICEID;
  if (!apiVersion) return LINEERR_INVALPOINTER;
  if (lowVersion > TAPI_VERSION_2_0 || highVersion < TAPI_VERSION_2_0) {
    return LINEERR_INCOMPATIBLEAPIVERSION;
  }
  *apiVersion = TAPI_VERSION_2_0;
  if (extensionId) *extensionId = {};
  return 0;
}

LONG lineGetDevCaps(HLINEAPP lineApp, DWORD deviceId, DWORD apiVersion, DWORD, LINEDEVCAPS* caps) {
  std::lock_guard lock(stateMutex);
  auto app = apps.find(lineApp);
  if (app == apps.end()) return LINEERR_INVALAPPHANDLE;
  if (deviceId >= app->second.lines.size()) return LINEERR_BADDEVICEID;
  if (apiVersion != TAPI_VERSION_2_0) return LINEERR_INCOMPATIBLEAPIVERSION;
  if (!caps) return LINEERR_INVALPOINTER;
  DWORD total = caps->dwTotalSize;
  if (total < sizeof(LINEDEVCAPS)) return LINEERR_STRUCTURETOOSMALL;
  const std::u16string& name = app->second.lines[deviceId];
  auto nameBytes = static_cast<DWORD>((name.size() + 1) * sizeof(char16_t));
  std::memset(caps, 0, sizeof(LINEDEVCAPS));
  caps->dwTotalSize = total;
  caps->dwNeededSize = sizeof(LINEDEVCAPS) + nameBytes;
  caps->dwUsedSize = sizeof(LINEDEVCAPS);
  caps->dwPermanentLineID = deviceId;
  caps->dwStringFormat = STRINGFORMAT_UNICODE;
  caps->dwNumAddresses = 1;
  caps->dwMediaModes = kCapsMediaModes;
  if (total >= caps->dwNeededSize) {
    caps->dwLineNameSize = nameBytes;
    caps->dwLineNameOffset = sizeof(LINEDEVCAPS);
    std::memcpy(reinterpret_cast<BYTE*>(caps) + sizeof(LINEDEVCAPS), name.c_str(), nameBytes);
    caps->dwUsedSize = caps->dwNeededSize;
  }
  return 0;
}

LONG lineOpen(HLINEAPP lineApp, DWORD deviceId, LPHLINE line, DWORD apiVersion, DWORD,
              DWORD_PTR callbackInstance, DWORD privileges, DWORD, const LINECALLPARAMS*) {
  {
    std::lock_guard lock(stateMutex);
    auto app = apps.find(lineApp);
    if (app == apps.end()) return LINEERR_INVALAPPHANDLE;
    if (deviceId >= app->second.lines.size()) return LINEERR_BADDEVICEID;
    if (apiVersion != TAPI_VERSION_2_0) return LINEERR_INCOMPATIBLEAPIVERSION;
    if (!line) return LINEERR_INVALPOINTER;
    if (privileges == 0) return LINEERR_INVALPARAM;
    *line = nextHandle++;
    openLines[*line] = {lineApp, deviceId, callbackInstance};
  }
  platform::telephony::MarkLineOpen(deviceId, true);
  return 0;
}

LONG lineGetMessage(HLINEAPP lineApp, LINEMESSAGE* message, DWORD timeoutMs) {
  if (!message) return LINEERR_INVALPOINTER;
  HANDLE event;
  {
    std::lock_guard lock(stateMutex);
    auto app = apps.find(lineApp);
    if (app == apps.end()) return LINEERR_INVALAPPHANDLE;
    event = app->second.event;
  }
  if (timeoutMs != 0 && WaitForSingleObject(event, timeoutMs) != WAIT_OBJECT_0) {
    return LINEERR_OPERATIONFAILED;
  }
  std::lock_guard lock(stateMutex);
  auto app = apps.find(lineApp);
  if (app == apps.end()) return LINEERR_INVALAPPHANDLE;
  auto& queue = app->second.messages;
  if (queue.empty()) return LINEERR_OPERATIONFAILED;
  *message = queue.front();
  queue.pop_front();
  // A call is gone once it is idle; its handle stays valid until the application has taken that
  // news, so the messages before it can still be looked into.
  if (message->dwMessageID == LINE_CALLSTATE && message->dwParam1 == LINECALLSTATE_IDLE) {
    calls.erase(message->hDevice);
  }
  if (queue.empty()) ResetEvent(app->second.event);
  return 0;
}

LONG lineGetCallInfo(HCALL call, LINECALLINFO* info) {
  if (!info) return LINEERR_INVALPOINTER;
  DWORD total = info->dwTotalSize;
  if (total < sizeof(LINECALLINFO)) return LINEERR_STRUCTURETOOSMALL;
  std::lock_guard lock(stateMutex);
  auto it = calls.find(call);
  if (it == calls.end()) return LINEERR_INVALCALLHANDLE;
  std::memset(info, 0, sizeof(LINECALLINFO));
  info->dwTotalSize = total;
  info->dwNeededSize = info->dwUsedSize = sizeof(LINECALLINFO);
  info->hLine = it->second.line;
  info->dwLineDeviceID = it->second.device;
  info->dwMediaMode = it->second.mediaMode;
  info->dwCallID = it->second.callId;
  info->dwCallStates = it->second.state;
  return 0;
}

LONG lineClose(HLINE line) {
  DWORD device;
  {
    std::lock_guard lock(stateMutex);
    auto it = openLines.find(line);
    if (it == openLines.end()) return LINEERR_INVALLINEHANDLE;
    device = it->second.device;
    openLines.erase(it);
    std::erase_if(calls, [line](const auto& entry) { return entry.second.line == line; });
  }
  platform::telephony::MarkLineOpen(device, false);
  return 0;
}

LONG lineShutdown(HLINEAPP lineApp) {
  std::vector<HLINE> owned;
  HANDLE event;
  {
    std::lock_guard lock(stateMutex);
    auto app = apps.find(lineApp);
    if (app == apps.end()) return LINEERR_INVALAPPHANDLE;
    for (const auto& [line, open] : openLines) {
      if (open.app == lineApp) owned.push_back(line);
    }
    event = app->second.event;
    apps.erase(app);
  }
  for (HLINE line : owned) lineClose(line);
  CloseHandle(event);
  return 0;
}
