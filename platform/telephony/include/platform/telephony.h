// Telephony line functions over the device's line provider (platform/line_provider.h).
//
// The device's lines are those of its profile. A call's state changes come from the provider
// (driven by the control tool) and reach every line application of every process that has that
// line open, as LINE_CALLSTATE messages in the order they happened. Applications receive their
// messages through lineGetMessage and the event lineInitializeEx hands out
// (LINEINITIALIZEEXOPTION_USEEVENT, the one option offered here). Only API version 2.0 is offered.
#pragma once

#include "platform/types.h"

using HLINEAPP = DWORD;
using HLINE = DWORD;
using HCALL = DWORD;
using LPHLINEAPP = HLINEAPP*;
using LPHLINE = HLINE*;
using LINECALLBACK = void (*)(DWORD device, DWORD message, DWORD_PTR instance, DWORD_PTR param1,
                              DWORD_PTR param2, DWORD_PTR param3);

inline constexpr DWORD TAPI_VERSION_2_0 = 0x00020000;

inline constexpr LONG LINEERR_BADDEVICEID = static_cast<LONG>(0x80000002);
inline constexpr LONG LINEERR_INCOMPATIBLEAPIVERSION = static_cast<LONG>(0x8000000C);
inline constexpr LONG LINEERR_INVALAPPHANDLE = static_cast<LONG>(0x80000015);
inline constexpr LONG LINEERR_INVALCALLHANDLE = static_cast<LONG>(0x80000018);
inline constexpr LONG LINEERR_INVALLINEHANDLE = static_cast<LONG>(0x8000002B);
inline constexpr LONG LINEERR_INVALPARAM = static_cast<LONG>(0x80000032);
inline constexpr LONG LINEERR_INVALPOINTER = static_cast<LONG>(0x80000035);
inline constexpr LONG LINEERR_OPERATIONFAILED = static_cast<LONG>(0x80000048);
inline constexpr LONG LINEERR_STRUCTURETOOSMALL = static_cast<LONG>(0x8000004D);

inline constexpr DWORD LINEINITIALIZEEXOPTION_USEEVENT = 0x00000002;
inline constexpr DWORD LINECALLPRIVILEGE_NONE = 0x00000001;
inline constexpr DWORD LINECALLPRIVILEGE_MONITOR = 0x00000002;
inline constexpr DWORD LINECALLPRIVILEGE_OWNER = 0x00000004;

inline constexpr DWORD LINEMEDIAMODE_UNKNOWN = 0x00000002;
inline constexpr DWORD LINEMEDIAMODE_INTERACTIVEVOICE = 0x00000004;
inline constexpr DWORD LINEMEDIAMODE_AUTOMATEDVOICE = 0x00000008;
inline constexpr DWORD LINEMEDIAMODE_DATAMODEM = 0x00000010;
inline constexpr DWORD LINEMEDIAMODE_G3FAX = 0x00000020;

inline constexpr DWORD LINE_CALLSTATE = 2;

inline constexpr DWORD LINECALLSTATE_IDLE = 0x00000001;
inline constexpr DWORD LINECALLSTATE_OFFERING = 0x00000002;
inline constexpr DWORD LINECALLSTATE_DIALING = 0x00000010;
inline constexpr DWORD LINECALLSTATE_RINGBACK = 0x00000020;
inline constexpr DWORD LINECALLSTATE_CONNECTED = 0x00000100;
inline constexpr DWORD LINECALLSTATE_ONHOLD = 0x00000400;
inline constexpr DWORD LINECALLSTATE_DISCONNECTED = 0x00004000;

inline constexpr DWORD STRINGFORMAT_UNICODE = 2;

struct LINEINITIALIZEEXPARAMS {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwOptions;
  union {
    HANDLE hEvent;
    HANDLE hCompletionPort;
  } Handles;
  DWORD dwCompletionKey;
};

struct LINEEXTENSIONID {
  DWORD dwExtensionID0;
  DWORD dwExtensionID1;
  DWORD dwExtensionID2;
  DWORD dwExtensionID3;
};

// The fixed part of a line's capabilities; variable parts (the name) follow it in the caller's
// block, at the offsets given, when dwTotalSize leaves room (dwNeededSize says how much).
struct LINEDEVCAPS {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwProviderInfoSize;
  DWORD dwProviderInfoOffset;
  DWORD dwSwitchInfoSize;
  DWORD dwSwitchInfoOffset;
  DWORD dwPermanentLineID;
  DWORD dwLineNameSize;  // bytes, with the terminating zero
  DWORD dwLineNameOffset;
  DWORD dwStringFormat;
  DWORD dwAddressModes;
  DWORD dwNumAddresses;
  DWORD dwBearerModes;
  DWORD dwMaxRate;
  DWORD dwMediaModes;
};

struct LINEMESSAGE {
  DWORD hDevice;  // the call handle for LINE_CALLSTATE
  DWORD dwMessageID;
  DWORD_PTR dwCallbackInstance;
  DWORD_PTR dwParam1;  // LINE_CALLSTATE: the new call state
  DWORD_PTR dwParam2;
  DWORD_PTR dwParam3;
};

struct LINECALLINFO {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  HLINE hLine;
  DWORD dwLineDeviceID;
  DWORD dwAddressID;
  DWORD dwBearerMode;
  DWORD dwRate;
  DWORD dwMediaMode;
  DWORD dwAppSpecific;
  DWORD dwCallID;
  DWORD dwRelatedCallID;
  DWORD dwCallParamFlags;
  DWORD dwCallStates;
};

struct LINECALLPARAMS;

LONG lineInitializeEx(LPHLINEAPP lineApp, HINSTANCE instance, LINECALLBACK callback,
                      LPCWSTR appName, LPDWORD numDevices, LPDWORD apiVersion,
                      LINEINITIALIZEEXPARAMS* params);
LONG lineNegotiateAPIVersion(HLINEAPP lineApp, DWORD deviceId, DWORD lowVersion, DWORD highVersion,
                             LPDWORD apiVersion, LINEEXTENSIONID* extensionId);
LONG lineGetDevCaps(HLINEAPP lineApp, DWORD deviceId, DWORD apiVersion, DWORD extVersion,
                    LINEDEVCAPS* caps);
LONG lineOpen(HLINEAPP lineApp, DWORD deviceId, LPHLINE line, DWORD apiVersion, DWORD extVersion,
              DWORD_PTR callbackInstance, DWORD privileges, DWORD mediaModes,
              const LINECALLPARAMS* callParams);
// Takes the oldest message, waiting up to timeoutMs device milliseconds.
LONG lineGetMessage(HLINEAPP lineApp, LINEMESSAGE* message, DWORD timeoutMs);
LONG lineGetCallInfo(HCALL call, LINECALLINFO* info);
LONG lineClose(HLINE line);
LONG lineShutdown(HLINEAPP lineApp);
