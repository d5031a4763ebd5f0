#include "sound/psg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace sound {
namespace {

constexpr uint32_t kClock = 1789750;
constexpr uint32_t kRate = 22050;

class PsgTest : public ::testing::Test {
 protected:
  void SetUp() override { PsgInit(0, block_, kClock, kRate); }
  std::vector<int16_t> Render(int count) {
    std::vector<int16_t> out(count, 0x5555);
    PsgRender(0, block_, out.data(), count);
    return out;
  }
  void Write(int reg, uint32_t value) { PsgWriteRegister(0, block_, reg, value); }
  PsgChip& chip() { return block_.chips[0]; }
  PsgBlock block_{};
};

TEST_F(PsgTest, InitGivesStepBaseAndSilence) {
  EXPECT_EQ(chip().stepBase, 173670);
  EXPECT_EQ(chip().regs[PsgReg::Mixer], 0xFF);
  EXPECT_EQ(chip().noiseShift, 1u);
  EXPECT_EQ(chip().channelScale[2], 255);
  for (int16_t s : Render(367)) ASSERT_EQ(s, 0);
}

TEST_F(PsgTest, StepsFollowThePeriodRegisters) {
  // Coarse tone bits above 3 and noise bits above 4 are not part of the period.
  Write(PsgReg::ToneACoarse, 0xF1);
  Write(PsgReg::ToneAFine, 0x00);
  EXPECT_EQ(chip().toneStep[0], 173670u / 256);
  Write(PsgReg::ToneACoarse, 0);
  EXPECT_EQ(chip().toneStep[0], 0u);  // period 0 stops the channel
  Write(PsgReg::NoisePeriod, 0x25);
  EXPECT_EQ(chip().noiseStep, 173670u / 5);
  Write(PsgReg::NoisePeriod, 0x20);
  EXPECT_EQ(chip().noiseStep, 173670u);
  Write(PsgReg::EnvelopeFine, 0x10);
  Write(PsgReg::EnvelopeCoarse, 0x01);
  EXPECT_EQ(chip().envStep, 16u * 173670 / 0x110);
  Write(PsgReg::EnvelopeFine, 0);
  Write(PsgReg::EnvelopeCoarse, 0);
  EXPECT_EQ(chip().envStep, 0u);
  Write(16, 0x77);  // no such register
  EXPECT_EQ(PsgReadRegister(0, block_, 15), 0);
  Write(PsgReg::PortA, 0x1FE);
  EXPECT_EQ(PsgReadRegister(0, block_, PsgReg::PortA), 0xFE);
}

TEST_F(PsgTest, ToneSwingsAroundZeroWithPhaseBit14) {
  Write(PsgReg::Mixer, 0x3E);
  Write(PsgReg::AmplitudeA, 15);
  Write(PsgReg::ToneAFine, 1);
  Write(PsgReg::ToneACoarse, 0);
  ASSERT_EQ(chip().toneStep[0], 173670u);
  uint32_t phase = 0;
  for (int16_t s : Render(64)) {
    phase += 173670;
    ASSERT_EQ(s, (phase & 0x4000) ? 3825 : -3825);
  }
}

TEST_F(PsgTest, MixerAllOffFreezesButPortBitsAloneLetTheEnvelopeRun) {
  Write(PsgReg::EnvelopeFine, 1);
  Write(PsgReg::EnvelopeShape, 0x0E);
  Render(32);  // R7 = 0xFF: frozen
  EXPECT_EQ(chip().envPhase, 0u);
  Write(PsgReg::Mixer, 0x3F);
  for (int16_t s : Render(32)) ASSERT_EQ(s, 0);
  EXPECT_EQ(chip().envPhase, 2u * 16 * 173670);
}

TEST_F(PsgTest, EnvelopeShapesFollowTheirTable) {
  for (int shape = 0; shape < 16; ++shape) {
    const auto& row = EnvelopeShapes[shape];
    const bool attack = shape & 4;
    for (int step = 0; step < 16; ++step)
      ASSERT_EQ(row[step], attack ? step : 15 - step) << shape << ":" << step;
    int expected16, expected31;
    bool repeats;
    switch (shape) {
      case 8:
      case 14: expected16 = 15, expected31 = 0, repeats = true; break;
      case 10:
      case 12: expected16 = 0, expected31 = 15, repeats = true; break;
      case 11:
      case 13: expected16 = 15, expected31 = 15, repeats = false; break;
      default: expected16 = 0, expected31 = 0, repeats = false; break;
    }
    EXPECT_EQ(row[16], expected16) << shape;
    EXPECT_EQ(row[31], expected31) << shape;
    EXPECT_EQ(EnvelopeRepeat[shape], repeats) << shape;
  }
}

// Level of channel A in envelope mode for each 16-sample block; the tone is held high by a
// period of 0 with the phase preset, so each sample equals 255 x level.
std::vector<int> EnvelopeLevels(PsgBlock& block, int shape, int blocks) {
  PsgChip& c = block.chips[0];
  PsgWriteRegister(0, block, PsgReg::Mixer, 0x3E);
  PsgWriteRegister(0, block, PsgReg::AmplitudeA, 0x10);
  c.tonePhase[0] = 0x4000;
  // One envelope step per block: the phase crosses bit 14 on every second block with this step.
  c.envStep = 0x4000;
  PsgWriteRegister(0, block, PsgReg::EnvelopeShape, shape);
  std::vector<int> levels;
  int16_t samples[16];
  for (int b = 0; b < blocks; ++b) {
    PsgRender(0, block, samples, 16);
    levels.push_back(samples[0] / 255);
    for (int16_t s : samples) EXPECT_EQ(s, samples[0]);
  }
  return levels;
}

TEST_F(PsgTest, EnvelopeRestartsRampsAndRepeatsOrHolds) {
  const std::vector<int> rising = EnvelopeLevels(block_, 0x0E, 140);
  // Step advances every second block; shape 14 rises, falls, then starts over.
  EXPECT_EQ(rising[0], 0);
  EXPECT_EQ(rising[2], 1);
  EXPECT_EQ(rising[30], 15);
  EXPECT_EQ(rising[32], 15);
  EXPECT_EQ(rising[62], 0);
  EXPECT_EQ(rising[64], 0);
  EXPECT_EQ(rising[66], 1);
  PsgInit(0, block_, kClock, kRate);
  const std::vector<int> holding = EnvelopeLevels(block_, 0x0D, 140);
  EXPECT_EQ(holding[30], 15);
  EXPECT_EQ(holding[70], 15);
  EXPECT_EQ(holding[139], 15);
}

TEST_F(PsgTest, EnvelopeWithPeriodZeroHoldsItsStep) {
  Write(PsgReg::Mixer, 0x3E);
  Write(PsgReg::AmplitudeA, 0x10);
  chip().tonePhase[0] = 0x4000;
  Write(PsgReg::EnvelopeShape, 0x0D);
  for (int16_t s : Render(16 * 50)) ASSERT_EQ(s, 0);
  EXPECT_EQ(chip().envPos, 0u);
}

TEST_F(PsgTest, LevelsAreTakenOncePer16SamplesFromTheStartOfEachCall) {
  Write(PsgReg::Mixer, 0x3E);
  Write(PsgReg::AmplitudeA, 0x10);
  chip().tonePhase[0] = 0x4000;
  chip().envStep = 0x4000;
  Write(PsgReg::EnvelopeShape, 0x0C);
  std::vector<int16_t> first = Render(20);  // blocks at samples 0 and 16
  EXPECT_EQ(first[15], 0);
  EXPECT_EQ(first[16], 255);  // the envelope stepped in block 0
  EXPECT_EQ(chip().envPhase, 2u * 0x4000);
  Render(1);  // sample 0 of a call always starts a block
  EXPECT_EQ(chip().envPhase, 3u * 0x4000);
}

TEST_F(PsgTest, NoiseAddsNonNegativeAmountsFromTheShiftRegister) {
  Write(PsgReg::Mixer, 0x37);  // noise on A only
  Write(PsgReg::AmplitudeA, 10);
  Write(PsgReg::NoisePeriod, 1);
  bool sawHigh = false, sawLow = false;
  for (int16_t s : Render(2000)) {
    ASSERT_TRUE(s == 0 || s == 2550) << s;
    sawHigh |= s == 2550;
    sawLow |= s == 0;
  }
  EXPECT_TRUE(sawHigh && sawLow);
  // No noise on: the noise state stands still.
  Write(PsgReg::Mixer, 0x3E);
  const uint32_t shift = chip().noiseShift, phase = chip().noisePhase;
  Render(100);
  EXPECT_EQ(chip().noiseShift, shift);
  EXPECT_EQ(chip().noisePhase, phase);
}

TEST_F(PsgTest, RestoredRecordFindsItsShapeAndIgnoresDamage) {
  Write(PsgReg::Mixer, 0x3E);
  Write(PsgReg::AmplitudeA, 0x10);
  chip().tonePhase[0] = 0x4000;
  Write(PsgReg::EnvelopeShape, 0x0B);  // falls, then holds 15
  chip().envPos = 20;
  PsgBlock restored;
  std::memcpy(&restored, &block_, sizeof block_);
  int16_t sample;
  PsgRender(0, restored, &sample, 1);
  EXPECT_EQ(sample, 255 * 15);
  restored.chips[0].envShape = 0xDEADBEEF;
  PsgRender(0, restored, &sample, 1);
  EXPECT_EQ(sample, 0);
}

}  // namespace
}  // namespace sound
