#include "sound.h"

#include "hw.h"

#define QUEUE_SIZE 8

static uint8_t queue[QUEUE_SIZE];
static uint8_t queue_head;
static uint8_t queue_count;
static uint8_t mute;

void sound_mute(uint8_t muted) {
  mute = muted;
}

/* A command already waiting is not queued twice, so a burst of shots cannot lag the sound. */
void sound_play(uint8_t command) {
  uint8_t i;
  if (mute && command != SND_COIN) return;
  for (i = 0; i < queue_count; ++i) {
    if (queue[(uint8_t)(queue_head + i) & (QUEUE_SIZE - 1)] == command) return;
  }
  if (queue_count == QUEUE_SIZE) return;
  queue[(uint8_t)(queue_head + queue_count) & (QUEUE_SIZE - 1)] = command;
  ++queue_count;
}

/* The sound program advances on every interrupt, so one is raised each frame even with no
   command; a rising edge of bit 3 raises it. */
void sound_send_next(void) {
  uint8_t command = SND_NONE;
  if (queue_count) {
    command = queue[queue_head];
    queue_head = (queue_head + 1) & (QUEUE_SIZE - 1);
    --queue_count;
  }
  SOUND_COMMAND = command;
  SOUND_TRIGGER = 0x00;
  SOUND_TRIGGER = 0x08;
}
