/* Tunes on PSG 1: three voices reading note streams, one note a tick at most. */
#ifndef MUSIC_H
#define MUSIC_H

#include <stdint.h>

void music_start(uint8_t command);
void music_tick(void);
void music_stop(void);

#endif
