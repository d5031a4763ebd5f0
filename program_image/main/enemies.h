/* Flying enemies, their shots and the explosions they leave. */
#ifndef ENEMIES_H
#define ENEMIES_H

#include <stdint.h>

void enemies_reset(uint8_t level);
/* Moves, spawns and animates; the ship's top left corner is their target. */
void enemies_update(uint8_t ship_x, uint8_t ship_y);
/* Checks a player shot: 0 for a miss, ENEMY_HIT_NO_KILL for a hit that did not destroy, else
   the points won in hundreds (BCD). */
#define ENEMY_HIT_NO_KILL 0xFF
uint8_t enemies_shot_hits(uint8_t x, uint8_t y);
/* 1 when an enemy or an enemy shot touches the ship; shots miss a jumping ship. */
uint8_t enemies_touch_ship(uint8_t ship_x, uint8_t ship_y, uint8_t jumping);

#endif
