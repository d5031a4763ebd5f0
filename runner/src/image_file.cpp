#include "image_file.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/embedded_resources.h"

namespace runner {

bool UseProgramImageFile(const std::filesystem::path& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = "cannot read the program image " + file.string();
    return false;
  }
  // Registered resources must live as long as the process.
  static std::vector<unsigned char> bytes;
  static platform::EmbeddedResource resource;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  resource = {{u"BINDATA", 0}, {u"VORTEKAN", 0}, bytes.data(), bytes.size()};
  platform::RegisterEmbeddedResources(&resource, 1);
  return true;
}

}  // namespace runner
