/* Sound effects on PSG 0: each effect is a short script of sweeping tone or noise segments. */
#ifndef EFFECTS_H
#define EFFECTS_H

#include <stdint.h>

void effects_start(uint8_t command);
void effects_tick(void);
void effects_stop(void);

#endif
