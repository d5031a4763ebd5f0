// Formatted wide text.
#pragma once

#include "platform/types.h"

// Formats into buffer (at most 1024 characters including the terminator, like the device's
// own) and returns the characters written without the terminator. Conversions: %s (wide
// string; null prints "(null)"), %c (wide character), %d and %i, %u, %x and %X, %%; flags '-'
// and '0', a decimal width, and the 'l' and 'h' size prefixes (which change nothing here).
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
