#include "synthetic_image.h"

#include <zlib.h>

#include <deque>
#include <string>

#include "machine/program_image.h"
#include "platform/embedded_resources.h"

namespace machine::testing {

ProgramImage::ProgramImage() : bytes(kProgramImageBytes, 0) {}

void ProgramImage::PutMain(uint16_t address, std::vector<uint8_t> code) {
  std::copy(code.begin(), code.end(), bytes.begin() + kMainProgramOffset + address);
}

void ProgramImage::PutSound(uint16_t address, std::vector<uint8_t> code) {
  std::copy(code.begin(), code.end(), bytes.begin() + kSoundProgramOffset + address);
}

uint8_t* ProgramImage::graphics() {
  return bytes.data() + kGraphicsOffset;
}
uint8_t* ProgramImage::prom() {
  return bytes.data() + kGraphicsOffset + 0x1000;
}

std::vector<uint8_t> PackResource(const std::vector<uint8_t>& image) {
  uLongf compressedSize = compressBound(image.size());
  std::vector<uint8_t> out(8 + compressedSize);
  compress2(out.data() + 8, &compressedSize, image.data(), image.size(), 9);
  out.resize(8 + compressedSize);
  const uint32_t sizes[2] = {static_cast<uint32_t>(image.size()),
                             static_cast<uint32_t>(compressedSize)};
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(sizes[i / 4] >> (8 * (i % 4)));
  return out;
}

void UseProgramImageResource(std::vector<uint8_t> resource) {
  // Registered resources must outlive the process's lookups.
  static std::deque<std::vector<uint8_t>> datas;
  static std::deque<platform::EmbeddedResource> entries;
  datas.push_back(std::move(resource));
  entries.push_back({{u"BINDATA", 0}, {u"VORTEKAN", 0}, datas.back().data(), datas.back().size()});
  platform::RegisterEmbeddedResources(&entries.back(), 1);
}

ProgramImage DemoImage() {
  ProgramImage image;
  image.PutMain(
      0x0000,
      {
          0xF3,              // DI
          0x31, 0x00, 0x48,  // LD SP,0x4800
          0x21, 0x00, 0x48,  // LD HL,0x4800     video RAM: code = low byte of the address in
          0x01, 0x00, 0x04,  // LD BC,0x0400       the cells where (L & 0x24) = 0, else blank
          0x7D,              // fill: LD A,L
          0xE6, 0x24,        // AND 0x24
          0x20, 0x01,        // JR NZ,skip
          0x75,              // LD (HL),L
          0x23,              // skip: INC HL
          0x0B,              // DEC BC
          0x78,              // LD A,B
          0xB1,              // OR C
          0x20, 0xF4,        // JR NZ,fill
          0x21, 0x01, 0x50,  // LD HL,0x5001     colour of band c = c
          0x06, 0x20,        // LD B,32
          0x0E, 0x00,        // LD C,0
          0x71,              // colour: LD (HL),C
          0x0C,              // INC C
          0x23,              // INC HL
          0x23,              // INC HL
          0x10, 0xFA,        // DJNZ colour
          0x21, 0x00, 0x10,  // LD HL,0x1000     sprites and bullets from the table below
          0x11, 0x40, 0x50,  // LD DE,0x5040
          0x01, 0x40, 0x00,  // LD BC,0x0040
          0xED, 0xB0,        // LDIR
          0x3E, 0x01,        // LD A,1
          0x32, 0x04, 0x68,  // LD (0x6804),A    stars on
          0x3E, 0x05,        // LD A,5
          0x32, 0x00, 0x82,  // LD (0x8200),A    sound command 5
          0x3E, 0x08,        // LD A,8
          0x32, 0x01, 0x82,  // LD (0x8201),A    sound interrupt
          0x3E, 0x01,        // LD A,1
          0x32, 0x01, 0x68,  // LD (0x6801),A    frame interrupt on
          0x18, 0xFE,        // 0x0042 idle: JR idle
      });
  image.PutMain(0x0066, {0xC3, 0x00, 0x02});  // NMI: JP 0x0200 (0x006D on is patched)
  image.PutMain(0x0200, {
                            0xF5,              // PUSH AF
                            0x3A, 0x40, 0x50,  // LD A,(0x5040)    the ship moves right
                            0x3C,              // INC A
                            0x32, 0x40, 0x50,  // LD (0x5040),A
                            0x3A, 0x0A, 0x50,  // LD A,(0x500A)    band 5 scrolls
                            0x3C,              // INC A
                            0x32, 0x0A, 0x50,  // LD (0x500A),A
                            0x3A, 0x00, 0x81,  // LD A,(0x8100)    input port 0
                            0x32, 0x00, 0x40,  // LD (0x4000),A
                            0x3A, 0x01, 0x40,  // LD A,(0x4001)    frame count
                            0x3C,              // INC A
                            0x32, 0x01, 0x40,  // LD (0x4001),A
                            0xF1,              // POP AF
                            0xED, 0x45,        // RETN
                        });
  std::vector<uint8_t> objects;
  for (int k = 0; k < 8; ++k) {  // sprites: x, flips and code, colour, y
    const uint8_t flips = static_cast<uint8_t>((k & 1) << 7 | (k & 2) << 5);
    objects.insert(objects.end(),
                   {static_cast<uint8_t>(40 + 24 * k), static_cast<uint8_t>(flips | (k + 1)),
                    static_cast<uint8_t>(k), static_cast<uint8_t>(40 + 20 * k)});
  }
  for (int k = 0; k < 8; ++k) {  // bullets: -, x, -, y
    objects.insert(objects.end(),
                   {0, static_cast<uint8_t>(50 + 20 * k), 0, static_cast<uint8_t>(20 + 2 * k)});
  }
  image.PutMain(0x1000, objects);

  image.PutSound(0x0000, {
                             0x31, 0x00, 0x84,        // LD SP,0x8400
                             0xED, 0x56,              // IM 1
                             0x3E, 0x07, 0xD3, 0x40,  // select R7
                             0x3E, 0x3E, 0xD3, 0x80,  // tone A on
                             0x3E, 0x08, 0xD3, 0x40,  // select R8
                             0x3E, 0x0F, 0xD3, 0x80,  // amplitude 15
                             0x3E, 0x00, 0xD3, 0x40,  // select R0
                             0x3E, 0xFE, 0xD3, 0x80,  // fine period 254
                             0x3E, 0x01, 0xD3, 0x40,  // select R1
                             0x3E, 0x00, 0xD3, 0x80,  // coarse 0
                             0xFB,                    // EI
                             0x18, 0xFE,              // idle: JR idle
                         });
  image.PutSound(0x0038, {
                             0x3E, 0x0E, 0xD3, 0x40,  // select R14: the sound latch
                             0xDB, 0x80,              // IN A,(0x80)
                             0x32, 0x00, 0x80,        // LD (0x8000),A  the command, for tests
                             0xFB,                    // EI
                             0xED, 0x4D,              // RETI
                         });

  // Characters: code 0 blank, the others a box (pixel 3) with a code-dependent inside.
  uint8_t* graphics = image.graphics();
  for (int code = 1; code < 256; ++code) {
    for (int column = 0; column < 8; ++column) {
      const bool edge = column == 0 || column == 7;
      graphics[code * 8 + column] = edge ? 0xFF : 0x81;
      graphics[0x800 + code * 8 + column] =
          edge ? 0xFF : static_cast<uint8_t>(0x81 | ((code * 37 + column * 11) & 0x7E));
    }
  }
  const uint8_t prom[32] = {0x00, 0x07, 0x38, 0xC0, 0x00, 0x3F, 0xC7, 0xF8, 0x00, 0x05, 0x28,
                            0x80, 0x00, 0xFF, 0x1F, 0xE0, 0x00, 0x06, 0x30, 0x40, 0x00, 0x2D,
                            0x97, 0xFF, 0x00, 0x3C, 0x87, 0x18, 0x00, 0xA4, 0x52, 0x09};
  std::copy(prom, prom + 32, image.prom());
  return image;
}

ProgramImage BusyImage() {
  ProgramImage image = DemoImage();
  image.PutMain(kDemoIdleAddress, {
                                      0x21, 0x00, 0x48,  // again: LD HL,0x4800
                                      0x34,  // next: INC (HL)     every cell changes, every frame
                                      0x23,  // INC HL
                                      0x7C,  // LD A,H
                                      0xFE, 0x4C,  // CP 0x4C
                                      0x20, 0xF9,  // JR NZ,next
                                      0x18, 0xF4,  // JR again
                                  });
  return image;
}

}  // namespace machine::testing
