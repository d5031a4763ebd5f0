#include "enemies.h"

#include "art_codes.h"
#include "hw.h"
#include "rand.h"
#include "sound.h"
#include "video.h"

#define ENEMY_SLOTS 5
#define BLAST_SLOTS 2
#define OFFSCREEN_X 224 /* x from here to 255 lies off the screen (255 is just left of it) */

#define KIND_NONE 0
#define KIND_DRONE 1 /* crosses a lane sideways, drops shots */
#define KIND_DIVER 2 /* falls from the top and steers toward the ship */
#define KIND_ORB 3   /* bounces about the upper field, takes two hits */

static uint8_t kind[ENEMY_SLOTS];
static uint8_t pos_x[ENEMY_SLOTS];
static uint8_t pos_y[ENEMY_SLOTS];
static int8_t step_x[ENEMY_SLOTS];
static int8_t step_y[ENEMY_SLOTS];
static uint8_t age[ENEMY_SLOTS];
static uint8_t hits_left[ENEMY_SLOTS];
static uint8_t reload[ENEMY_SLOTS];

static uint8_t shot_x[BULLET_ENEMY_COUNT];
static uint8_t shot_y[BULLET_ENEMY_COUNT]; /* 0: no shot */
static int8_t shot_dx[BULLET_ENEMY_COUNT];

static uint8_t blast_x[BLAST_SLOTS];
static uint8_t blast_y[BLAST_SLOTS];
static uint8_t blast_age[BLAST_SLOTS]; /* 0: no blast */
static uint8_t next_blast;

static uint8_t spawn_timer;
static uint8_t spawn_interval;
static uint8_t max_active;
static uint8_t level_now;
static uint8_t tick;

static const uint8_t kColour[4] = {0, 3, 2, 4};
static const uint8_t kFrames[4][2] = {{0, 0},
                                      {SPRITE_DRONE_A, SPRITE_DRONE_B},
                                      {SPRITE_DIVER_A, SPRITE_DIVER_B},
                                      {SPRITE_ORB_A, SPRITE_ORB_B}};
static const uint8_t kPointsHundreds[4] = {0x00, 0x01, 0x02, 0x03};

void enemies_reset(uint8_t level) {
  uint8_t i;
  for (i = 0; i < ENEMY_SLOTS; ++i) {
    kind[i] = KIND_NONE;
    sprite_hide(SPRITE_FIRST_ENEMY + i);
  }
  for (i = 0; i < BULLET_ENEMY_COUNT; ++i) {
    shot_y[i] = 0;
    bullet_hide(BULLET_FIRST_ENEMY + i);
  }
  for (i = 0; i < BLAST_SLOTS; ++i) {
    blast_age[i] = 0;
    sprite_hide(SPRITE_FIRST_BLAST + i);
  }
  level_now = level;
  spawn_interval = level >= 10 ? 40 : 130 - level * 9;
  max_active = level >= 7 ? 5 : 1 + (level + 1) / 2;
  spawn_timer = 90;
}

static void spawn(uint8_t slot) {
  uint8_t r = random_byte();
  uint8_t choice = level_now < 2 ? 0 : r % (level_now < 3 ? 2 : 3);
  uint8_t fast = level_now >= 4;
  age[slot] = 0;
  reload[slot] = 30 + (r & 31);
  hits_left[slot] = 1;
  if (choice == 0) {
    kind[slot] = KIND_DRONE;
    pos_y[slot] = 32 + (uint8_t)((random_byte() % 10) << 4);
    step_y[slot] = 0;
    if (r & 0x80) {
      pos_x[slot] = 240;
      step_x[slot] = fast ? 2 : 1;
    } else {
      pos_x[slot] = 224;
      step_x[slot] = fast ? -2 : -1;
    }
  } else if (choice == 1) {
    kind[slot] = KIND_DIVER;
    pos_x[slot] = 16 + (random_byte() % 192);
    pos_y[slot] = 8;
    step_x[slot] = 0;
    step_y[slot] = fast ? 3 : 2;
  } else {
    kind[slot] = KIND_ORB;
    hits_left[slot] = 2;
    pos_x[slot] = (r & 0x80) ? 8 : 200;
    pos_y[slot] = 16;
    step_x[slot] = (r & 0x80) ? 1 : -1;
    step_y[slot] = 1;
  }
}

static void fire_from(uint8_t slot, uint8_t ship_x) {
  uint8_t i;
  for (i = 0; i < BULLET_ENEMY_COUNT; ++i) {
    if (shot_y[i]) continue;
    shot_x[i] = pos_x[slot] + 8;
    shot_y[i] = pos_y[slot] + 14;
    shot_dx[i] = 0;
    if (kind[slot] == KIND_ORB) {
      shot_dx[i] = ship_x + 8 > shot_x[i] ? 1 : -1;
    }
    return;
  }
}

static void retire(uint8_t slot) {
  kind[slot] = KIND_NONE;
  sprite_hide(SPRITE_FIRST_ENEMY + slot);
}

