/* The attract mode's pilot: controls for the demonstration game. */
#ifndef DEMO_H
#define DEMO_H

#include <stdint.h>

uint8_t demo_controls(void);

#endif
