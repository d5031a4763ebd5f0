/* One game for one or two players taking turns, or the attract mode's demonstration. */
#ifndef GAME_H
#define GAME_H

#include <stdint.h>

typedef struct {
  uint8_t score[3];
  uint8_t lives;
  uint8_t level;
  uint8_t extra_life_given;
} Player;

extern Player players[2];
extern uint8_t player_count;
extern uint8_t current_player;

void game_start(uint8_t players_wanted, uint8_t demonstration);
/* Runs one frame; returns 1 once the game is over and the high scores are entered. */
uint8_t game_frame(void);
/* 1 while a new game may start from this one (after the last ship is lost). */
uint8_t game_takes_new_start(void);
/* Ends the game now: initials being entered stay as they are. */
void game_abandon(void);

#endif
