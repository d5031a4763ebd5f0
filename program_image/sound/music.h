/* Tunes on PSG 1: three voices reading note streams, one note a tick at most. */
#ifndef MUSIC_H
#define MUSIC_H

#include <stdint.h>

void music_start(uint8_t command);
/* The beat under play: ticks between beats, 0 for none. */
void music_pulse(uint8_t period);
void music_tick(void);
void music_stop(void);

#endif
