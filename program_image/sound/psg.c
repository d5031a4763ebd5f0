#include "psg.h"

__sfr __at(0x40) psg0_select;
__sfr __at(0x80) psg0_data;
__sfr __at(0x10) psg1_select;
__sfr __at(0x20) psg1_data;

uint8_t psg_mixer[2];

void psg_write(uint8_t chip, uint8_t reg, uint8_t value) {
  if (chip == 0) {
    psg0_select = reg;
    psg0_data = value;
  } else {
    psg1_select = reg;
    psg1_data = value;
  }
}

uint8_t psg_read_latch(void) {
  psg0_select = PSG_LATCH;
  return psg0_data;
}

void psg_set_tone(uint8_t chip, uint8_t ch, uint16_t period) {
  psg_write(chip, PSG_TONE_FINE(ch), (uint8_t)period);
  psg_write(chip, PSG_TONE_COARSE(ch), (uint8_t)(period >> 8));
}

/* A set mixer bit switches a source off. */
void psg_channel_mode(uint8_t chip, uint8_t ch, uint8_t tone_on, uint8_t noise_on) {
  uint8_t tone_bit = (uint8_t)(1 << ch);
  uint8_t noise_bit = (uint8_t)(8 << ch);
  uint8_t m = psg_mixer[chip] | tone_bit | noise_bit;
  if (tone_on) m &= (uint8_t)~tone_bit;
  if (noise_on) m &= (uint8_t)~noise_bit;
  psg_mixer[chip] = m;
  psg_write(chip, PSG_MIXER, m);
}
