/* The two sound generators: PSG 0 plays effects, PSG 1 plays music. */
#ifndef PSG_H
#define PSG_H

#include <stdint.h>

#define PSG_TONE_FINE(ch) ((uint8_t)((ch)*2))
#define PSG_TONE_COARSE(ch) ((uint8_t)((ch)*2 + 1))
#define PSG_NOISE_PERIOD 6
#define PSG_MIXER 7
#define PSG_LEVEL(ch) ((uint8_t)(8 + (ch)))
#define PSG_ENV_FINE 11
#define PSG_ENV_COARSE 12
#define PSG_ENV_SHAPE 13
#define PSG_LATCH 14

#define LEVEL_USES_ENVELOPE 0x10
#define ENV_SHAPE_DECAY 0x00

void psg_write(uint8_t chip, uint8_t reg, uint8_t value);
uint8_t psg_read_latch(void);
void psg_set_tone(uint8_t chip, uint8_t ch, uint16_t period);

/* Mixer bits are kept here so effects and music switch their own channels only. */
extern uint8_t psg_mixer[2];
void psg_channel_mode(uint8_t chip, uint8_t ch, uint8_t tone_on, uint8_t noise_on);

#endif
