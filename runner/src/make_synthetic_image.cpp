// Writes the demonstration program image (tiles, sprites, bullets, stars and a tone) as a file
// in the resource format, for vortekan_run --image.
#include <cstdio>
#include <fstream>

#include "synthetic_image.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_synthetic_image OUTPUT\n");
    return 2;
  }
  const auto resource = machine::testing::PackResource(machine::testing::DemoImage().bytes);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(resource.data()), resource.size());
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_synthetic_image: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
