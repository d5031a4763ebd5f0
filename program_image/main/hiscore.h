/* The high-score table at 0x4200: five scores (3 bytes each, best first), then five sets of three
   initials as text codes. Its first four bytes are 00 00 01 00 when freshly written, which is how
   the board knows to read its saved table over it. */
#ifndef HISCORE_H
#define HISCORE_H

#include <stdint.h>

#define HISCORE_ENTRIES 5
#define NOT_RANKED HISCORE_ENTRIES

void hiscore_init(void);
/* Where the score would go in the table, or NOT_RANKED. */
uint8_t hiscore_rank(const uint8_t* score);
/* Inserts the score with blank initials at its rank and refreshes the top score. */
void hiscore_insert(uint8_t rank, const uint8_t* score);
uint8_t* hiscore_initials(uint8_t rank);
const uint8_t* hiscore_score(uint8_t rank);
/* Keeps the shown top score at least as high as this score. */
void hiscore_track(const uint8_t* score);
void hiscore_draw_table(void);

#endif
