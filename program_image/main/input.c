#include "input.h"

#include "hw.h"
#include "sound.h"

uint8_t credits;
uint8_t start1_pressed;
uint8_t start2_pressed;

static uint8_t port0; /* active-high copies of this frame's port bits */
static uint8_t port1;
static uint8_t port2;
static uint8_t previous_port0;
static uint8_t previous_port1;

static const uint8_t kLivesSetting[4] = {3, 4, 5, 255};

/* Reads the ports once a frame; a coin counts on the frame its switch closes. */
void input_update(void) {
  previous_port0 = port0;
  previous_port1 = port1;
  port0 = (uint8_t)~INPUT_PORT0;
  port1 = (uint8_t)~INPUT_PORT1;
  port2 = (uint8_t)~INPUT_PORT2;
  if ((port0 & 0x80) && !(previous_port0 & 0x80)) {
    uint8_t added = dip_credits_per_coin();
    credits = credits + added > MAX_CREDITS ? MAX_CREDITS : credits + added;
    sound_play(SND_COIN);
  }
  start1_pressed = (port1 & 0x80) && !(previous_port1 & 0x80);
  start2_pressed = (port1 & 0x40) && !(previous_port1 & 0x40);
}

/* Player one's bits, or in a cocktail cabinet the second player's own set on their turn. */
uint8_t input_controls(uint8_t cocktail_player_two) {
  uint8_t held = 0;
  if (cocktail_player_two) {
    if (port2 & 0x10) held |= IN_UP;
    if (port2 & 0x40) held |= IN_DOWN;
    if (port1 & 0x20) held |= IN_LEFT;
    if (port1 & 0x10) held |= IN_RIGHT;
    if (port1 & 0x08) held |= IN_FIRE;
    if (port1 & 0x04) held |= IN_JUMP;
  } else {
    if (port0 & 0x01) held |= IN_UP;
    if (port2 & 0x01) held |= IN_DOWN;
    if (port0 & 0x20) held |= IN_LEFT;
    if (port0 & 0x10) held |= IN_RIGHT;
    if (port0 & 0x08) held |= IN_FIRE;
    if (port0 & 0x02) held |= IN_JUMP;
  }
  return held;
}

/* The DIP bits read straight, not inverted. */
uint8_t dip_lives(void) {
  return kLivesSetting[INPUT_PORT1 & 0x03];
}

uint8_t dip_credits_per_coin(void) {
  return (uint8_t)(((INPUT_PORT2 >> 1) & 0x03) + 1);
}

uint8_t dip_cocktail(void) {
  return (INPUT_PORT2 >> 3) & 0x01;
}
