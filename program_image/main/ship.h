/* The player's ship (always sprite 0), its jump and its shots. */
#ifndef SHIP_H
#define SHIP_H

#include <stdint.h>

#define SHIP_START_X 104
#define SHIP_START_Y 224
#define SHIP_OUTCOME_NONE 0
#define SHIP_OUTCOME_HIT 1
#define SHIP_OUTCOME_HOME 2

extern uint8_t ship_x; /* screen pixels of the top left corner */
extern uint8_t ship_y;
extern uint8_t ship_jump; /* frames left in the air, 0 on the ground */

void ship_reset(void);
/* 1 when a jump pressed now would start. */
uint8_t ship_can_jump(void);
/* One frame of play with these controls held; score is the player's, for shots that hit. */
uint8_t ship_update(uint8_t controls, uint8_t* score);
/* Shows the wreck at the ship's place; frame counts up from 0. */
void ship_wreck(uint8_t frame);
void ship_hide(void);

#endif
