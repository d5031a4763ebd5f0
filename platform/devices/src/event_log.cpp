#include "platform/event_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/device.h"

namespace platform {

void AppendDeviceEvent(std::string_view device, std::string_view what) {
  std::string line = std::to_string(DeviceNowMs()) + ' ' + std::to_string(getpid()) + ' ' +
                     std::string(device) + ' ' + std::string(what) + '\n';
  // One write of a short line to a file opened for appending lands whole, even with several
  // processes writing.
  int fd =
      open((DeviceHome() / "events.log").c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  ssize_t written = write(fd, line.data(), line.size());
  (void)written;  // an event that cannot be logged changes nothing on the device
  close(fd);
}

std::vector<DeviceEvent> ReadDeviceEvents() {
  std::vector<DeviceEvent> events;
  std::ifstream log(DeviceHome() / "events.log");
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream fields(line);
    DeviceEvent event;
    if (!(fields >> event.timeMs >> event.processId >> event.device)) continue;
    std::getline(fields >> std::ws, event.what);
    events.push_back(std::move(event));
  }
  return events;
}

std::string FormatDeviceEvent(const DeviceEvent& event) {
  return std::to_string(event.timeMs) + ' ' + std::to_string(event.processId) + ' ' + event.device +
         ' ' + event.what;
}

}  // namespace platform
