// Files of the device.
//
// Device paths are absolute, with backslashes: "\Program Files\Vortekan\vortekan.hi". They map
// to host paths under the device's file-system root, DeviceHome()/"root", so "\My Documents\a"
// is <home>/root/My Documents/a. A device folder can instead be mounted on any host folder
// (MountDeviceFolder); the longest mounted prefix wins. Names are compared case-insensitively
// for ASCII letters when matching mounts; below a mount the host's own rules apply. A path with a
// ".." component is refused, so a device path never leaves its root or its mount.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/types.h"

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_WRITE_FAULT = 29;
inline constexpr DWORD ERROR_READ_FAULT = 30;

struct SECURITY_ATTRIBUTES;
struct OVERLAPPED;

// Opens or creates a file by device path; INVALID_HANDLE_VALUE and the error on failure. Sharing
// modes, attributes, security and templates are accepted and ignored.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   SECURITY_ATTRIBUTES* security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
// Reads up to toRead bytes at the file position; bytesRead 0 at the end of the file.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD bytesRead, OVERLAPPED* overlapped);
// Writes the bytes at the file position.
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD bytesWritten,
               OVERLAPPED* overlapped);
// Deletes a file by device path.
BOOL DeleteFileW(LPCWSTR fileName);

namespace platform {

// The host path of a device path, or nothing when the path is not a valid device path.
std::optional<std::filesystem::path> DevicePathToHost(std::u16string_view devicePath);

// Makes the device folder devicePrefix ("\Program Files\Vortekan") show the host folder.
void MountDeviceFolder(std::u16string_view devicePrefix, const std::filesystem::path& hostFolder);

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace platform
