#include "score.h"

static uint8_t add_digits(uint8_t a, uint8_t b, uint8_t* carry) {
  uint8_t low = (a & 0x0F) + (b & 0x0F) + *carry;
  uint8_t high = (a >> 4) + (b >> 4);
  if (low > 9) {
    low -= 10;
    ++high;
  }
  *carry = high > 9;
  if (*carry) high -= 10;
  return (uint8_t)(high << 4 | low);
}

void score_add(uint8_t* score, uint8_t units_bcd, uint8_t hundreds_bcd) {
  uint8_t carry = 0;
  uint8_t units = add_digits(score[0], units_bcd, &carry);
  uint8_t hundreds = add_digits(score[1], hundreds_bcd, &carry);
  uint8_t top = add_digits(score[2], 0, &carry);
  if (carry) {
    score[0] = score[1] = score[2] = 0x99;
    return;
  }
  score[0] = units;
  score[1] = hundreds;
  score[2] = top;
}

int8_t score_compare(const uint8_t* a, const uint8_t* b) {
  int8_t i;
  for (i = 2; i >= 0; --i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

void score_copy(uint8_t* to, const uint8_t* from) {
  to[0] = from[0];
  to[1] = from[1];
  to[2] = from[2];
}
