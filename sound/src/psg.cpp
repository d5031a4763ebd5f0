#include "sound/psg.h"

#include <algorithm>
#include <cstring>

namespace sound {
namespace {

constexpr uint32_t kPhaseBit = 0x4000;  // the only bit of an accumulator that is ever tested
constexpr uint8_t kAllOff = 0xFF;
constexpr uint8_t kEnvelopeModeBit = 0x10;
constexpr uint32_t kNoiseFeedback = 0x28000;

constexpr bool ShapeRepeats(int shape) {
  return shape >= 8 && (shape & 1) == 0;
}

constexpr std::array<uint8_t, kEnvelopeSteps> ShapeRow(int shape) {
  std::array<uint8_t, kEnvelopeSteps> row{};
  const bool attack = shape & 4;
  for (int step = 0; step < 16; ++step) row[step] = attack ? step : 15 - step;
  for (int step = 16; step < 32; ++step) {
    const int ramp = step - 16;
    switch (shape) {
      case 8:
      case 14: row[step] = 15 - ramp; break;
      case 10:
      case 12: row[step] = ramp; break;
      case 11:
      case 13: row[step] = 15; break;
      default: row[step] = 0; break;
    }
  }
  return row;
}

constexpr auto BuildShapes() {
  std::array<std::array<uint8_t, kEnvelopeSteps>, kEnvelopeShapeCount> shapes{};
  for (int shape = 0; shape < kEnvelopeShapeCount; ++shape) shapes[shape] = ShapeRow(shape);
  return shapes;
}

constexpr auto BuildRepeat() {
  std::array<uint8_t, kEnvelopeShapeCount> repeat{};
  for (int shape = 0; shape < kEnvelopeShapeCount; ++shape) repeat[shape] = ShapeRepeats(shape);
  return repeat;
}

void UpdateToneStep(PsgChip& c, int channel) {
  const uint32_t period = c.regs[2 * channel] + 256u * (c.regs[2 * channel + 1] & 0x0F);
  c.toneStep[channel] = period == 0 ? 0 : static_cast<uint32_t>(c.stepBase) / period;
}

// Advances the envelope by one 16-sample block and returns the level in force for that block.
int EnvelopeLevelForBlock(PsgChip& c) {
  // A restored record may carry any value; only 1-16 name a shape.
  if (c.envShape == 0 || c.envShape > kEnvelopeShapeCount) return 0;
  const int level = EnvelopeShapes[c.envShape - 1][c.envPos & 31];
  const uint32_t before = c.envPhase;
  c.envPhase += c.envStep;
  if (!(before & kPhaseBit) && (c.envPhase & kPhaseBit)) {
    if (++c.envPos > 31) c.envPos = c.envRepeat ? 0 : 31;
  }
  return level;
}

}  // namespace

const std::array<std::array<uint8_t, kEnvelopeSteps>, kEnvelopeShapeCount> EnvelopeShapes =
    BuildShapes();
const std::array<uint8_t, kEnvelopeShapeCount> EnvelopeRepeat = BuildRepeat();

void PsgInit(int chip, PsgBlock& block, uint32_t clockHz, uint32_t sampleRateHz) {
  PsgChip& c = block.chips[chip];
  std::memset(&c, 0, sizeof c);
  c.regs[PsgReg::Mixer] = kAllOff;
  c.noiseShift = 1;
  std::fill(std::begin(c.channelScale), std::end(c.channelScale), 255);
  c.stepBase = static_cast<int32_t>(static_cast<double>(clockHz) * 44100.0 /
                                    (static_cast<double>(sampleRateHz) * 20.6109));
}

uint8_t PsgReadRegister(int chip, const PsgBlock& block, int reg) {
  if (reg < 0 || reg >= kPsgRegisterCount) return 0;
  return block.chips[chip].regs[reg];
}

void PsgWriteRegister(int chip, PsgBlock& block, int reg, uint32_t value) {
  if (reg < 0 || reg >= kPsgRegisterCount) return;
  PsgChip& c = block.chips[chip];
  c.regs[reg] = static_cast<uint8_t>(value);
  const auto base = static_cast<uint32_t>(c.stepBase);
  switch (reg) {
    case PsgReg::ToneAFine:
    case PsgReg::ToneACoarse: UpdateToneStep(c, 0); break;
    case PsgReg::ToneBFine:
    case PsgReg::ToneBCoarse: UpdateToneStep(c, 1); break;
    case PsgReg::ToneCFine:
    case PsgReg::ToneCCoarse: UpdateToneStep(c, 2); break;
    case PsgReg::NoisePeriod: {
      const uint32_t period = c.regs[PsgReg::NoisePeriod] & 0x1F;
      c.noiseStep = period == 0 ? base : base / period;
      break;
    }
    case PsgReg::EnvelopeFine:
    case PsgReg::EnvelopeCoarse: {
      const uint32_t period = c.regs[PsgReg::EnvelopeFine] + 256u * c.regs[PsgReg::EnvelopeCoarse];
      c.envStep = period == 0 ? 0 : 16 * base / period;
      break;
    }
    case PsgReg::EnvelopeShape: {
      const int shape = c.regs[PsgReg::EnvelopeShape] & 0x0F;
      c.envShape = shape + 1;
      c.envRepeat = EnvelopeRepeat[shape];
      c.envPos = 0;
      c.envPhase = 0;
      break;
    }
    default: break;
  }
}

// Hot path: runs for every sample of both chips each frame. Per 16-sample block the channel
// weights are folded into locals (an off tone gets weight 0 and step 0, so its phase stands
// still and contributes nothing), which leaves the per-sample work branch-free for the tones.
// The noise contribution of all channels is one sum, added while the noise output is 1.
void PsgRender(int chip, PsgBlock& block, int16_t* output, int count) {
  if (count <= 0) return;
  PsgChip& c = block.chips[chip];
  if (c.regs[PsgReg::Mixer] == kAllOff) {
    std::fill(output, output + count, int16_t{0});
    return;
  }
  uint32_t phase0 = c.tonePhase[0], phase1 = c.tonePhase[1], phase2 = c.tonePhase[2];
  uint32_t noisePhase = c.noisePhase, noiseShift = c.noiseShift, noiseOut = c.noiseOut;
  const uint32_t noiseStep = c.noiseStep;

  for (int blockStart = 0; blockStart < count; blockStart += kSamplesPerLevelBlock) {
    const uint32_t enable = kAllOff - c.regs[PsgReg::Mixer];
    const int envelopeLevel = EnvelopeLevelForBlock(c);
    int32_t toneWeight[3];
    uint32_t step[3];
    int32_t noiseWeight = 0;
    for (int x = 0; x < 3; ++x) {
      const uint8_t amplitudeReg = c.regs[PsgReg::AmplitudeA + x];
      const int amplitude = (amplitudeReg & kEnvelopeModeBit) ? envelopeLevel : amplitudeReg & 15;
      const int32_t weight = c.channelScale[x] * amplitude;
      const bool toneOn = enable & (1u << x);
      toneWeight[x] = toneOn ? weight : 0;
      step[x] = toneOn ? c.toneStep[x] : 0;
      if (enable & (8u << x)) noiseWeight += weight;
    }
    const bool noiseOn = enable & 0x38;
    const int blockEnd = std::min(count, blockStart + kSamplesPerLevelBlock);
    for (int i = blockStart; i < blockEnd; ++i) {
      phase0 += step[0];
      phase1 += step[1];
      phase2 += step[2];
      // (bit 14 set ? +1 : -1) without a branch.
      int32_t sample = toneWeight[0] * (static_cast<int32_t>((phase0 >> 13) & 2) - 1) +
                       toneWeight[1] * (static_cast<int32_t>((phase1 >> 13) & 2) - 1) +
                       toneWeight[2] * (static_cast<int32_t>((phase2 >> 13) & 2) - 1);
      if (noiseOn) {
        noisePhase += noiseStep;
        if (noisePhase & kPhaseBit) {
          if ((noiseShift + 1) & 2) noiseOut ^= 1;
          if (noiseShift & 1) noiseShift ^= kNoiseFeedback;
          noiseShift >>= 1;
        }
        if (noiseOut) sample += noiseWeight;
      }
      output[i] = static_cast<int16_t>(sample);
    }
  }
  c.tonePhase[0] = phase0;
  c.tonePhase[1] = phase1;
  c.tonePhase[2] = phase2;
  c.noisePhase = noisePhase;
  c.noiseShift = noiseShift;
  c.noiseOut = noiseOut;
}

}  // namespace sound
