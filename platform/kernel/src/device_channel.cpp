#include "platform/device_channel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/device.h"
#include "platform/process.h"

namespace platform {
namespace {

constexpr size_t kMaxDatagram = 64 * 1024;

std::mutex handlersMutex;
std::map<ChannelKind, ChannelHandler> handlers;

// Abstract socket names live outside the file system (no length limit from deep device homes, no
// files left behind); the device home's hash keeps devices apart.
sockaddr_un AddressOf(DWORD processId, socklen_t& length) {
  static const uint64_t homeHash = [] {
    std::error_code ignored;
    std::string home = std::filesystem::weakly_canonical(DeviceHome(), ignored).string();
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : home) hash = (hash ^ c) * 1099511628211ull;
    return hash;
  }();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string name = "vdevice-" + std::to_string(homeHash) + "-" + std::to_string(processId);
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  return address;
}

void Dispatch(const std::byte* data, size_t size) {
  uint32_t kind;
  if (size < sizeof kind) return;
  std::memcpy(&kind, data, sizeof kind);
  ChannelHandler handler;
  {
    std::lock_guard lock(handlersMutex);
    auto it = handlers.find(static_cast<ChannelKind>(kind));
    if (it == handlers.end()) return;
    handler = it->second;
  }
  handler(std::span<const std::byte>(data + sizeof kind, size - sizeof kind));
}

}  // namespace

void SetChannelHandler(ChannelKind kind, ChannelHandler handler) {
  std::lock_guard lock(handlersMutex);
  handlers[kind] = std::move(handler);
}

void StartChannelListener() {
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  socklen_t length;
  sockaddr_un address = AddressOf(static_cast<DWORD>(getpid()), length);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    close(fd);
    return;
  }
  std::thread([fd] {
    std::vector<std::byte> buffer(kMaxDatagram);
    for (;;) {
      ssize_t received = recv(fd, buffer.data(), buffer.size(), 0);
      if (received > 0) Dispatch(buffer.data(), static_cast<size_t>(received));
    }
  }).detach();
}

bool SendToDeviceProcess(DWORD processId, ChannelKind kind, std::span<const std::byte> payload) {
  if (payload.size() + sizeof(uint32_t) > kMaxDatagram) return false;
  std::vector<std::byte> datagram(sizeof(uint32_t) + payload.size());
  auto kindValue = static_cast<uint32_t>(kind);
  std::memcpy(datagram.data(), &kindValue, sizeof kindValue);
  if (!payload.empty())
    std::memcpy(datagram.data() + sizeof kindValue, payload.data(), payload.size());

  static const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  socklen_t length;
  sockaddr_un address = AddressOf(processId, length);
  // A full receiver queue makes the sender wait, so nothing is dropped; datagrams of one sender
  // keep their order.
  return sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&address),
                length) == static_cast<ssize_t>(datagram.size());
}

}  // namespace platform
