#include "gfx/backend.h"

// Placeholder: being written.
