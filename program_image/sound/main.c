/* The sound program: takes one command a frame from the main program and plays effects and
   tunes, advancing them once per command interrupt. */
#include <stdint.h>

#include "../common/sound_commands.h"
#include "effects.h"
#include "music.h"
#include "psg.h"

static volatile uint8_t pending_ticks;
static volatile uint8_t pending_command;

/* Called from the interrupt entry: the latch holds this frame's command (0 for none). */
void sound_irq(void) {
  uint8_t command = psg_read_latch();
  if (command != SND_NONE) pending_command = command;
  ++pending_ticks;
}

static void handle(uint8_t command) {
  if (command == SND_STOP) {
    effects_stop();
    music_stop();
    music_pulse(0);
  } else if (command >= SND_START_TUNE && command <= SND_LEVEL_TUNE) {
    music_start(command);
  } else if (command == SND_PULSE_SLOW) {
    music_pulse(30);
  } else if (command == SND_PULSE_FAST) {
    music_pulse(15);
  } else if (command == SND_PULSE_OFF) {
    music_pulse(0);
  } else {
    effects_start(command);
  }
}

void main(void) {
  psg_mixer[0] = 0x3F;
  psg_mixer[1] = 0x3F;
  psg_write(0, PSG_MIXER, 0x3F);
  psg_write(1, PSG_MIXER, 0x3F);
  for (;;) {
    uint8_t command;
    __asm__("ei\n halt");
    __asm__("di");
    command = pending_command;
    pending_command = SND_NONE;
    if (!pending_ticks) continue;
    pending_ticks = 0;
    if (command != SND_NONE) handle(command);
    effects_tick();
    music_tick();
  }
}
