// Programmable sound generator: a software model of a three-channel square-wave chip with one
// shared noise generator and one envelope generator, producing 16-bit signed mono samples.
//
// Interface: a PsgBlock holds two chips in a fixed 192-byte stored form (save states keep it
// byte for byte). Every call names the chip (0 or 1) and the block. Register writes take effect
// at once; PsgRender then produces any number of samples from the chip's current state.
//
// Registers: R0-R5 tone periods A, B, C (fine, coarse), R6 noise period, R7 mixer control
// (a set bit turns a tone or noise off), R8-R10 amplitudes (bit 4 = follow the envelope),
// R11/R12 envelope period, R13 envelope shape, R14/R15 I/O ports (stored only).
//
// Not emulated: the chip's logarithmic volume (levels are linear), its unipolar output (tones
// swing around zero, noise adds a non-negative amount), timing within a render call (all writes
// before a call apply to all its samples), the I/O ports. Levels and the envelope are evaluated
// once per 16 samples. A tone period of 0 stops the channel instead of acting as 1.
//
// Usage:
//
//   sound::PsgBlock block{};
//   sound::PsgInit(0, block, 1789750, 22050);
//   sound::PsgWriteRegister(0, block, sound::PsgReg::ToneAFine, 0x40);
//   sound::PsgWriteRegister(0, block, sound::PsgReg::Mixer, 0x3E);      // tone A on
//   sound::PsgWriteRegister(0, block, sound::PsgReg::AmplitudeA, 15);
//   int16_t samples[367];
//   for (;;) sound::PsgRender(0, block, samples, 367);                   // once per frame
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sound {

// Register numbers of one chip.
namespace PsgReg {
inline constexpr int ToneAFine = 0;
inline constexpr int ToneACoarse = 1;
inline constexpr int ToneBFine = 2;
inline constexpr int ToneBCoarse = 3;
inline constexpr int ToneCFine = 4;
inline constexpr int ToneCCoarse = 5;
inline constexpr int NoisePeriod = 6;
inline constexpr int Mixer = 7;
inline constexpr int AmplitudeA = 8;
inline constexpr int AmplitudeB = 9;
inline constexpr int AmplitudeC = 10;
inline constexpr int EnvelopeFine = 11;
inline constexpr int EnvelopeCoarse = 12;
inline constexpr int EnvelopeShape = 13;
inline constexpr int PortA = 14;
inline constexpr int PortB = 15;
}  // namespace PsgReg

inline constexpr int kPsgRegisterCount = 16;
inline constexpr int kEnvelopeSteps = 32;
inline constexpr int kEnvelopeShapeCount = 16;
inline constexpr int kSamplesPerLevelBlock = 16;  // levels and the envelope update this often

// One chip in its stored form: 96 bytes, little-endian, fixed offsets.
struct PsgChip {
  uint8_t reserved[12];
  uint8_t regs[kPsgRegisterCount];
  int32_t stepBase;  // phase step of a period of 1
  uint32_t noiseShift;
  uint32_t noiseOut;  // 0 or 1
  uint32_t toneStep[3];
  uint32_t noiseStep;
  uint32_t envStep;  // per block of 16 samples
  uint32_t tonePhase[3];
  uint32_t noisePhase;
  uint32_t envPhase;
  uint32_t envPos;    // 0-31
  uint32_t envShape;  // selected shape number + 1; 0 while no shape has been selected
  uint8_t channelScale[3];
  uint8_t zero;
  uint32_t envRepeat;  // 1 if the selected shape repeats
};

static_assert(sizeof(PsgChip) == 96);
static_assert(offsetof(PsgChip, regs) == 12 && offsetof(PsgChip, stepBase) == 28);
static_assert(offsetof(PsgChip, toneStep) == 40 && offsetof(PsgChip, envStep) == 56);
static_assert(offsetof(PsgChip, tonePhase) == 60 && offsetof(PsgChip, envPos) == 80);
static_assert(offsetof(PsgChip, envShape) == 84 && offsetof(PsgChip, channelScale) == 88);
static_assert(offsetof(PsgChip, envRepeat) == 92);

// Both chips of the board, chip 0 first: 192 bytes.
struct PsgBlock {
  PsgChip chips[2];
};

static_assert(sizeof(PsgBlock) == 192);

// Envelope levels (0-15) per shape (R13 & 15) and step; a repeating shape cycles its 32 steps,
// the others hold step 31.
extern const std::array<std::array<uint8_t, kEnvelopeSteps>, kEnvelopeShapeCount> EnvelopeShapes;
extern const std::array<uint8_t, kEnvelopeShapeCount> EnvelopeRepeat;

// Clears the chip, turns everything off (R7 = 0xFF) and derives the phase step of period 1 from
// the chip clock and the output rate.
void PsgInit(int chip, PsgBlock& block, uint32_t clockHz, uint32_t sampleRateHz);

// The stored byte of a register (0-15; other numbers read 0).
uint8_t PsgReadRegister(int chip, const PsgBlock& block, int reg);

// Stores the low 8 bits of value and recomputes what depends on it; registers above 15 are
// ignored. Writing the envelope shape always restarts the envelope.
void PsgWriteRegister(int chip, PsgBlock& block, int reg, uint32_t value);

// Writes count samples and advances the chip; count <= 0 renders nothing.
void PsgRender(int chip, PsgBlock& block, int16_t* output, int count);

}  // namespace sound
