#include "game.h"

#include "demo.h"
#include "enemies.h"
#include "hiscore.h"
#include "hw.h"
#include "input.h"
#include "lanes.h"
#include "score.h"
#include "ship.h"
#include "sound.h"
#include "status.h"
#include "video.h"

#define STATE_READY 0
#define STATE_PLAY 1
#define STATE_DYING 2
#define STATE_CLEARED 3
#define STATE_PLAYER_OUT 4
#define STATE_GAME_OVER 5
#define STATE_ENTRY 6
#define STATE_DONE 7

#define READY_FRAMES 110
#define DYING_FRAMES 90
#define CLEARED_FRAMES 150
#define PLAYER_OUT_FRAMES 150
#define GAME_OVER_FRAMES 240
#define ENTRY_FRAMES_LIMIT 1800
#define FRAMES_PER_SECOND 60
#define TIME_PER_ATTEMPT 0x60 /* BCD seconds */
#define MESSAGE_BAND 30
#define GAME_OVER_BAND 22
#define GAME_OVER_COLUMN 9

Player players[2];
uint8_t player_count;
uint8_t current_player;

static uint8_t demo;
static uint8_t state;
static uint16_t state_frames;
static uint8_t first_ready;
static uint8_t best_lane;
static uint8_t second_frames;
static uint8_t time_left;
static uint8_t bonus[3]; /* the last gate's bonus, BCD */

static uint8_t entry_rank[2];
static uint8_t entry_player;
static uint8_t entry_position;
static uint8_t entry_repeat;
static uint8_t entry_previous;

static void enter_state(uint8_t next) {
  state = next;
  state_frames = 0;
}

void game_start(uint8_t players_wanted, uint8_t demonstration) {
  uint8_t i;
  STAR_ENABLE = 1;
  demo = demonstration;
  sound_mute(demonstration);
  player_count = players_wanted;
  current_player = 0;
  for (i = 0; i < 2; ++i) {
    players[i].score[0] = players[i].score[1] = players[i].score[2] = 0;
    players[i].lives = i < players_wanted ? dip_lives() : 0;
    players[i].level = 1;
    players[i].extra_life_given = 0;
  }
  first_ready = 1;
  hide_all_objects();
  enter_state(STATE_READY);
}

static Player* player(void) {
  return &players[current_player];
}

static uint8_t cocktail_turn(void) {
  return dip_cocktail() && current_player == 1;
}

static uint8_t other_player(void) {
  return player_count == 2 ? current_player ^ 1 : current_player;
}

static void ready_frame(void) {
  /* Each lane's drawing takes a frame: the new field wipes the old one from the bottom up. */
  if (state_frames == 1) {
    hide_all_objects();
    fill_bands(MESSAGE_BAND, 1, 0x10);
    lanes_plan(player()->level);
    if (first_ready && !demo) sound_play(SND_START_TUNE);
    first_ready = 0;
    return;
  }
  if (!lanes_draw_step()) return;
  band_colour(MESSAGE_BAND, 1);
  if (demo) {
    print_at(7, MESSAGE_BAND, "DEMONSTRATION");
  } else {
    print_at(5, MESSAGE_BAND, "PLAYER");
    print_number(12, MESSAGE_BAND, current_player + 1, 1);
    print_at(15, MESSAGE_BAND, "READY!");
  }
  lanes_move();
  if (state_frames >= READY_FRAMES) {
    if (!demo) fill_bands(MESSAGE_BAND, 1, 0x10);
    ship_reset();
    enemies_reset(player()->level);
    best_lane = LANE_DOCK;
    time_left = TIME_PER_ATTEMPT;
    second_frames = 0;
    sound_play(SND_PULSE_SLOW);
    enter_state(STATE_PLAY);
  }
}

static void award(uint8_t units_bcd, uint8_t hundreds_bcd) {
  Player* p = player();
  score_add(p->score, units_bcd, hundreds_bcd);
}

/* Keeps the top score and the extra life up with the score, whatever added to it. */
static void after_scoring(void) {
  Player* p = player();
  if (demo) return;
  hiscore_track(p->score);
  if (!p->extra_life_given && p->score[2] >= 0x02) {
    p->extra_life_given = 1;
    if (p->lives < 255) ++p->lives;
    sound_play(SND_EXTRA_LIFE);
  }
}

