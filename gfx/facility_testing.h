#pragma once

// Test seam: an in-memory screen with no window and no thread, and keys put in by hand.

#include <string_view>

#include "gfx/blit.h"
#include "gfx/image.h"

namespace gfx::testing {

// When on, set_screen_mode opens an in-memory screen instead of a window or the terminal.
void use_memory_screen(bool on);

// Closes whatever screen is open and clears keys, as before the first set_screen_mode.
void close_screen();

// Hold or release a key by scancode, as a backend's keyboard poll would.
void set_key_held(int scancode, bool held);

// Queue a key code, as a backend would when a key is typed.
void queue_key_code(std::string_view code);

// The framebuffer as it is now, taken under the screen lock (empty image without a screen).
Image screen_snapshot();

// The rows marked for presentation and not yet presented; taking them leaves none marked.
RowSpan take_marked_rows();

// lock_screen calls not yet matched.
int lock_depth();

}  // namespace gfx::testing
