#pragma once

// The PC set-1 scancode of a key, from its USB HID keyboard usage (usage page 7). SDL's
// scancodes are these usages, so the window backend looks its keys up here; is_key_down speaks
// set-1 because that is what the facility's programs were written against.

namespace gfx {

// The low byte of the key's set-1 make code (extended keys answer to it too: the arrow block
// and the keypad's 8/2/4/6 are both Up/Down/Left/Right), or 0 for a key with none in 1-127.
int set1_from_usb_usage(int usage);

// Largest usage that has a set-1 code; the table stops there.
inline constexpr int last_mapped_usb_usage = 231;

}  // namespace gfx