static void move_enemy(uint8_t slot, uint8_t ship_x, uint8_t ship_y) {
  uint8_t k = kind[slot];
  if (age[slot] != 255) ++age[slot];
  switch (k) {
    case KIND_DRONE:
      pos_x[slot] += step_x[slot];
      /* A gentle bob as it crosses. */
      if ((age[slot] & 15) == 0) pos_y[slot] += (age[slot] & 16) ? 2 : -2;
      if (age[slot] > 250) retire(slot);
      break;
    case KIND_DIVER:
      pos_y[slot] += step_y[slot];
      if ((age[slot] & 3) == 0) {
        if (pos_x[slot] + 4 < ship_x) {
          ++pos_x[slot];
        } else if (pos_x[slot] > ship_x + 4) {
          --pos_x[slot];
        }
      }
      if (pos_y[slot] > 244) retire(slot);
      break;
    default:
      pos_x[slot] += step_x[slot];
      pos_y[slot] += step_y[slot];
      if (pos_x[slot] < 4 || pos_x[slot] > 204) step_x[slot] = -step_x[slot];
      /* After a while it stops bouncing and leaves by the bottom. */
      if (age[slot] >= 200) {
        step_y[slot] = 2;
      } else if (pos_y[slot] < 16 || pos_y[slot] > 150) {
        step_y[slot] = -step_y[slot];
      }
      if (pos_y[slot] > 244) retire(slot);
      break;
  }
  if (kind[slot] == KIND_NONE) return;
  if (reload[slot]) {
    --reload[slot];
  } else if (pos_x[slot] < OFFSCREEN_X && pos_y[slot] + 24 < ship_y) {
    uint8_t near = pos_x[slot] + 24 > ship_x && pos_x[slot] < ship_x + 24;
    if (near || k == KIND_ORB) {
      fire_from(slot, ship_x);
      reload[slot] = level_now >= 6 ? 35 : 70 - level_now * 5;
    }
  }
  sprite_put(SPRITE_FIRST_ENEMY + slot, pos_x[slot], pos_y[slot], kFrames[k][(tick >> 3) & 1],
             kColour[k]);
}

static void move_shots(void) {
  uint8_t i;
  for (i = 0; i < BULLET_ENEMY_COUNT; ++i) {
    if (!shot_y[i]) continue;
    shot_y[i] += 2;
    if (tick & 1) shot_x[i] += shot_dx[i];
    if (shot_y[i] > 246 || shot_x[i] >= OFFSCREEN_X) {
      shot_y[i] = 0;
      bullet_hide(BULLET_FIRST_ENEMY + i);
    } else {
      bullet_put(BULLET_FIRST_ENEMY + i, shot_x[i], shot_y[i]);
    }
  }
}

static void animate_blasts(void) {
  static const uint8_t kBlastFrames[3] = {SPRITE_BOOM_1, SPRITE_BOOM_2, SPRITE_BOOM_3};
  uint8_t i;
  for (i = 0; i < BLAST_SLOTS; ++i) {
    if (!blast_age[i]) continue;
    if (++blast_age[i] > 18) {
      blast_age[i] = 0;
      sprite_hide(SPRITE_FIRST_BLAST + i);
    } else {
      sprite_put(SPRITE_FIRST_BLAST + i, blast_x[i], blast_y[i],
                 kBlastFrames[(uint8_t)(blast_age[i] - 1) / 6], 7);
    }
  }
}

static void blast(uint8_t x, uint8_t y) {
  blast_x[next_blast] = x;
  blast_y[next_blast] = y;
  blast_age[next_blast] = 1;
  next_blast ^= 1;
}

void enemies_update(uint8_t ship_x, uint8_t ship_y) {
  uint8_t slot;
  uint8_t active = 0;
  ++tick;
  for (slot = 0; slot < ENEMY_SLOTS; ++slot) {
    if (kind[slot] == KIND_NONE) continue;
    ++active;
    move_enemy(slot, ship_x, ship_y);
  }
  if (spawn_timer) {
    --spawn_timer;
  } else if (active < max_active) {
    for (slot = 0; slot < ENEMY_SLOTS; ++slot) {
      if (kind[slot] == KIND_NONE) {
        spawn(slot);
        break;
      }
    }
    spawn_timer = spawn_interval;
  }
  move_shots();
  animate_blasts();
}

uint8_t enemies_shot_hits(uint8_t x, uint8_t y) {
  uint8_t slot;
  for (slot = 0; slot < ENEMY_SLOTS; ++slot) {
    uint8_t k = kind[slot];
    if (k == KIND_NONE || pos_x[slot] >= OFFSCREEN_X) continue;
    if ((uint8_t)(x - pos_x[slot] - 1) < 14 && (uint8_t)(y - pos_y[slot]) < 16) {
      if (--hits_left[slot]) {
        sound_play(SND_STEP);
        return ENEMY_HIT_NO_KILL;
      }
      blast(pos_x[slot], pos_y[slot]);
      retire(slot);
      sound_play(SND_ENEMY_HIT);
      return kPointsHundreds[k];
    }
  }
  return 0;
}

uint8_t enemies_touch_ship(uint8_t ship_x, uint8_t ship_y, uint8_t jumping) {
  uint8_t i;
  for (i = 0; i < ENEMY_SLOTS; ++i) {
    if (kind[i] == KIND_NONE || pos_x[i] >= OFFSCREEN_X) continue;
    if ((uint8_t)(pos_x[i] - ship_x + 11) < 23 && (uint8_t)(pos_y[i] - ship_y + 11) < 23) return 1;
  }
  if (jumping) return 0;
  for (i = 0; i < BULLET_ENEMY_COUNT; ++i) {
    if (!shot_y[i]) continue;
    if ((uint8_t)(shot_x[i] - ship_x - 3) < 10 && (uint8_t)(shot_y[i] - ship_y - 2) < 12) return 1;
  }
  return 0;
}
