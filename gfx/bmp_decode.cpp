#include "gfx/bmp_decode.h"

// Placeholder: being written.
