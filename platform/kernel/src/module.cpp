#include "platform/module.h"

#include <unistd.h>

#include <algorithm>

#include "platform/files.h"

namespace platform {
namespace {

std::u16string ProgramName() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string stem = error ? std::string("program") : executable.stem().string();
  return FromUtf8(stem);
}

}  // namespace

std::u16string ProgramFolder() {
  return u"\\Program Files\\" + ProgramName();
}

void SetProgramHostFolder(const std::filesystem::path& hostFolder) {
  MountDeviceFolder(ProgramFolder(), hostFolder);
}

}  // namespace platform

DWORD GetModuleFileNameW(HMODULE, LPWSTR fileName, DWORD size) {
  const std::u16string folder = platform::ProgramFolder();
  // The program's folder exists on the device as soon as the program runs.
  if (const auto host = platform::DevicePathToHost(folder)) {
    std::error_code ignored;
    std::filesystem::create_directories(*host, ignored);
  }
  const std::u16string name = folder + u"\\" + folder.substr(folder.rfind(u'\\') + 1) + u".exe";
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const DWORD copied = std::min<DWORD>(static_cast<DWORD>(name.size()), size - 1);
  name.copy(fileName, copied);
  fileName[copied] = 0;
  if (copied < name.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  return copied;
}
