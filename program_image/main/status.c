#include "status.h"

#include "art_codes.h"
#include "game.h"
#include "hw.h"
#include "input.h"
#include "video.h"

#define LABEL_BAND 0
#define SCORE_BAND 1
#define BOTTOM_BAND 31
#define LIVES_SHOWN 6

static uint8_t blink;

void status_init(void) {
  band_colour(LABEL_BAND, 2);
  band_colour(SCORE_BAND, 0);
  band_colour(BOTTOM_BAND, 6);
  band_scroll(LABEL_BAND, 0);
  band_scroll(SCORE_BAND, 0);
  band_scroll(BOTTOM_BAND, 0);
  print_at(9, LABEL_BAND, "HIGH SCORE");
}

/* The right end of the label line names player two in a two-player game and shows the credits
   otherwise. */
void status_draw_scores(uint8_t in_game) {
  uint8_t hide_label = in_game && (++blink & 16);
  print_at(1, LABEL_BAND, hide_label && current_player == 0 ? "   " : "1UP");
  print_score(0, SCORE_BAND, players[0].score);
  print_score(11, SCORE_BAND, TOP_SCORE);
  if (in_game && player_count == 2) {
    print_at(19, LABEL_BAND, hide_label && current_player == 1 ? "        " : "   2UP  ");
    print_score(21, SCORE_BAND, players[1].score);
  } else {
    print_at(19, LABEL_BAND, "CREDIT");
    print_number(25, LABEL_BAND, credits, 2);
    print_at(21, SCORE_BAND, "      ");
  }
}

void status_draw_playfield(uint8_t lives, uint8_t level, uint8_t show_time) {
  volatile uint8_t* cell = cell_at(0, BOTTOM_BAND);
  uint8_t i;
  /* The ship in play is not counted among the spares. */
  for (i = 1; i <= LIVES_SHOWN; ++i, cell -= 32) *cell = i < lives ? TILE_LIFE : 0x10;
  print_at(8, BOTTOM_BAND, "LEVEL");
  print_number(14, BOTTOM_BAND, level, 2);
  if (show_time) {
    print_at(19, BOTTOM_BAND, "TIME");
    print_number(24, BOTTOM_BAND, (uint8_t)((time_left >> 4) * 10 + (time_left & 0x0F)), 2);
  } else {
    print_at(19, BOTTOM_BAND, "       ");
  }
}

void status_clear_playfield(void) {
  fill_bands(BOTTOM_BAND, 1, 0x10);
}
