// Converts the pixel-art sources into the graphics ROM and the colour PROM.
//
//   art_convert graphics OUT.bin CODES.h ART.txt...
//   art_convert prom OUT.bin PALETTE.txt
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "art.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + path);
}

int Usage() {
  std::cerr << "usage: art_convert graphics OUT.bin CODES.h ART.txt...\n"
               "       art_convert prom OUT.bin PALETTE.txt\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() >= 4 && args[0] == "graphics") {
      std::vector<art::Element> elements;
      for (size_t i = 3; i < args.size(); ++i) {
        auto more = art::ParseArt(ReadFile(args[i]), args[i]);
        elements.insert(elements.end(), more.begin(), more.end());
      }
      auto gfx = art::BuildGraphics(elements);
      WriteFile(args[1], gfx.data(), gfx.size());
      std::string header = art::CodesHeader(elements);
      WriteFile(args[2], header.data(), header.size());
      return 0;
    }
    if (args.size() == 3 && args[0] == "prom") {
      auto prom = art::BuildProm(ReadFile(args[2]), args[2]);
      WriteFile(args[1], prom.data(), prom.size());
      return 0;
    }
  } catch (const std::exception& e) {
    std::cerr << "art_convert: " << e.what() << "\n";
    return 1;
  }
  return Usage();
}
