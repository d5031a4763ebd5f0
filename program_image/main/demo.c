#include "demo.h"

#include "input.h"
#include "lanes.h"
#include "ship.h"

static uint8_t frames;
static uint8_t wander; /* sideways direction while waiting */

static uint8_t is_hazard_lane(uint8_t lane) {
  return lane_type[lane] == LANE_ROCKS || lane_type[lane] == LANE_MINES;
}

static uint8_t clear_at(uint8_t x, uint8_t y) {
  return !lanes_hazard_at(x + 3, y) && !lanes_hazard_at(x + 8, y) && !lanes_hazard_at(x + 12, y);
}

/* Jumps hazard lanes from their lower edge, climbs where the way is clear, jumps when a hazard is
   about to reach the ship, sidesteps while it waits, and shoots now and then. */
uint8_t demo_controls(void) {
  uint8_t controls = 0;
  uint8_t lane_above = lane_at_row(ship_y - 3);
  ++frames;
  if ((frames & 15) == 0) controls |= IN_FIRE;
  if (ship_jump) return controls | IN_UP;
  if (is_hazard_lane(lane_above) && lane_above != lane_at_row(ship_y + 8)) {
    if (ship_can_jump()) return controls | IN_UP | IN_JUMP;
  } else if (ship_y <= PLAYFIELD_TOP + 2 || clear_at(ship_x, ship_y - 6)) {
    return controls | IN_UP;
  }
  if (!clear_at(ship_x, ship_y + 4) || !clear_at(ship_x, ship_y + 11)) {
    return controls | IN_JUMP | IN_UP;
  }
  if ((frames & 63) == 0) wander = wander == IN_LEFT ? IN_RIGHT : IN_LEFT;
  if (ship_x < 24) wander = IN_RIGHT;
  if (ship_x > 184) wander = IN_LEFT;
  return controls | wander;
}
