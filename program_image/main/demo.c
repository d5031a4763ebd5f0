#include "demo.h"

#include "input.h"
#include "lanes.h"
#include "ship.h"

#define JUMP_CLIMB 42 /* rows climbed during a jump */

static uint8_t frames;
static uint8_t wander; /* sideways direction while waiting */
static uint8_t last;   /* the controls given last frame: a jump needs a fresh press */

static uint8_t is_hazard_lane(uint8_t lane) {
  return lane_type[lane] == LANE_ROCKS || lane_type[lane] == LANE_MINES;
}

static uint8_t clear_at(uint8_t x, uint8_t y) {
  return !lanes_hazard_at(x + 3, y) && !lanes_hazard_at(x + 8, y) && !lanes_hazard_at(x + 12, y);
}

/* A jump pressed now, if one can start; otherwise the button is let go so the next can. */
static uint8_t jump(void) {
  return (ship_can_jump() && !(last & IN_JUMP)) ? IN_JUMP : 0;
}

static uint8_t sidestep(void) {
  if ((frames & 63) == 0) wander = wander == IN_LEFT ? IN_RIGHT : IN_LEFT;
  if (ship_x < 24) wander = IN_RIGHT;
  if (ship_x > 184) wander = IN_LEFT;
  return wander;
}

static uint8_t choose(void) {
  uint8_t controls = (frames & 15) == 0 ? IN_FIRE : 0;
  uint8_t lane_above = lane_at_row(ship_y - 3);
  if (ship_jump) return controls | IN_UP;
  /* Hazard lanes are crossed in the air, from their lower edge; a jump that would come down in
     the goal lane waits for a gate above. */
  if (is_hazard_lane(lane_above) && lane_above != lane_at_row(ship_y + 8)) {
    if (ship_y < PLAYFIELD_TOP + 16 + JUMP_CLIMB &&
        !(clear_at(ship_x, PLAYFIELD_TOP + 4) && clear_at(ship_x, PLAYFIELD_TOP + 11))) {
      return controls | sidestep();
    }
    return controls | jump();
  }
  if (!clear_at(ship_x, ship_y + 4) || !clear_at(ship_x, ship_y + 11)) {
    return controls | jump() | IN_UP;
  }
  if (ship_y <= PLAYFIELD_TOP + 2 || clear_at(ship_x, ship_y - 6)) return controls | IN_UP;
  return controls | sidestep();
}

/* Jumps hazard lanes, climbs where the way is clear, jumps when a hazard is about to reach the
   ship, sidesteps while it waits, and shoots now and then. */
uint8_t demo_controls(void) {
  ++frames;
  last = choose();
  return last;
}
