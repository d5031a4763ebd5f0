#include "machine/memory_map.h"

#include <cstring>

#include "machine/board.h"
#include "machine/inputs.h"
#include "sound/psg.h"

namespace machine {
namespace {

constexpr uint8_t kSoundIrqBit = 0x08;
constexpr uint8_t kPsgLatchRegister = 14;
constexpr uint8_t kPsgTimerRegister = 15;

// The main CPU's whole map in address order. The region list below it is in handler-entry
// order, since a region's entry number is its position in the list.
// 0x0000-0x3FFF  game program, read-only
// 0x4000-0x47FF  work RAM (high-score table 0x4200-0x421D, shown top score 0x40A8-0x40AA)
// 0x4800-0x4BFF  video RAM ............................ entry 0, writes
// 0x5000-0x503F  attribute RAM (scroll, colour) ........ entry 1, writes
// 0x5040-0x507F  sprite and bullet RAM, plain
// 0x6801         NMI enable ........................... entry 4, writes
// 0x6804         star enable, plain
// 0x8100-0x8102  input ports .......................... entry 2, reads
// 0x8200-0x8201  sound command and interrupt ........... entry 3, writes
// 0x8202         constant 0x6F, read-only
// 0xF000-0xF1FF  staging area for the sound RAM in save states, plain
constexpr RegionSpec kMainRegions[] = {
    {MainAddress::VideoRam, 0x400, nullptr, VideoRamWriter},
    {MainAddress::AttributeRam, 0x40, nullptr, AttributeWriter},
    {MainAddress::InputPorts, 3, InputPortReader, nullptr},
    {MainAddress::SoundCommand, 2, nullptr, SoundCommandWriter},
    {MainAddress::NmiEnable, 1, nullptr, NmiEnableWriter},
};

// The sound CPU's only entry serves its ports; its memory tags are reset to read-only over the
// program afterwards, so no memory address is trapped.
// 0x0000-0x17FF  sound program, read-only
// 0x8000-0x83FF  sound RAM, plain
constexpr RegionSpec kSoundRegions[] = {
    {0x0000, 0x81, SoundPortReader, SoundPortWriter},
};

// Main CPU program patches applied after loading.
constexpr uint16_t kInputReadPatchAddress = 0x00E1;
constexpr uint8_t kInputReadPatch[] = {0x3E, 0x7F, 0x00};  // LD A,0x7F; NOP
constexpr uint16_t kMakerNameAddress = 0x006D;
constexpr char kMakerName[] = "TAVRIK";

uint8_t PsgDataRead(int chip) {
  const uint8_t reg = Latches.psgSelect[chip];
  if (reg == kPsgLatchRegister) return Latches.soundLatch;
  if (reg == kPsgTimerRegister) {
    const int32_t now = Latches.soundBudget;
    Latches.timerCount += static_cast<uint32_t>(Latches.timerMark - now);
    Latches.timerMark = now;
    return SoundTimerTable[(Latches.timerCount % kTimerCycleTStates) / kTimerStepTStates];
  }
  return sound::PsgReadRegister(chip, *Psg, reg);
}

}  // namespace

void InstallRegions(z80::AddressSpace* space, z80::MemoryHandler* handlers,
                    const RegionSpec* regions, int count, int& nextIndex) {
  for (int r = 0; r < count; ++r, ++nextIndex) {
    const RegionSpec& region = regions[r];
    handlers[nextIndex] = {region.read, region.write};
    const uint8_t tag = static_cast<uint8_t>(nextIndex | (region.read ? z80::TAG_READ_TRAP : 0) |
                                             (region.write ? z80::TAG_WRITE_TRAP : 0));
    for (uint32_t a = region.start; a < uint32_t{region.start} + region.length; ++a)
      space[z80::kTagOffset + (a & 0xFFFF)] = tag;
  }
}

void MarkReadOnly(z80::AddressSpace* space, uint32_t start, uint32_t length) {
  std::memset(space + z80::kTagOffset + start, z80::TAG_READ_ONLY, length);
}

void InstallBoardMap() {
  int mainIndex = 0;
  InstallRegions(MainSpace, MainHandlers, kMainRegions, std::size(kMainRegions), mainIndex);
  int soundIndex = 0;
  InstallRegions(SoundSpace, SoundHandlers, kSoundRegions, std::size(kSoundRegions), soundIndex);
  MainMemory()[MainAddress::Constant6F] = 0x6F;
  MarkReadOnly(MainSpace, MainAddress::Constant6F, 1);
  std::memcpy(MainMemory() + kInputReadPatchAddress, kInputReadPatch, sizeof kInputReadPatch);
  std::memcpy(MainMemory() + kMakerNameAddress, kMakerName, sizeof kMakerName - 1);
  MarkReadOnly(SoundSpace, 0x0000, 0x100);
  // Entry 0 of the main table is the video RAM writer; give it the port read of a board whose
  // main CPU has no port devices.
  MainHandlers[0].read = MainPortReader;
}

void VideoRamWriter(uint16_t address, uint8_t value, int, z80::MemoryHandler*) {
  // Reached by the main CPU's OUT instructions too; those have no device behind them.
  if (address < MainAddress::VideoRam || address >= MainAddress::VideoRam + 0x400) return;
  uint8_t& cell = MainMemory()[address];
  if (cell == value) return;
  cell = value;
  TileDirty[address & 0x3FF] = 1;
}

void AttributeWriter(uint16_t address, uint8_t value, int, z80::MemoryHandler*) {
  uint8_t& byte = MainMemory()[address];
  if ((address & 1) && byte != value) {
    const int band = (address >> 1) & 0x1F;
    for (int cell = band; cell < kTileCount; cell += 32) TileDirty[cell] = 1;
  }
  byte = value;
}

uint8_t InputPortReader(uint16_t address, int32_t, int) {
  return ComposeInputPort(address & 3);
}

void SoundCommandWriter(uint16_t address, uint8_t value, int, z80::MemoryHandler*) {
  if ((address & 1) == 0) {
    Latches.soundLatch = value;
    return;
  }
  if (Latches.soundIrqEdge == 0 && (value & kSoundIrqBit)) Latches.soundRequest |= z80::Z80_REQ_IRQ;
  Latches.soundIrqEdge = value & kSoundIrqBit;
}

void NmiEnableWriter(uint16_t address, uint8_t value, int, z80::MemoryHandler*) {
  MainMemory()[address] = value;
  Latches.nmiEnable = value;
}

uint8_t SoundPortReader(uint16_t port, int32_t, int) {
  switch (port & 0xFF) {
    case 0x20: return PsgDataRead(1);
    case 0x80: return PsgDataRead(0);
    default: return 0;
  }
}

void SoundPortWriter(uint16_t port, uint8_t value, int, z80::MemoryHandler*) {
  switch (port & 0xFF) {
    case 0x10: Latches.psgSelect[1] = value & 0x0F; break;
    case 0x20: sound::PsgWriteRegister(1, *Psg, Latches.psgSelect[1], value); break;
    case 0x40: Latches.psgSelect[0] = value & 0x0F; break;
    case 0x80: sound::PsgWriteRegister(0, *Psg, Latches.psgSelect[0], value); break;
    default: break;
  }
}

uint8_t MainPortReader(uint16_t, int32_t, int) {
  return 0xFF;
}

}  // namespace machine
