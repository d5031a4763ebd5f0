#include "status.h"

#include "art_codes.h"
#include "game.h"
#include "hw.h"
#include "input.h"
#include "score.h"
#include "video.h"

#define LABEL_BAND 0
#define SCORE_BAND 1
#define BOTTOM_BAND 31
#define LIVES_SHOWN 6
#define NOTHING_SHOWN 0xFF

/* What the status lines show now: text is rewritten only when its value changes, as printing
   is the costliest work of an ordinary frame. */
typedef struct {
  uint8_t scores[3][3]; /* player one, top, player two */
  uint8_t credits;
  uint8_t right_label;
  uint8_t left_label;
  uint8_t lives;
  uint8_t level;
  uint8_t time;
} Shown;

static Shown shown;
static uint8_t blink;

void status_init(void) {
  band_colour(LABEL_BAND, 2);
  band_colour(SCORE_BAND, 0);
  band_colour(BOTTOM_BAND, 6);
  band_scroll(LABEL_BAND, 0);
  band_scroll(SCORE_BAND, 0);
  band_scroll(BOTTOM_BAND, 0);
  print_at(10, LABEL_BAND, "HI SCORE");
  status_clear_playfield();
  shown.scores[0][0] = shown.scores[1][0] = shown.scores[2][0] = NOTHING_SHOWN;
  shown.credits = shown.right_label = shown.left_label = NOTHING_SHOWN;
}

static void show_score(uint8_t which, int8_t column, const uint8_t* score) {
  uint8_t* now = shown.scores[which];
  if (now[0] == score[0] && now[1] == score[1] && now[2] == score[2]) return;
  score_copy(shown.scores[which], score);
  print_score(column, SCORE_BAND, score);
}

/* The right end of the label line names player two in a two-player game and shows the credits
   otherwise; the current player's label blinks during a game. */
void status_draw_scores(uint8_t in_game) {
  uint8_t hidden = in_game && (++blink & 16);
  uint8_t left = hidden && current_player == 0 ? 0 : 1;
  uint8_t right = (in_game && player_count == 2) ? (hidden && current_player == 1 ? 2 : 3) : 4;
  if (left != shown.left_label) {
    shown.left_label = left;
    print_at(1, LABEL_BAND, left ? "1UP" : "   ");
  }
  if (right != shown.right_label) {
    shown.right_label = right;
    print_at(19, LABEL_BAND, right == 2 ? "        " : right == 3 ? "   2UP  " : "CREDIT  ");
    shown.credits = NOTHING_SHOWN;
    if (right != 4) {
      show_score(2, 21, players[1].score);
    } else {
      print_at(21, SCORE_BAND, "      ");
      shown.scores[2][0] = NOTHING_SHOWN;
    }
  }
  if (right == 4 && credits != shown.credits) {
    shown.credits = credits;
    print_number(25, LABEL_BAND, credits, 2);
  }
  show_score(0, 0, players[0].score);
  show_score(1, 11, TOP_SCORE);
  if (right != 4) show_score(2, 21, players[1].score);
}

void status_draw_playfield(uint8_t lives, uint8_t level, uint8_t time) {
  if (lives != shown.lives) {
    volatile uint8_t* cell = cell_at(0, BOTTOM_BAND);
    uint8_t i;
    shown.lives = lives;
    /* The ship in play is not counted among the spares. */
    for (i = 1; i <= LIVES_SHOWN; ++i, cell -= 32) *cell = i < lives ? TILE_LIFE : 0x10;
  }
  if (level != shown.level) {
    shown.level = level;
    print_at(8, BOTTOM_BAND, "LEVEL");
    print_number(14, BOTTOM_BAND, level, 2);
  }
  if (time != shown.time) {
    shown.time = time;
    if (time != STATUS_NO_TIME) {
      print_at(19, BOTTOM_BAND, "TIME");
      *cell_at(24, BOTTOM_BAND) = time >> 4;
      *cell_at(25, BOTTOM_BAND) = time & 0x0F;
    } else {
      print_at(19, BOTTOM_BAND, "       ");
    }
  }
}

void status_clear_playfield(void) {
  fill_bands(BOTTOM_BAND, 1, 0x10);
  shown.lives = shown.level = shown.time = NOTHING_SHOWN;
}
