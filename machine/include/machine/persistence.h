// Files the board keeps in the program's directory, named after the game's file stem: the
// high-score file ("<stem>.hi", a copy of the game's 30-byte table) and save states
// ("<stem>.sv1" ... ".sv6"; slot 5, ".sv6", is the resume slot).
//
// A save state is the main CPU context (192 bytes), the machine block (583 bytes: PSG selects,
// request bytes, sound latch, game-over flag, NMI enable, both sound generators, the sound CPU
// context, 192 reserved zero bytes), then main memory without its read-only addresses, zero runs
// encoded as 0x00 and a count byte (n + 1 zeros). The sound CPU's RAM travels in main memory at
// 0xF000-0xF1FF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace machine {

// The program's directory as a device path with its trailing backslash; set by the shell (or a
// runner) before the first game.
inline WCHAR ModuleDirectory[260] = {};

inline constexpr int kHiscoreBytes = 30;
inline constexpr int kResumeSlot = 5;
inline constexpr int kStateSave = 0;
inline constexpr int kStateLoad = 1;
inline constexpr size_t kMachineBlockBytes = 583;
inline constexpr size_t kSavedMemoryBytes = 49151;  // main memory less its read-only addresses
// The longest encoding: memory alternating zero and non-zero bytes.
inline constexpr size_t kMaxEncodedMemoryBytes = 73727;

// 0 when the file existed and at least length bytes (at most 512) were read into destination,
// else 1 with the destination untouched.
int HiscoreLoad(uint8_t* destination, int length);
// Writes length bytes to the high-score file; a failure shows "Error saving hiscore data.".
void HiscoreSave(const uint8_t* source, int length);

// direction kStateSave: writes the board to the slot file (failures are silent), returns 1.
// direction kStateLoad: restores what the file holds and returns 1, or returns 0 and changes
// nothing when the file cannot be opened.
int SaveOrLoadState(int slot, int direction);

// 1 when the resume slot's file opens and its first 8 bytes can be read.
int ResumeSlotExists();

// The zero-run encoding of main memory's writable addresses, and its decoding into them; the
// decoder reads no byte past the input and treats missing input as zeros.
std::vector<uint8_t> EncodeMainMemory(const uint8_t* space);
void DecodeMainMemory(const uint8_t* encoded, size_t encodedBytes, uint8_t* space);

}  // namespace machine
