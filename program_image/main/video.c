#include "video.h"

#include "hw.h"

#define TEXT_SPACE 0x10

/* Text runs rightwards with the cell address falling by 32; with scroll 0 the leftmost visible
   picture column belongs to cell group 29. */
volatile uint8_t* cell_at(int8_t column, uint8_t band) {
  return VIDEO_RAM + ((uint16_t)(uint8_t)(29 - column) << 5) + band;
}

/* Digits, capitals and the symbols between them show at their ASCII code less 0x30. */
uint8_t text_code(char c) {
  if (c >= '0' && c <= 'Z') return (uint8_t)(c - 0x30);
  switch (c) {
    case '-': return 0x2B;
    case '.': return 0x2C;
    case '!': return 0x2D;
    case '*': return 0x2E; /* the copyright sign */
    default: return TEXT_SPACE;
  }
}

void print_at(int8_t column, uint8_t band, const char* text) {
  volatile uint8_t* p = cell_at(column, band);
  while (*text) {
    *p = text_code(*text++);
    p -= 32;
  }
}

/* Up to 99 without a division: the Z80 has none. */
void print_number(int8_t column, uint8_t band, uint8_t value, uint8_t digits) {
  uint8_t tens = 0;
  while (value >= 10) {
    value -= 10;
    ++tens;
  }
  if (digits == 2) *cell_at(column++, band) = tens ? tens : TEXT_SPACE;
  *cell_at(column, band) = value;
}

/* Six digits from three packed-BCD bytes, least significant first; leading zeros are blank but
   the last two digits always show. */
void print_score(int8_t column, uint8_t band, const uint8_t* bcd) {
  volatile uint8_t* p = cell_at(column, band);
  uint8_t leading = 1;
  int8_t i;
  for (i = 5; i >= 0; --i) {
    uint8_t byte = bcd[i >> 1];
    uint8_t digit = (i & 1) ? byte >> 4 : byte & 0x0F;
    if (digit > 9) digit = 9; /* a damaged table still shows digits */
    if (digit || i < 2) leading = 0;
    *p = leading ? TEXT_SPACE : digit;
    p -= 32;
  }
}

static uint8_t fill_first;
static uint8_t fill_count;
static uint8_t fill_code;

/* Hot: clears whole screens. Fills bands fill_first.. of each of the 32 cell groups with LDIR. */
static void fill_groups(void) __naked {
  /* clang-format off */
  __asm
    ld   a, (_fill_first)
    ld   l, a
    ld   h, #0x48
    ld   a, #32
  09101$:
    push af
    push hl
    ld   a, (_fill_code)
    ld   (hl), a
    ld   a, (_fill_count)
    dec  a
    jr   z, 09102$
    ld   c, a
    ld   b, #0
    ld   d, h
    ld   e, l
    inc  de
    ldir
  09102$:
    pop  hl
    ld   de, #32
    add  hl, de
    pop  af
    dec  a
    jr   nz, 09101$
    ret
  __endasm;
  /* clang-format on */
}

void fill_bands(uint8_t first, uint8_t count, uint8_t code) {
  fill_first = first;
  fill_count = count;
  fill_code = code;
  fill_groups();
}

void band_colour(uint8_t band, uint8_t colour) {
  ATTRIBUTES[(uint8_t)(band * 2 + 1)] = colour;
}

void band_scroll(uint8_t band, uint8_t scroll) {
  ATTRIBUTES[(uint8_t)(band * 2)] = scroll;
}

/* x and y are screen pixels of the sprite's top left corner. */
void sprite_put(uint8_t slot, uint8_t x, uint8_t y, uint8_t code, uint8_t colour) {
  volatile uint8_t* s = SPRITE_RAM + (uint8_t)(slot * 4);
  s[0] = (uint8_t)(x + 16);
  s[1] = code;
  s[2] = colour;
  s[3] = (uint8_t)(y - 1);
}

void sprite_hide(uint8_t slot) {
  SPRITE_RAM[(uint8_t)(slot * 4)] = 0;
}

/* Bullets count rows from the bottom of the picture. */
void bullet_put(uint8_t slot, uint8_t x, uint8_t y) {
  volatile uint8_t* b = BULLET_RAM + (uint8_t)(slot * 4);
  b[1] = (uint8_t)(x + 16);
  b[3] = (uint8_t)(248 - y);
}

void bullet_hide(uint8_t slot) {
  BULLET_RAM[(uint8_t)(slot * 4 + 1)] = 0;
}

void hide_all_objects(void) {
  uint8_t i;
  for (i = 0; i < 8; ++i) {
    sprite_hide(i);
    bullet_hide(i);
  }
}
