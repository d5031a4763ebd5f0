/* The score lines (bands 0 and 1) and the line under the playfield (band 31). */
#ifndef STATUS_H
#define STATUS_H

#include <stdint.h>

void status_init(void);
/* in_game: a game (not the demonstration) is running, so the current player's label blinks. */
void status_draw_scores(uint8_t in_game);
/* time: seconds left in BCD, or STATUS_NO_TIME. */
#define STATUS_NO_TIME 0xFF
void status_draw_playfield(uint8_t lives, uint8_t level, uint8_t time);
void status_clear_playfield(void);

#endif
