/* The attract mode: title, instructions, high scores and a demonstration, and the start screen
   once credits are in. */
#ifndef ATTRACT_H
#define ATTRACT_H

#include <stdint.h>

void attract_begin(void);
void attract_frame(void);

#endif
