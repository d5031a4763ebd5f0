/* Player controls, coins, credits and the DIP switches. */
#ifndef INPUT_H
#define INPUT_H

#include <stdint.h>

#define IN_UP 0x01
#define IN_DOWN 0x02
#define IN_LEFT 0x04
#define IN_RIGHT 0x08
#define IN_FIRE 0x10
#define IN_JUMP 0x20

#define MAX_CREDITS 99

extern uint8_t credits;
extern uint8_t start1_pressed; /* this frame's new presses of the start buttons */
extern uint8_t start2_pressed;

void input_update(void);
uint8_t input_controls(uint8_t cocktail_player_two);
uint8_t dip_lives(void);
uint8_t dip_credits_per_coin(void);
uint8_t dip_cocktail(void);

#endif
