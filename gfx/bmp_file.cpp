#include "gfx/bmp_file.h"

// Placeholder: being written.
