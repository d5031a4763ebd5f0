// The registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE kept in the SQLite database
// registry.db in the device home. Every process of the device works on the same database
// (write-ahead log, waits up to 5 s for a busy writer); each change is one transaction, so a
// process killed in the middle of a write leaves every value either old or new. Values keep the
// type they were written with. Key and value names compare without regard to ASCII case.
// A database file that is not a registry is reported once on stderr and left untouched; every
// call then fails with ERROR_BADDB.
#pragma once

#include "platform/types.h"

using HKEY = struct HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;

inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;
inline constexpr DWORD ERROR_BADDB = 1009;

struct SECURITY_ATTRIBUTES;
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

// Opens an existing key (ERROR_FILE_NOT_FOUND when it does not exist).
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens a key, creating it and its missing parents.
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, SECURITY_ATTRIBUTES* security, PHKEY result,
                     LPDWORD disposition);
// Counts and largest sizes of a key's subkeys and values (names in characters, data in bytes);
// keys have no class, security descriptor or write time here (reported as empty and zero).
LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved,
                      LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength,
                      LPDWORD values, LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                      LPDWORD securityDescriptorLength, FILETIME* lastWriteTime);
// Reads a value with its type; ERROR_MORE_DATA (and the needed size) when the buffer is short.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataLength);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataLength);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
LONG RegCloseKey(HKEY key);
