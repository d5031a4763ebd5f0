// The running program's module.
//
// The program lives on the device as "\Program Files\<name>\<name>.exe", <name> being the host
// executable's file name without extension. Its folder maps to <home>/root/Program Files/<name>
// unless a host folder is mounted there (SetProgramHostFolder), which is how a runner chooses
// where the files the program keeps beside itself go.
#pragma once

#include <filesystem>
#include <string>

#include "platform/types.h"

// The device path of the module's file (hModule null or the program's own instance). Returns
// the characters copied without the terminator; a short buffer gets a truncated, terminated
// name, the result size and ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

namespace platform {

// "\Program Files\<name>" without the trailing backslash.
std::u16string ProgramFolder();

// Shows hostFolder as the program's folder on the device.
void SetProgramHostFolder(const std::filesystem::path& hostFolder);

}  // namespace platform
