/* The playfield: fourteen lanes of two bands each, from the goal wall at the top (lane 0) to the
   dock at the bottom (lane 13). Lanes slide sideways at their own speeds through the band
   scroll registers, carrying their hazards and currents with them. */
#ifndef LANES_H
#define LANES_H

#include <stdint.h>

#define LANE_COUNT 14
#define LANE_GOAL 0
#define LANE_DOCK 13
#define PLAYFIELD_TOP 16 /* screen row of lane 0 */

#define LANE_SAFE 0
#define LANE_GOAL_WALL 1
#define LANE_ROCKS 2
#define LANE_MINES 3
#define LANE_CURRENT 4

extern uint8_t lane_type[LANE_COUNT];
extern int8_t lane_shift[LANE_COUNT]; /* pixels the lane moved this frame, right positive */

void lanes_plan(uint8_t level);
/* Draws one more lane of the planned level; returns 1 once all are drawn. */
uint8_t lanes_draw_step(void);
void lanes_move(void);
uint8_t lane_at_row(uint8_t row);
/* 1 when the screen pixel lies on a hazard tile. */
uint8_t lanes_hazard_at(uint8_t x, uint8_t y);
void lanes_clear(void);

#endif
