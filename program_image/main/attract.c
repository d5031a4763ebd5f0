#include "attract.h"

#include "art_codes.h"
#include "game.h"
#include "hiscore.h"
#include "hw.h"
#include "input.h"
#include "lanes.h"
#include "sound.h"
#include "status.h"
#include "video.h"

#define PAGE_TITLE 0
#define PAGE_HOW_TO 1
#define PAGE_TITLE_AGAIN 2
#define PAGE_SCORES 3
#define PAGE_DEMO 4
#define PAGE_START 5
#define PAGE_COUNT 5

static const uint16_t kPageFrames[PAGE_COUNT] = {300, 480, 300, 300, 2400};

static uint8_t page;
static uint16_t page_frames;
static uint8_t shown_credits;
static uint8_t page_step;
#define PAGE_STEPS 7

/* Logo letters, 5 cells wide and 7 high, one bit a cell (bit 4 leftmost). */
static const uint8_t kLogo[8][7] = {
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, /* V */
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, /* O */
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, /* R */
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, /* T */
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, /* E */
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, /* K */
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, /* A */
    {0x11, 0x19, 0x19, 0x15, 0x13, 0x13, 0x11}, /* N */
};
static const uint8_t kLogoColours[7] = {1, 1, 7, 7, 7, 2, 2};
#define LOGO_TOP_BAND 3
#define LOGO_LINE_BANDS 8
#define LOGO_LEFT 2

/* A page is cleared in two halves, bands 2-16 and 17-30, a frame each. */
static void clear_page_half(uint8_t first, uint8_t count) {
  uint8_t band;
  hide_all_objects();
  fill_bands(first, count, 0x10);
  for (band = first; band < first + count; ++band) {
    band_scroll(band, 0);
    band_colour(band, 0);
  }
  STAR_ENABLE = 1;
}

/* Two letters of the logo, 0-1 and 2-3 on the top line, 4-5 and 6-7 below. */
static void draw_logo(uint8_t pair) {
  uint8_t letter, row, bit;
  uint8_t top = LOGO_TOP_BAND + (pair >> 1) * LOGO_LINE_BANDS;
  for (letter = pair * 2; letter < pair * 2 + 2; ++letter) {
    int8_t left = LOGO_LEFT + (letter & 3) * 6;
    for (row = 0; row < 7; ++row) {
      volatile uint8_t* cell = cell_at(left, top + row);
      uint8_t bits = kLogo[letter][row];
      for (bit = 0; bit < 5; ++bit, cell -= 32, bits <<= 1) {
        if (bits & 0x10) *cell = TILE_LOGO_BLOCK;
      }
    }
  }
  for (row = 0; row < 7; ++row) band_colour(top + row, kLogoColours[row]);
}

/* The publisher's name is read from the program's own bytes, which the board may change. */
static void draw_publisher(void) {
  volatile uint8_t* cell = cell_at(10, 19);
  uint8_t i;
  band_colour(19, 0);
  band_colour(21, 1);
  band_colour(24, 3);
  band_colour(27, 4);
  *cell = text_code('*');
  cell -= 64;
  for (i = 0; i < 6; ++i, cell -= 32) *cell = text_code((char)PUBLISHER_NAME[i]);
}

static void draw_coin_lines(void) {
  uint8_t per_coin = dip_credits_per_coin();
  fill_bands(24, 1, 0x10);
  fill_bands(27, 1, 0x10);
  if (page == PAGE_START) {
    print_at(7, 24, credits >= 2 ? "1 OR 2 PLAYERS" : "1 PLAYER ONLY ");
  } else {
    print_at(5, 24, "1 COIN");
    print_number(13, 24, per_coin, 1);
    print_at(15, 24, per_coin == 1 ? "CREDIT" : "CREDITS");
  }
  print_at(3, 27, "JUMP OVER. SHOOT. CLIMB.");
}

static void show_pair(uint8_t column, uint8_t band, uint8_t first_tile) {
  band_colour(band, 0);
  *cell_at(column, band) = first_tile;
  *cell_at(column + 1, band) = first_tile + 1;
  *cell_at(column, band + 1) = first_tile + 2;
  *cell_at(column + 1, band + 1) = first_tile + 3;
}

