// The board's memory and port map: region lists, the handlers behind the trapped addresses,
// and the set-up of both address spaces after the program image has been copied in.
#pragma once

#include <array>
#include <cstdint>

#include "z80/z80.h"

namespace machine {

// One trapped region: its handler entry is the region's position in the list.
struct RegionSpec {
  uint16_t start;
  uint16_t length;
  z80::MemoryReadFn read;
  z80::MemoryWriteFn write;
};

// Writes each region's functions into handlers[nextIndex] and tags its addresses with that
// index (+0x40 with a read function, +0x80 with a write function), then advances nextIndex.
void InstallRegions(z80::AddressSpace* space, z80::MemoryHandler* handlers,
                    const RegionSpec* regions, int count, int& nextIndex);

// What the sound CPU's timer port answers, by (count mod 5120) / 512.
inline constexpr std::array<uint8_t, 10> SoundTimerTable = {0x00, 0x10, 0x08, 0x18, 0x40,
                                                            0x90, 0x88, 0x98, 0x88, 0xD0};
inline constexpr uint32_t kTimerStepTStates = 512;
inline constexpr uint32_t kTimerCycleTStates = 5120;

// Installs both maps into MainSpace/SoundSpace and their handler tables (the program bytes are
// already in place and tagged read-only): the regions, the constant at 0x8202, the program
// patches, and the sound CPU's port-only entry.
void InstallBoardMap();

// Marks [start, start + length) of a space read-only.
void MarkReadOnly(z80::AddressSpace* space, uint32_t start, uint32_t length);

// The handlers, reachable for tests.
void VideoRamWriter(uint16_t address, uint8_t value, int index, z80::MemoryHandler* entry);
void AttributeWriter(uint16_t address, uint8_t value, int index, z80::MemoryHandler* entry);
uint8_t InputPortReader(uint16_t address, int32_t remaining, int index);
void SoundCommandWriter(uint16_t address, uint8_t value, int index, z80::MemoryHandler* entry);
void NmiEnableWriter(uint16_t address, uint8_t value, int index, z80::MemoryHandler* entry);
uint8_t SoundPortReader(uint16_t port, int32_t remaining, int index);
void SoundPortWriter(uint16_t port, uint8_t value, int index, z80::MemoryHandler* entry);
// The main CPU has no port devices: its IN and OUT reach entry 0, whose read answers this.
uint8_t MainPortReader(uint16_t port, int32_t remaining, int index);

}  // namespace machine
