/* Text, tiles, band colours and scrolls, sprites and bullets.
   Columns count 0-27 from the left of the screen as seen with a band's scroll at 0; bands 0-31
   from the top. */
#ifndef VIDEO_H
#define VIDEO_H

#include <stdint.h>

#define BAND_COUNT 32

volatile uint8_t* cell_at(int8_t column, uint8_t band);
uint8_t text_code(char c);
void print_at(int8_t column, uint8_t band, const char* text);
/* One or two digits of a value up to 99 (one digit shows only the units). */
void print_number(int8_t column, uint8_t band, uint8_t value, uint8_t digits);
void print_score(int8_t column, uint8_t band, const uint8_t* bcd);
void fill_bands(uint8_t first, uint8_t count, uint8_t code);
void band_colour(uint8_t band, uint8_t colour);
void band_scroll(uint8_t band, uint8_t scroll);
void sprite_put(uint8_t slot, uint8_t x, uint8_t y, uint8_t code, uint8_t colour);
void sprite_hide(uint8_t slot);
void bullet_put(uint8_t slot, uint8_t x, uint8_t y);
void bullet_hide(uint8_t slot);
void hide_all_objects(void);

#endif