static void draw_how_to_top(void) {
  band_colour(3, 1);
  print_at(8, 3, "HOW TO PLAY");
  print_at(3, 6, "REACH THE VORTEX GATES");
  print_at(2, 8, "AT THE TOP OF THE FIELD");
  show_pair(4, 11, TILE_MINE_TL);
  band_colour(11, 2);
  band_colour(12, 2);
  print_at(8, 11, "JUMP OVER MINES");
  show_pair(4, 14, TILE_ROCK_TL);
  band_colour(14, 7);
  band_colour(15, 7);
  print_at(8, 14, "AND ROCKS");
  *cell_at(4, 17) = TILE_CURRENT_R_TOP;
  *cell_at(5, 17) = TILE_CURRENT_R_TOP;
  *cell_at(4, 18) = TILE_CURRENT_R_BOT;
  *cell_at(5, 18) = TILE_CURRENT_R_BOT;
  band_colour(17, 5);
  band_colour(18, 5);
  print_at(8, 17, "CURRENTS CARRY YOU");
}

static void draw_how_to_bottom(void) {
  print_at(8, 21, "100 POINTS");
  print_at(8, 24, "200 POINTS");
  print_at(8, 27, "300 POINTS");
  sprite_put(1, 32, 164, SPRITE_DRONE_A, 3);
  sprite_put(2, 32, 188, SPRITE_DIVER_A, 2);
  sprite_put(3, 32, 212, SPRITE_ORB_A, 4);
}

static void draw_scores_page(void) {
  uint8_t band;
  band_colour(4, 1);
  for (band = 8; band < 21; band += 3) band_colour(band, 0);
  hiscore_draw_table();
}

/* A page is drawn over seven frames (clearing, then in parts), as drawing it whole would not
   fit in one frame's time. */
static void draw_page_step(void) {
  uint8_t step = page_step++;
  if (step == 0) {
    clear_page_half(2, 15);
    return;
  }
  if (step == 1) {
    clear_page_half(17, 14);
    status_clear_playfield();
    return;
  }
  --step;
  if (page == PAGE_HOW_TO) {
    if (step == 1) {
      draw_how_to_top();
    } else if (step == 2) {
      draw_how_to_bottom();
    }
  } else if (page == PAGE_SCORES) {
    if (step == 1) draw_scores_page();
  } else if (page == PAGE_DEMO) {
    if (step == 1) game_start(1, 1);
  } else if (step < 5) {
    draw_logo(step - 1);
  } else {
    draw_publisher();
    draw_coin_lines();
  }
}

static void show_page(uint8_t next) {
  sound_mute(0);
  page = next;
  page_frames = 0;
  page_step = 0;
}

void attract_begin(void) {
  sound_play(SND_STOP); /* whatever the last game left playing */
  shown_credits = credits;
  show_page(credits ? PAGE_START : PAGE_TITLE);
}

/* Under the title the ship sways at the dock and shoots at a drone crossing above it. */
static void animate_title(void) {
  uint8_t t = (uint8_t)page_frames;
  uint8_t sway = (t & 64) ? 63 - (t & 63) : (t & 63);
  uint8_t shot_y = 216 - ((t & 31) << 2);
  sprite_put(SPRITE_SHIP_SLOT, 72 + sway, 226, (t & 4) ? SPRITE_SHIP_THRUST : SPRITE_SHIP, 6);
  sprite_put(SPRITE_FIRST_ENEMY, t, 200, (t & 8) ? SPRITE_DRONE_A : SPRITE_DRONE_B, 3);
  if (shot_y > 200) {
    bullet_put(BULLET_FIRST_PLAYER, 79 + sway, shot_y);
  } else {
    bullet_hide(BULLET_FIRST_PLAYER);
  }
}

static void blink_prompt(void) {
  uint8_t on = (page_frames & 32) != 0;
  if (page == PAGE_START) {
    print_at(9, 21, on ? "PUSH START" : "          ");
  } else {
    print_at(8, 21, on ? "INSERT COIN" : "           ");
  }
}

void attract_frame(void) {
  ++page_frames;
  if (credits && page != PAGE_START) {
    show_page(PAGE_START);
  } else if (page == PAGE_START && credits != shown_credits && page_step >= PAGE_STEPS) {
    draw_coin_lines();
  }
  shown_credits = credits;
  if (page_step < PAGE_STEPS) {
    draw_page_step();
    return;
  }
  if (page == PAGE_DEMO) {
    if (game_frame() || page_frames >= kPageFrames[PAGE_DEMO]) show_page(PAGE_TITLE);
    return;
  }
  if (page == PAGE_TITLE || page == PAGE_TITLE_AGAIN || page == PAGE_START) {
    blink_prompt();
    animate_title();
  }
  if (page != PAGE_START && page_frames >= kPageFrames[page]) show_page((page + 1) % PAGE_COUNT);
}
