// devicectl: drives and inspects the simulated device of a device home (VDEVICE_HOME): places
// and ends calls, reads and writes the registry, shows the event log, device states and
// processes, posts messages and keys to the device's programs, and shows its screen.
#include <cstdio>
#include <map>

#include "commands.h"

namespace devicectl {

int Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "devicectl: %s\n", problem.c_str());
  std::fputs(
      "usage: devicectl COMMAND ...\n"
      "  call connect --voice|--data|--fax [--line N]   a new call on line N (default 0) connects\n"
      "  call disconnect [--line N] [--call ID]         a call ends (default: the line's oldest)\n"
      "  call list                                      the calls in progress\n"
      "  lines                                          the device's telephony lines\n"
      "  reg get ROOT\\KEY NAME                           ROOT is HKLM or HKCU\n"
      "  reg set ROOT\\KEY NAME dword|sz|binary VALUE     binary VALUE as hex digits\n"
      "  events                                         the device event log\n"
      "  state                                          vibrator and backlight now\n"
      "  ps                                             the device's processes and threads\n"
      "  post EXE MESSAGE [WPARAM [LPARAM]]             to every thread of processes named EXE\n"
      "  key CLASS KEY                                  key down and up to a window of CLASS\n"
      "  screen [--keys-to CLASS]                       a window showing the device's screen,\n"
      "                                                 backlight and vibrator; typed keys go\n"
      "                                                 to the window of CLASS\n",
      stderr);
  return 2;
}

bool ParseNumber(const std::string& text, long long& value) {
  if (text.empty()) return false;
  size_t start = text[0] == '-' ? 1 : 0;
  bool hex = text.size() > start + 2 && text[start] == '0' &&
             (text[start + 1] == 'x' || text[start + 1] == 'X');
  size_t digits = start + (hex ? 2 : 0);
  if (digits >= text.size()) return false;
  unsigned long long magnitude = 0;
  for (size_t i = digits; i < text.size(); ++i) {
    char c = text[i];
    int digit = c >= '0' && c <= '9'          ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
    if (digit < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  value = start ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  return true;
}

}  // namespace devicectl

int main(int argc, char** argv) {
  using namespace devicectl;
  static const std::map<std::string, int (*)(const Arguments&)> commands = {
      {"call", CallCommand},     {"lines", LinesCommand}, {"reg", RegistryCommand},
      {"events", EventsCommand}, {"state", StateCommand}, {"ps", ProcessesCommand},
      {"post", PostCommand},     {"key", KeyCommand},     {"screen", ScreenCommand},
  };
  if (argc < 2) return Usage("");
  auto command = commands.find(argv[1]);
  if (command == commands.end()) return Usage(std::string("unknown command ") + argv[1]);
  return command->second(Arguments(argv + 2, argv + argc));
}
