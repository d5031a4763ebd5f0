#include <cstdio>
#include <optional>

#include "commands.h"
#include "platform/line_provider.h"
#include "platform/telephony.h"
#include "platform/wide_text.h"

namespace devicectl {
namespace {

void PrintCall(const platform::telephony::CallRecord& call) {
  std::printf("call %u line %u %s %s\n", call.id, call.line,
              platform::telephony::MediaModeName(call.mediaMode).c_str(),
              platform::telephony::CallStateName(call.state).c_str());
}

}  // namespace

int CallCommand(const Arguments& args) {
  if (args.empty()) return Usage("call needs connect, disconnect or list");
  const std::string& action = args[0];
  uint32_t line = 0;
  std::optional<uint32_t> callId;
  std::optional<uint32_t> mediaMode;
  for (size_t i = 1; i < args.size(); ++i) {
    long long number;
    if (args[i] == "--voice") {
      mediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
    } else if (args[i] == "--data") {
      mediaMode = LINEMEDIAMODE_DATAMODEM;
    } else if (args[i] == "--fax") {
      mediaMode = LINEMEDIAMODE_G3FAX;
    } else if ((args[i] == "--line" || args[i] == "--call") && i + 1 < args.size() &&
               ParseNumber(args[i + 1], number) && number >= 0) {
      (args[i] == "--line" ? line : callId.emplace()) = static_cast<uint32_t>(number);
      ++i;
    } else {
      return Usage("call: unexpected " + args[i]);
    }
  }
  if (action == "connect") {
    if (!mediaMode) return Usage("call connect needs --voice, --data or --fax");
    auto call = platform::telephony::ConnectCall(line, *mediaMode);
    if (!call) {
      std::fprintf(stderr, "devicectl: the device has no line %u\n", line);
      return 1;
    }
    PrintCall(*call);
    return 0;
  }
  if (action == "disconnect") {
    auto call = platform::telephony::DisconnectCall(line, callId);
    if (!call) {
      std::fprintf(stderr, "devicectl: no such call in progress\n");
      return 1;
    }
    PrintCall(*call);
    return 0;
  }
  if (action == "list") {
    for (const auto& call : platform::telephony::ListCalls()) PrintCall(call);
    return 0;
  }
  return Usage("call: unknown action " + action);
}

int LinesCommand(const Arguments& args) {
  if (!args.empty()) return Usage("lines takes no arguments");
  auto lines = platform::telephony::ProfileLines();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::printf("%zu %s\n", i, platform::ToUtf8(lines[i]).c_str());
  }
  return 0;
}

}  // namespace devicectl
