#include "demo.h"

#include "input.h"
#include "lanes.h"
#include "ship.h"

static uint8_t frames;
static uint8_t wander; /* sideways direction while waiting for a gap */

static uint8_t clear_at(uint8_t x, uint8_t y) {
  return !lanes_hazard_at(x + 3, y) && !lanes_hazard_at(x + 8, y) && !lanes_hazard_at(x + 12, y);
}

/* Climbs when the way ahead is clear, jumps when a hazard is about to reach the ship, drifts
   sideways while it waits, and shoots now and then. */
uint8_t demo_controls(void) {
  uint8_t controls = 0;
  ++frames;
  if ((frames & 15) == 0) controls |= IN_FIRE;
  if (ship_jump) return controls | IN_UP;
  if (ship_y <= PLAYFIELD_TOP + 2 || clear_at(ship_x, ship_y - 6)) {
    controls |= IN_UP;
  } else if (!clear_at(ship_x, ship_y + 6) || !clear_at(ship_x, ship_y + 11)) {
    controls |= IN_JUMP;
  }
  if ((frames & 63) == 0) wander = wander == IN_LEFT ? IN_RIGHT : IN_LEFT;
  if (ship_x < 24) wander = IN_RIGHT;
  if (ship_x > 184) wander = IN_LEFT;
  if (!(controls & IN_UP)) controls |= wander;
  return controls;
}
