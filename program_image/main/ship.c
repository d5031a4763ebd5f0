#include "ship.h"

#include "art_codes.h"
#include "enemies.h"
#include "hw.h"
#include "input.h"
#include "lanes.h"
#include "score.h"
#include "sound.h"
#include "video.h"

#define SHIP_COLOUR 6
#define WRECK_COLOUR 7
#define JUMP_FRAMES 28
#define JUMP_RECOVERY 16
#define SHOT_SPEED 6
#define FIRE_REPEAT 8
#define SHIP_MIN_X 0
#define SHIP_MAX_X 208
#define SHIP_MIN_Y 16
#define SHIP_MAX_Y 224

uint8_t ship_x;
uint8_t ship_y;
uint8_t ship_jump;

static uint8_t jump_recovery;
static uint8_t previous_controls;
static uint8_t fire_repeat;
static uint8_t step_phase;
static uint8_t shot_x[BULLET_PLAYER_COUNT];
static uint8_t shot_y[BULLET_PLAYER_COUNT]; /* 0: no shot */

void ship_reset(void) {
  uint8_t i;
  ship_x = SHIP_START_X;
  ship_y = SHIP_START_Y;
  ship_jump = 0;
  jump_recovery = 0;
  previous_controls = 0xFF; /* a control held through the restart is not a new press */
  fire_repeat = 1;          /* but fire held through it shoots at once */
  for (i = 0; i < BULLET_PLAYER_COUNT; ++i) {
    shot_y[i] = 0;
    bullet_hide(BULLET_FIRST_PLAYER + i);
  }
}

uint8_t ship_can_jump(void) {
  return !ship_jump && !jump_recovery;
}

static void fire(void) {
  uint8_t i;
  for (i = 0; i < BULLET_PLAYER_COUNT; ++i) {
    if (shot_y[i]) continue;
    shot_x[i] = ship_x + 7;
    shot_y[i] = ship_y;
    sound_play(SND_SHOT);
    return;
  }
}

/* A shot is checked against the enemies where it is and again where it moves to, so a fast shot
   cannot pass through an enemy between frames. */
static void move_shots(uint8_t* score) {
  uint8_t i;
  for (i = 0; i < BULLET_PLAYER_COUNT; ++i) {
    uint8_t points;
    if (!shot_y[i]) continue;
    points = enemies_shot_hits(shot_x[i], shot_y[i]);
    if (!points) {
      if (shot_y[i] <= 8 + SHOT_SPEED) {
        shot_y[i] = 0; /* off the top */
      } else {
        shot_y[i] -= SHOT_SPEED;
        points = enemies_shot_hits(shot_x[i], shot_y[i]);
      }
    }
    if (points) {
      if (points != ENEMY_HIT_NO_KILL) score_add(score, 0x00, points);
      shot_y[i] = 0;
    }
    if (shot_y[i]) {
      bullet_put(BULLET_FIRST_PLAYER + i, shot_x[i], shot_y[i]);
    } else {
      bullet_hide(BULLET_FIRST_PLAYER + i);
    }
  }
}

static void steer(uint8_t controls) {
  /* One and a half pixels a frame up and down, two sideways. */
  uint8_t vertical = 1 + (++step_phase & 1);
  if ((controls & IN_LEFT) && ship_x > SHIP_MIN_X + 1) ship_x -= 2;
  if ((controls & IN_RIGHT) && ship_x < SHIP_MAX_X - 1) ship_x += 2;
  if ((controls & IN_UP) && ship_y > SHIP_MIN_Y + 1) ship_y -= vertical;
  if ((controls & IN_DOWN) && ship_y < SHIP_MAX_Y - 1) ship_y += vertical;
  if (ship_y < SHIP_MIN_Y) ship_y = SHIP_MIN_Y;
  if (ship_y > SHIP_MAX_Y) ship_y = SHIP_MAX_Y;
}

/* A current carries a grounded ship; the screen edges stop it. */
static void drift(void) {
  int8_t shift = lane_shift[lane_at_row(ship_y + 8)];
  if (lane_type[lane_at_row(ship_y + 8)] != LANE_CURRENT || ship_jump) return;
  if (shift > 0 && ship_x + shift > SHIP_MAX_X) {
    ship_x = SHIP_MAX_X;
  } else if (shift < 0 && ship_x < (uint8_t)-shift) {
    ship_x = SHIP_MIN_X;
  } else {
    ship_x += shift;
  }
}

/* Three points of the ship's body against the hazard tiles: nose, and both wings. */
static uint8_t on_hazard(void) {
  return lanes_hazard_at(ship_x + 8, ship_y + 4) || lanes_hazard_at(ship_x + 4, ship_y + 11) ||
         lanes_hazard_at(ship_x + 11, ship_y + 11);
}

uint8_t ship_update(uint8_t controls, uint8_t* score) {
  uint8_t pressed = controls & ~previous_controls;
  previous_controls = controls;
  steer(controls);
  drift();
  if (ship_jump) {
    --ship_jump;
    if (!ship_jump) jump_recovery = JUMP_RECOVERY;
  } else if (jump_recovery) {
    --jump_recovery;
  } else if (pressed & IN_JUMP) {
    ship_jump = JUMP_FRAMES;
    sound_play(SND_JUMP);
  }
  if (pressed & IN_FIRE) {
    fire();
    fire_repeat = FIRE_REPEAT;
  } else if ((controls & IN_FIRE) && --fire_repeat == 0) {
    fire();
    fire_repeat = FIRE_REPEAT;
  }
  move_shots(score);
  sprite_put(SPRITE_SHIP_SLOT, ship_x, ship_y,
             ship_jump
                 ? SPRITE_SHIP_JUMP
                 : ((controls & IN_UP) && (step_phase & 4) ? SPRITE_SHIP_THRUST : SPRITE_SHIP),
             SHIP_COLOUR);
  if (enemies_touch_ship(ship_x, ship_y, ship_jump)) return SHIP_OUTCOME_HIT;
  if (ship_jump) return SHIP_OUTCOME_NONE;
  if (on_hazard()) return SHIP_OUTCOME_HIT;
  if (ship_y < PLAYFIELD_TOP + 4) return SHIP_OUTCOME_HOME;
  return SHIP_OUTCOME_NONE;
}

void ship_wreck(uint8_t frame) {
  static const uint8_t kWreck[3] = {SPRITE_BOOM_1, SPRITE_BOOM_2, SPRITE_BOOM_3};
  uint8_t stage = frame / 8;
  if (stage < 3) {
    sprite_put(SPRITE_SHIP_SLOT, ship_x, ship_y, kWreck[stage], WRECK_COLOUR);
  } else if (stage < 6) {
    sprite_put(SPRITE_SHIP_SLOT, ship_x, ship_y, kWreck[2 - (stage & 1)] | SPRITE_FLIP_X,
               WRECK_COLOUR);
  } else {
    ship_hide();
  }
}

void ship_hide(void) {
  uint8_t i;
  sprite_hide(SPRITE_SHIP_SLOT);
  for (i = 0; i < BULLET_PLAYER_COUNT; ++i) {
    shot_y[i] = 0;
    bullet_hide(BULLET_FIRST_PLAYER + i);
  }
}
