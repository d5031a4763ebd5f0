/* Commands to the sound program: queued here, one sent each frame. */
#ifndef SOUND_H
#define SOUND_H

#include <stdint.h>

#include "../common/sound_commands.h"

/* The demonstration game plays silently; coins still sound. */
void sound_mute(uint8_t muted);
void sound_play(uint8_t command);
void sound_send_next(void);

#endif