static uint8_t count_down_time(void) {
  if (++second_frames < FRAMES_PER_SECOND) return 0;
  second_frames = 0;
  if (time_left == 0) return 1;
  time_left = (time_left & 0x0F) ? time_left - 1 : time_left - 7; /* BCD decrement */
  if (time_left == 0x10) sound_play(SND_PULSE_FAST);
  if (time_left <= 0x10 && time_left) sound_play(SND_TIME_WARN);
  return time_left == 0;
}

static void play_frame(void) {
  uint8_t controls = demo ? demo_controls() : input_controls(cocktail_turn());
  uint8_t outcome;
  uint8_t lane;
  lanes_move();
  outcome = ship_update(controls, player()->score);
  enemies_update(ship_x, ship_y);
  lane = lane_at_row(ship_y + 8);
  if (lane < best_lane) {
    best_lane = lane;
    award(0x10, 0x00);
    sound_play(SND_STEP);
  }
  if (count_down_time()) outcome = SHIP_OUTCOME_HIT;
  after_scoring();
  if (outcome != SHIP_OUTCOME_NONE) sound_play(SND_PULSE_OFF);
  if (outcome == SHIP_OUTCOME_HIT) {
    sound_play(SND_PLAYER_DIE);
    enter_state(STATE_DYING);
  } else if (outcome == SHIP_OUTCOME_HOME) {
    /* 1000 for the gate and ten a second left. */
    bonus[0] = (uint8_t)(time_left << 4);
    bonus[1] = (uint8_t)(0x10 + (time_left >> 4));
    award(bonus[0], bonus[1]);
    after_scoring();
    sound_play(SND_LEVEL_TUNE);
    enter_state(STATE_CLEARED);
  }
}

static void next_turn(void) {
  if (player_count == 2 && players[other_player()].lives) current_player = other_player();
  enter_state(STATE_READY);
}

static void insert_scores(void) {
  uint8_t i;
  entry_rank[0] = entry_rank[1] = NOT_RANKED;
  for (i = 0; i < player_count; ++i) {
    uint8_t rank = hiscore_rank(players[i].score);
    if (rank == NOT_RANKED) continue;
    hiscore_insert(rank, players[i].score);
    /* Player two's entry may push player one's down the table. */
    if (i == 1 && entry_rank[0] != NOT_RANKED && rank <= entry_rank[0]) ++entry_rank[0];
    entry_rank[i] = rank;
  }
}

static void dying_frame(void) {
  Player* p = player();
  ship_wreck((uint8_t)state_frames);
  lanes_move();
  enemies_update(ship_x, ship_y);
  if (state_frames < DYING_FRAMES) return;
  if (demo) {
    enter_state(STATE_DONE);
    return;
  }
  if (p->lives != 255) --p->lives;
  if (p->lives) {
    next_turn();
  } else if (player_count == 2 && players[other_player()].lives) {
    enter_state(STATE_PLAYER_OUT);
  } else {
    /* Scores go into the table at once, so a game started over this one loses none. */
    insert_scores();
    entry_player = 0;
    enter_state(STATE_GAME_OVER);
  }
}

static void cleared_frame(void) {
  lanes_move();
  if (state_frames == 1) {
    hide_all_objects();
    band_colour(MESSAGE_BAND, 3);
    print_at(1, MESSAGE_BAND, "GATE REACHED BONUS");
    print_score(19, MESSAGE_BAND, bonus);
  }
  if (state_frames < CLEARED_FRAMES) return;
  if (player()->level < 99) ++player()->level;
  if (demo) {
    enter_state(STATE_DONE);
    return;
  }
  next_turn();
}

/* One player of two is out: said away from the final game-over cells. */
static void player_out_frame(void) {
  if (state_frames == 1) {
    hide_all_objects();
    lanes_clear();
  } else if (state_frames == 2) {
    band_colour(14, 2);
    band_colour(16, 2);
    print_at(10, 14, "PLAYER");
    print_number(17, 14, current_player + 1, 1);
    print_at(9, 16, "GAME OVER");
  }
  if (state_frames >= PLAYER_OUT_FRAMES) next_turn();
}

static void begin_entry(void);

