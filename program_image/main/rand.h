#ifndef RAND_H
#define RAND_H

#include <stdint.h>

uint8_t random_byte(void);

#endif
