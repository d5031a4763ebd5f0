#include "rand.h"

static uint16_t state = 0x7A39;

/* 16-bit xorshift: cheap on the Z80 and never stuck at zero. */
uint8_t random_byte(void) {
  uint16_t x = state;
  x ^= x << 7;
  x ^= x >> 9;
  x ^= x << 8;
  state = x;
  return (uint8_t)x;
}
