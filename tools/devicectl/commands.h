// The subcommands of the device control tool. Each takes the words after its name and returns
// the process exit code (0 done, 1 failed, 2 misused), printing results to stdout and problems
// to stderr.
#pragma once

#include <string>
#include <vector>

namespace devicectl {

using Arguments = std::vector<std::string>;

int CallCommand(const Arguments& args);
int LinesCommand(const Arguments& args);
int RegistryCommand(const Arguments& args);
int EventsCommand(const Arguments& args);
int StateCommand(const Arguments& args);
int ProcessesCommand(const Arguments& args);
int PostCommand(const Arguments& args);
int KeyCommand(const Arguments& args);
int ScreenCommand(const Arguments& args);

// Parses a whole number in decimal or 0x-hexadecimal, negative allowed; false on anything else.
bool ParseNumber(const std::string& text, long long& value);
int Usage(const std::string& problem);

}  // namespace devicectl
