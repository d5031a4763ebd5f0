#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "platform/device.h"
#include "platform/handles.h"

namespace platform {
namespace {

class FileObject : public KernelObject {
 public:
  explicit FileObject(int fd) : fd_(fd) {}
  ~FileObject() override { close(fd_); }
  int fd() const { return fd_; }

 private:
  int fd_;
};

std::mutex mountsMutex;
std::map<std::u16string, std::filesystem::path> mounts;  // folded device prefix -> host folder

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return folded;
}

// "\a\\b\" -> "\a\b": one separator between components, none at the end.
std::u16string Normalise(std::u16string_view path) {
  std::u16string out;
  for (char16_t c : path) {
    if (c == u'/') c = u'\\';
    if (c == u'\\' && !out.empty() && out.back() == u'\\') continue;
    out += c;
  }
  if (out.size() > 1 && out.back() == u'\\') out.pop_back();
  if (out.empty() || out[0] != u'\\') out.insert(out.begin(), u'\\');
  return out;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    default: return ERROR_INVALID_PARAMETER;
  }
}

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
  auto file = LookupHandleAs<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1F
                 : length == 3 ? lead & 0x0F
                               : lead & 0x07;
    for (int k = 1; k < length && i + k < text.size(); ++k)
      c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += length;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::optional<std::filesystem::path> DevicePathToHost(std::u16string_view devicePath) {
  const std::u16string path = Normalise(devicePath);
  std::filesystem::path host;
  std::u16string rest = path;
  {
    std::lock_guard lock(mountsMutex);
    const std::u16string folded = FoldCase(path);
    size_t bestLength = 0;
    for (const auto& [prefix, folder] : mounts) {
      const bool matches = folded.compare(0, prefix.size(), prefix) == 0 &&
                           (folded.size() == prefix.size() || folded[prefix.size()] == u'\\');
      if (matches && prefix.size() > bestLength) {
        bestLength = prefix.size();
        host = folder;
      }
    }
    if (bestLength) rest = path.substr(bestLength);
  }
  if (host.empty()) host = DeviceHome() / "root";
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find(u'\\', start + 1);
    if (end == std::u16string::npos) end = rest.size();
    const std::u16string component = rest.substr(start + 1, end - start - 1);
    if (component == u"..") return std::nullopt;
    if (!component.empty() && component != u".") host /= ToUtf8(component);
    start = end;
  }
  return host;
}

void MountDeviceFolder(std::u16string_view devicePrefix, const std::filesystem::path& hostFolder) {
  std::lock_guard lock(mountsMutex);
  mounts[FoldCase(Normalise(devicePrefix))] = hostFolder;
}

}  // namespace platform

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD, SECURITY_ATTRIBUTES*,
                   DWORD creationDisposition, DWORD, HANDLE) {
  const auto host = fileName ? platform::DevicePathToHost(fileName) : std::nullopt;
  if (!host) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const bool reading = desiredAccess & GENERIC_READ;
  const bool writing = desiredAccess & GENERIC_WRITE;
  int flags = reading && writing ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
  switch (creationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  const int fd = open(host->c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(platform::ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return platform::RegisterHandle(std::make_shared<platform::FileObject>(fd));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD bytesRead, OVERLAPPED*) {
  if (bytesRead) *bytesRead = 0;
  auto object = platform::LookupFile(file);
  if (!object) return FALSE;
  DWORD total = 0;
  while (total < toRead) {
    const ssize_t n = read(object->fd(), static_cast<char*>(buffer) + total, toRead - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ERROR_READ_FAULT);
      return FALSE;
    }
    if (n == 0) break;
    total += static_cast<DWORD>(n);
  }
  if (bytesRead) *bytesRead = total;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD bytesWritten, OVERLAPPED*) {
  if (bytesWritten) *bytesWritten = 0;
  auto object = platform::LookupFile(file);
  if (!object) return FALSE;
  DWORD total = 0;
  while (total < toWrite) {
    const ssize_t n =
        write(object->fd(), static_cast<const char*>(buffer) + total, toWrite - total);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (bytesWritten) *bytesWritten = total;
      SetLastError(ERROR_WRITE_FAULT);
      return FALSE;
    }
    total += static_cast<DWORD>(n);
  }
  if (bytesWritten) *bytesWritten = total;
  return TRUE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
  const auto host = fileName ? platform::DevicePathToHost(fileName) : std::nullopt;
  if (!host) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (unlink(host->c_str()) != 0) {
    SetLastError(platform::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}
