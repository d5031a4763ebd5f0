#include "lanes.h"

#include "art_codes.h"
#include "hw.h"
#include "video.h"

#define FIRST_BAND 2
#define HAZARD_TILE_MASK 0xF0
#define HAZARD_TILE_ROW 0x40

uint8_t lane_type[LANE_COUNT];
int8_t lane_shift[LANE_COUNT];

static int16_t lane_speed[LANE_COUNT]; /* 1/256 pixel per frame */
static uint16_t lane_position[LANE_COUNT];
static uint16_t lane_pattern[LANE_COUNT]; /* set bit: an object in that 16-pixel slot */
static uint8_t lanes_drawn;

/* Four layouts, cycled by level; speeds in 1/256 pixel per frame at level 1. */
static const uint8_t kLayouts[4][LANE_COUNT] = {
    {LANE_GOAL_WALL, LANE_ROCKS, LANE_CURRENT, LANE_MINES, LANE_ROCKS, LANE_CURRENT, LANE_MINES,
     LANE_SAFE, LANE_ROCKS, LANE_MINES, LANE_CURRENT, LANE_ROCKS, LANE_MINES, LANE_SAFE},
    {LANE_GOAL_WALL, LANE_MINES, LANE_ROCKS, LANE_CURRENT, LANE_CURRENT, LANE_MINES, LANE_ROCKS,
     LANE_SAFE, LANE_MINES, LANE_CURRENT, LANE_ROCKS, LANE_MINES, LANE_ROCKS, LANE_SAFE},
    {LANE_GOAL_WALL, LANE_CURRENT, LANE_MINES, LANE_ROCKS, LANE_MINES, LANE_CURRENT, LANE_ROCKS,
     LANE_SAFE, LANE_CURRENT, LANE_ROCKS, LANE_MINES, LANE_CURRENT, LANE_ROCKS, LANE_SAFE},
    {LANE_GOAL_WALL, LANE_ROCKS, LANE_MINES, LANE_CURRENT, LANE_ROCKS, LANE_MINES, LANE_CURRENT,
     LANE_SAFE, LANE_ROCKS, LANE_CURRENT, LANE_MINES, LANE_ROCKS, LANE_CURRENT, LANE_SAFE},
};
static const int16_t kBaseSpeed[LANE_COUNT] = {40, -150, 200, -110, 170, -230, 130,
                                               0,  -120, 160, -190, 100, -140, 0};
/* Set bits are hazards in 16-pixel slots; later levels pack them closer. */
static const uint16_t kHazardPatterns[4][4] = {
    {0x1111, 0x0505, 0x1111, 0x0303},
    {0x1111, 0x0303, 0x1111, 0x0707},
    {0x2323, 0x0707, 0x1313, 0x1111},
    {0x2323, 0x0F0F, 0x3333, 0x1313},
};
static const uint8_t kLaneColour[5] = {3, 4, 7, 2, 5};

void lanes_plan(uint8_t level) {
  const uint8_t* types = kLayouts[(uint8_t)(level - 1) & 3];
  uint8_t boost = level > 12 ? 12 : level - 1; /* each level adds a quarter of the base speed */
  const uint16_t* patterns = kHazardPatterns[level > 4 ? 3 : level - 1];
  uint16_t wall = level < 5 ? 0x3333 : 0x7777;
  uint8_t lane, step;
  for (lane = 0; lane < LANE_COUNT; ++lane) {
    uint8_t type = types[lane];
    int16_t quarter = kBaseSpeed[lane] / 4;
    int16_t speed = kBaseSpeed[lane];
    for (step = boost; step; --step) speed += quarter;
    lane_type[lane] = type;
    lane_speed[lane] = speed;
    lane_position[lane] = 0;
    lane_shift[lane] = 0;
    if (type == LANE_GOAL_WALL) {
      lane_pattern[lane] = wall;
    } else if (type == LANE_ROCKS || type == LANE_MINES) {
      lane_pattern[lane] = patterns[lane & 3];
    } else {
      lane_pattern[lane] = 0;
    }
  }
  lanes_drawn = 0;
}

static void put_pair(volatile uint8_t* top, uint8_t upper, uint8_t lower) {
  top[0] = upper;
  top[1] = lower;
}

