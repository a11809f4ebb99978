#pragma once

// What a key press puts in the key queue: one character for a character key (Enter 13, Tab 9,
// Backspace 8, Escape 27, Ctrl+letter 1-26, Latin-1 text as its byte), or the byte 255 and the
// key's PC extended code for a key without a character (Up 255 'H', F1 255 59, ...).

#include <string>
#include <string_view>

namespace gfx {

struct KeyPress {
    int usage = 0;        // USB HID keyboard usage of the key (an SDL scancode)
    char32_t symbol = 0;  // the character the layout puts on the key (an SDL keycode), or 0
    bool ctrl = false;
    bool alt = false;
    bool num_lock = false;
};

// The code a key press queues by itself, or "" when it queues none, or when its code is the
// text it types (that arrives separately, see code_for_text). Keypad keys type their digit
// while NumLock is on and are the cursor keys while it is off. Alt+F4 queues nothing.
std::string code_for_key_press(const KeyPress& press);

// The code for typed text (UTF-8): its one character when that is printable Latin-1, else ""
// (more than one character, a character beyond U+00FF, a control character, invalid UTF-8).
std::string code_for_text(std::string_view utf8);

// The extended code after the 255 for the cursor and function keys that share it across the
// window and the terminal.
namespace extended {
inline constexpr char home = 'G';       // 71
inline constexpr char up = 'H';         // 72
inline constexpr char page_up = 'I';    // 73
inline constexpr char left = 'K';       // 75
inline constexpr char right = 'M';      // 77
inline constexpr char end = 'O';        // 79
inline constexpr char down = 'P';       // 80
inline constexpr char page_down = 'Q';  // 81
inline constexpr char insert = 'R';     // 82
inline constexpr char del = 'S';        // 83
inline constexpr char close_request = 'k';
inline constexpr int f1 = 59;  // F1-F10 are 59-68
inline constexpr int f11 = 133;
inline constexpr int f12 = 134;
}  // namespace extended

// "\xFF" followed by `code`.
std::string extended_code(int code);

}  // namespace gfx
