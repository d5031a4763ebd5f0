/* The board as the main program sees it. */
#ifndef HW_H
#define HW_H

#include <stdint.h>

#define VIDEO_RAM ((volatile uint8_t*)0x4800)  /* 1024 tile codes, 32 to a picture column */
#define ATTRIBUTES ((volatile uint8_t*)0x5000) /* per band: scroll, colour */
#define SPRITE_RAM ((volatile uint8_t*)0x5040) /* 8 x (x, code and flips, colour, y) */
#define BULLET_RAM ((volatile uint8_t*)0x5060) /* 8 x (unused, x, unused, y) */
#define NMI_ENABLE (*(volatile uint8_t*)0x6801)
#define STAR_ENABLE (*(volatile uint8_t*)0x6804)
#define INPUT_PORT0 (*(volatile uint8_t*)0x8100)
#define INPUT_PORT1 (*(volatile uint8_t*)0x8101)
#define INPUT_PORT2 (*(volatile uint8_t*)0x8102)
#define SOUND_COMMAND (*(volatile uint8_t*)0x8200)
#define SOUND_TRIGGER (*(volatile uint8_t*)0x8201)
#define PUBLISHER_NAME ((const volatile uint8_t*)0x006D) /* six letters the board may patch */

/* The high-score table and the top score shown on screen live at fixed places the board's
   high-score file is read into. */
#define HISCORE_TABLE ((uint8_t*)0x4200)
#define TOP_SCORE ((uint8_t*)0x40A8)

#define SPRITE_SHIP_SLOT 0
#define SPRITE_FIRST_ENEMY 1
#define SPRITE_FIRST_BLAST 6
#define BULLET_FIRST_PLAYER 0
#define BULLET_PLAYER_COUNT 3
#define BULLET_FIRST_ENEMY 3
#define BULLET_ENEMY_COUNT 5

#define SPRITE_FLIP_X 0x80

#endif