/* Slot s covers cell groups 2s+1 (left) and 2s (right) of the lane's two bands. */
static void draw_lane(uint8_t lane) {
  uint8_t band = FIRST_BAND + lane * 2;
  uint8_t type = lane_type[lane];
  uint16_t pattern = lane_pattern[lane];
  volatile uint8_t* cell = VIDEO_RAM + band;
  uint8_t slot;
  band_colour(band, kLaneColour[type]);
  band_colour(band + 1, kLaneColour[type]);
  band_scroll(band, 0);
  band_scroll(band + 1, 0);
  for (slot = 0; slot < 16; ++slot, pattern >>= 1, cell += 64) {
    uint8_t filled = pattern & 1;
    switch (type) {
      case LANE_GOAL_WALL:
        if (filled) {
          put_pair(cell, TILE_WALL_TOP, TILE_WALL_BOT);
          put_pair(cell + 32, TILE_WALL_TOP, TILE_WALL_BOT);
        } else {
          put_pair(cell, TILE_GATE_TOP, TILE_GATE_BOT);
          put_pair(cell + 32, TILE_GATE_TOP, TILE_GATE_BOT);
        }
        break;
      case LANE_ROCKS:
      case LANE_MINES: {
        uint8_t first = type == LANE_ROCKS ? TILE_ROCK_TL : TILE_MINE_TL;
        if (filled) {
          put_pair(cell + 32, first, first + 2);
          put_pair(cell, first + 1, first + 3);
        } else {
          put_pair(cell, 0x10, 0x10);
          put_pair(cell + 32, 0x10, 0x10);
        }
        break;
      }
      case LANE_CURRENT:
        if (lane_speed[lane] > 0) {
          put_pair(cell, TILE_CURRENT_R_TOP, TILE_CURRENT_R_BOT);
        } else {
          put_pair(cell, TILE_CURRENT_L_TOP, TILE_CURRENT_L_BOT);
        }
        put_pair(cell + 32, TILE_CURRENT_DOTS, TILE_CURRENT_DOTS);
        break;
      default:
        put_pair(cell, TILE_PLATFORM_TOP, TILE_PLATFORM_BOT);
        put_pair(cell + 32, TILE_PLATFORM_TOP, TILE_PLATFORM_BOT);
        break;
    }
  }
}

uint8_t lanes_draw_step(void) {
  if (lanes_drawn >= LANE_COUNT) return 1;
  draw_lane(LANE_COUNT - 1 - lanes_drawn);
  ++lanes_drawn;
  return lanes_drawn >= LANE_COUNT;
}

/* Hot: every frame of play. Adds each lane's speed to its position and writes the new whole
   pixel to the scroll bytes of both its bands. */
void lanes_move(void) __naked {
  /* clang-format off */
  __asm
    push ix
    push iy
    ld   iy, #_lane_shift
    ld   ix, #(0x5000 + FIRST_BAND * 2)
    ld   hl, #_lane_position
    ld   de, #_lane_speed
    ld   b, #LANE_COUNT
  09001$:
    ld   a, (de)
    add  a, (hl)
    ld   (hl), a
    inc  hl
    inc  de
    ld   a, (de)
    ld   c, (hl)
    adc  a, c
    ld   (hl), a
    inc  hl
    inc  de
    ld   0 (ix), a
    ld   2 (ix), a
    sub  a, c
    ld   0 (iy), a
    inc  iy
    inc  ix
    inc  ix
    inc  ix
    inc  ix
    djnz 09001$
    pop  iy
    pop  ix
    ret
  __endasm;
  /* clang-format on */
}

uint8_t lane_at_row(uint8_t row) {
  if (row < PLAYFIELD_TOP) return LANE_GOAL;
  row = (uint8_t)((row - PLAYFIELD_TOP) >> 4);
  return row >= LANE_COUNT ? LANE_DOCK : row;
}

/* A band shows picture column (x + 16 - scroll) at screen column x; that column belongs to cell
   group 31 - column / 8. */
uint8_t lanes_hazard_at(uint8_t x, uint8_t y) {
  uint8_t band = y >> 3;
  uint8_t column = (uint8_t)(x + 16 - ATTRIBUTES[(uint8_t)(band * 2)]);
  uint8_t group = 31 - (column >> 3);
  uint8_t tile = VIDEO_RAM[((uint16_t)group << 5) + band];
  return (tile & HAZARD_TILE_MASK) == HAZARD_TILE_ROW;
}

void lanes_clear(void) {
  uint8_t band;
  fill_bands(FIRST_BAND, LANE_COUNT * 2, 0x10);
  for (band = FIRST_BAND; band < FIRST_BAND + LANE_COUNT * 2; ++band) band_scroll(band, 0);
}
