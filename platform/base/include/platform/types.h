// Basic types of the device's programming interface, as the programs written for it expect them.
// Text is UTF-16 (WCHAR is char16_t, so L"..." literals are written u"..." here).
#pragma once

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using INT = int;
using UINT = unsigned int;
using BOOL = int;
using SHORT = int16_t;
using USHORT = uint16_t;
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using DWORD_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using SIZE_T = uintptr_t;
using HRESULT = int32_t;

using HANDLE = void*;
using HINSTANCE = struct HINSTANCE__*;
using HMODULE = HINSTANCE;
using HWND = struct HWND__*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// Error codes kept per thread (GetLastError).
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_MORE_DATA = 234;
inline constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
inline constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
inline constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

DWORD GetLastError();
void SetLastError(DWORD error);

// Integer resource names: a number below 0x10000 passed where a name string is expected.
inline LPCWSTR MAKEINTRESOURCEW(unsigned id) {
  return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(id & 0xFFFF));
}
inline bool IS_INTRESOURCE(LPCWSTR name) {
  return reinterpret_cast<uintptr_t>(name) >> 16 == 0;
}
