// Lays the board's program image out and writes it as the compressed resource the emulator reads:
// u32 uncompressed size, u32 compressed size (both little-endian), then one zlib stream.
//
//   image_pack OUT.res MAIN.bin SOUND.bin GRAPHICS.bin PROM.bin
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Region {
  const char* what;
  size_t offset;
  size_t capacity;
  bool must_fill;  // graphics and PROM have a fixed size; programs may be shorter than their ROM
};

constexpr Region kRegions[] = {
    {"main program", 0x0000, 0x4000, false},
    {"sound program", 0x4000, 0x1800, false},
    {"graphics", 0x5800, 0x1000, true},
    {"colour PROM", 0x6800, 0x20, true},
};
constexpr size_t kImageBytes = 0x6820;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::string s = bytes.str();
  return {s.begin(), s.end()};
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: image_pack OUT.res MAIN.bin SOUND.bin GRAPHICS.bin PROM.bin\n";
    return 2;
  }
  try {
    std::vector<uint8_t> image(kImageBytes, 0);
    for (int i = 0; i < 4; ++i) {
      const Region& r = kRegions[i];
      std::vector<uint8_t> part = ReadFile(argv[2 + i]);
      if (part.size() > r.capacity) {
        throw std::runtime_error(std::string("the ") + r.what + " is " +
                                 std::to_string(part.size()) + " bytes; its ROM holds only " +
                                 std::to_string(r.capacity));
      }
      if (r.must_fill && part.size() != r.capacity) {
        throw std::runtime_error(std::string("the ") + r.what + " must be exactly " +
                                 std::to_string(r.capacity) + " bytes");
      }
      std::copy(part.begin(), part.end(), image.begin() + static_cast<long>(r.offset));
      if (!r.must_fill) {
        std::cout << r.what << ": " << part.size() << " of " << r.capacity << " bytes\n";
      }
    }
    uLongf packed_size = compressBound(kImageBytes);
    std::vector<uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, image.data(), kImageBytes, Z_BEST_COMPRESSION) !=
        Z_OK) {
      throw std::runtime_error("zlib could not compress the image");
    }
    std::vector<uint8_t> out;
    PutU32(out, kImageBytes);
    PutU32(out, static_cast<uint32_t>(packed_size));
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<long>(packed_size));
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error(std::string("cannot write ") + argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "image_pack: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
