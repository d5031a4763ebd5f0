/* The main program: start-up after the board check, then all work in the frame interrupt. */
#include <stdint.h>

#include "attract.h"
#include "game.h"
#include "hiscore.h"
#include "hw.h"
#include "input.h"
#include "sound.h"
#include "status.h"
#include "video.h"

#define MODE_ATTRACT 0
#define MODE_GAME 1

static uint8_t mode;
static volatile uint8_t in_frame;

static void clear_screen(void) {
  uint8_t band;
  fill_bands(0, BAND_COUNT, 0x10);
  for (band = 0; band < BAND_COUNT; ++band) {
    band_scroll(band, 0);
    band_colour(band, 0);
  }
  hide_all_objects();
}

/* Reached from start-up when the board's checks fail: say so and stop. */
void board_fault(void) {
  clear_screen();
  band_colour(14, 2);
  print_at(8, 14, "BOARD FAULT");
  band_colour(17, 0);
  print_at(4, 17, "CHECK THE PROGRAM ROM");
  for (;;) __asm__("halt");
}

static void start_game_if_asked(void) {
  uint8_t wanted = 0;
  if (start1_pressed && credits >= 1) {
    wanted = 1;
  } else if (start2_pressed && credits >= 2) {
    wanted = 2;
  }
  if (!wanted) return;
  if (mode == MODE_GAME) game_abandon();
  credits -= wanted;
  mode = MODE_GAME;
  game_start(wanted, 0);
}

/* Called from the NMI entry once a frame. A frame whose work overran into the next interrupt is
   not re-entered; that interrupt is simply skipped. */
void frame_nmi(void) {
  if (in_frame) return;
  in_frame = 1;
  sound_send_next();
  input_update();
  if (mode == MODE_ATTRACT || game_takes_new_start()) start_game_if_asked();
  if (mode == MODE_GAME) {
    if (game_frame()) {
      mode = MODE_ATTRACT;
      attract_begin();
    }
  } else {
    attract_frame();
  }
  status_draw_scores(mode == MODE_GAME);
  in_frame = 0;
}

void main(void) {
  clear_screen();
  hiscore_init();
  status_init();
  STAR_ENABLE = 1;
  attract_begin();
  status_draw_scores(0);
  NMI_ENABLE = 1;
  for (;;) __asm__("halt");
}
