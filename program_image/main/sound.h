/* Commands to the sound program: queued here, one sent each frame. */
#ifndef SOUND_H
#define SOUND_H

#include <stdint.h>

#include "../common/sound_commands.h"

void sound_play(uint8_t command);
void sound_send_next(void);

#endif
