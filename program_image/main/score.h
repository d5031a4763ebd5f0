/* Scores: six digits as three packed-BCD bytes, least significant first. */
#ifndef SCORE_H
#define SCORE_H

#include <stdint.h>

/* Adds hundreds_bcd * 100 + units_bcd; stops at 999999. */
void score_add(uint8_t* score, uint8_t units_bcd, uint8_t hundreds_bcd);
/* Negative, zero or positive as a is below, equal to or above b. */
int8_t score_compare(const uint8_t* a, const uint8_t* b);
void score_copy(uint8_t* to, const uint8_t* from);

#endif