static void game_over_frame(void) {
  if (state_frames == 1) {
    hide_all_objects();
    lanes_clear();
  } else if (state_frames == 2) {
    fill_bands(MESSAGE_BAND, 1, 0x10);
    band_colour(GAME_OVER_BAND, 2);
    print_at(GAME_OVER_COLUMN, GAME_OVER_BAND, "GAME OVER");
    sound_play(SND_GAME_OVER_TUNE);
  }
  if (state_frames >= GAME_OVER_FRAMES) begin_entry();
}

static void draw_entry(void) {
  uint8_t* initials = hiscore_initials(entry_rank[entry_player]);
  uint8_t i;
  for (i = 0; i < 3; ++i) {
    uint8_t shown = initials[i];
    if (i == entry_position && (state_frames & 16)) shown = text_code('-');
    *cell_at(12 + i * 2, 17) = shown;
  }
}

static void begin_entry(void) {
  while (entry_player < player_count && entry_rank[entry_player] == NOT_RANKED) ++entry_player;
  enter_state(entry_player < player_count ? STATE_ENTRY : STATE_DONE);
}

/* The entry screen is cleared on its first frame and written on its second. */
static void draw_entry_screen(void) {
  STAR_ENABLE = 0; /* a quiet background while the letters are chosen */
  band_colour(6, 1);
  band_colour(9, 0);
  band_colour(12, 0);
  band_colour(17, 3);
  band_colour(25, 0);
  band_colour(27, 0);
  print_at(7, 6, "NEW HIGH SCORE!");
  print_at(10, 9, "PLAYER");
  print_number(17, 9, entry_player + 1, 1);
  print_at(4, 12, "ENTER YOUR INITIALS");
  print_at(3, 25, "UP AND DOWN CHOOSE");
  print_at(3, 27, "FIRE TAKES THE LETTER");
  entry_position = 0;
  entry_repeat = 0;
  entry_previous = 0xFF;
  hiscore_initials(entry_rank[entry_player])[0] = text_code('A');
}

static uint8_t next_letter(uint8_t code, uint8_t up) {
  uint8_t letter = (code >= 0x11 && code <= 0x2A) ? code : 0x11;
  if (up) return letter == 0x2A ? 0x11 : letter + 1;
  return letter == 0x11 ? 0x2A : letter - 1;
}

static void entry_frame(void) {
  uint8_t controls;
  uint8_t pressed;
  uint8_t* initials = hiscore_initials(entry_rank[entry_player]);
  if (state_frames == 1) {
    lanes_clear();
    return;
  }
  if (state_frames == 2) {
    draw_entry_screen();
    return;
  }
  controls = input_controls(dip_cocktail() && entry_player == 1);
  pressed = controls & ~entry_previous;
  entry_previous = controls;
  /* A letter steps once per press, then every ten frames while held. */
  if (pressed & (IN_UP | IN_DOWN)) {
    entry_repeat = 0;
    initials[entry_position] = next_letter(initials[entry_position], controls & IN_UP);
  } else if ((controls & (IN_UP | IN_DOWN)) && ++entry_repeat == 10) {
    entry_repeat = 0;
    initials[entry_position] = next_letter(initials[entry_position], controls & IN_UP);
  }
  if (pressed & IN_FIRE) {
    sound_play(SND_STEP);
    if (++entry_position < 3) {
      initials[entry_position] = initials[entry_position - 1];
    }
  }
  if (entry_position >= 3 || state_frames >= ENTRY_FRAMES_LIMIT) {
    ++entry_player;
    begin_entry();
    return;
  }
  draw_entry();
}

uint8_t game_frame(void) {
  ++state_frames;
  switch (state) {
    case STATE_READY: ready_frame(); break;
    case STATE_PLAY: play_frame(); break;
    case STATE_DYING: dying_frame(); break;
    case STATE_CLEARED: cleared_frame(); break;
    case STATE_PLAYER_OUT: player_out_frame(); break;
    case STATE_GAME_OVER: game_over_frame(); break;
    case STATE_ENTRY: entry_frame(); break;
    default: break;
  }
  if (state == STATE_DONE) return 1;
  status_draw_playfield(player()->lives, player()->level,
                        state == STATE_PLAY ? time_left : STATUS_NO_TIME);
  return 0;
}

uint8_t game_takes_new_start(void) {
  if (demo) return 0;
  return (state == STATE_GAME_OVER && state_frames > 30) || state == STATE_ENTRY ||
         state == STATE_DONE;
}

void game_abandon(void) {
  enter_state(STATE_DONE);
}
