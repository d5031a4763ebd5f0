// A program image given as a file, made the program's "BINDATA"/"VORTEKAN" resource.
#pragma once

#include <filesystem>
#include <string>

namespace runner {

// Reads the file and registers it over any built-in image. False with the reason in error when
// the file cannot be read; its contents are checked only when the board inflates them.
bool UseProgramImageFile(const std::filesystem::path& file, std::string& error);

}  // namespace runner
