#include "gfx/blit.h"

// Placeholder: being written.
