#include "gfx/key_codes.h"

#include "gfx/key_queue.h"

namespace gfx {
namespace {

// USB HID usages of the keys this file names.
constexpr int usage_enter = 40, usage_escape = 41, usage_backspace = 42, usage_tab = 43;
constexpr int usage_f1 = 58, usage_f4 = 61, usage_f10 = 67, usage_f11 = 68, usage_f12 = 69;
constexpr int usage_insert = 73, usage_home = 74, usage_page_up = 75, usage_delete = 76;
constexpr int usage_end = 77, usage_page_down = 78;
constexpr int usage_right = 79, usage_left = 80, usage_down = 81, usage_up = 82;
constexpr int usage_kp_enter = 88, usage_kp_1 = 89, usage_kp_9 = 97, usage_kp_0 = 98;
constexpr int usage_kp_period = 99;

// Extended codes of the cursor block, which the keypad's digits (NumLock off) share.
int cursor_code(int usage) {
    switch (usage) {
        case usage_insert:
            return extended::insert;
        case usage_home:
            return extended::home;
        case usage_page_up:
            return extended::page_up;
        case usage_delete:
            return extended::del;
        case usage_end:
            return extended::end;
        case usage_page_down:
            return extended::page_down;
        case usage_right:
            return extended::right;
        case usage_left:
            return extended::left;
        case usage_down:
            return extended::down;
        case usage_up:
            return extended::up;
        default:
            return 0;
    }
}

// The keypad's digits and point without NumLock; keypad 5 has no cursor meaning.
int keypad_cursor_code(int usage) {
    constexpr char by_digit[] = {
        extended::end,   extended::down, extended::page_down, extended::left,    0,
        extended::right, extended::home, extended::up,        extended::page_up,
    };
    if (usage >= usage_kp_1 && usage <= usage_kp_9) return by_digit[usage - usage_kp_1];
    if (usage == usage_kp_0) return extended::insert;
    if (usage == usage_kp_period) return extended::del;
    return 0;
}

}  // namespace

std::string extended_code(int code) {
    return std::string{extended_prefix, static_cast<char>(code)};
}

std::string code_for_key_press(const KeyPress& press) {
    const int usage = press.usage;
    switch (usage) {
        case usage_enter:
        case usage_kp_enter:
            return "\r";
        case usage_escape:
            return "\x1b";
        case usage_backspace:
            return "\b";
        case usage_tab:
            return "\t";
        default:
            break;
    }
    if (usage >= usage_f1 && usage <= usage_f10) {
        if (usage == usage_f4 && press.alt) return {};  // Alt+F4 closes nothing and types nothing
        return extended_code(extended::f1 + (usage - usage_f1));
    }
    if (usage == usage_f11) return extended_code(extended::f11);
    if (usage == usage_f12) return extended_code(extended::f12);
    if (const int code = cursor_code(usage)) return extended_code(code);
    if (!press.num_lock) {
        if (const int code = keypad_cursor_code(usage)) return extended_code(code);
    }
    // Ctrl+letter types a control character, which no text event carries. With Alt also held it
    // is AltGr on many layouts, which types text of its own.
    if (press.ctrl && !press.alt && press.symbol >= U'a' && press.symbol <= U'z') {
        return std::string(1, static_cast<char>(press.symbol - U'a' + 1));
    }
    return {};
}

std::string code_for_text(std::string_view utf8) {
    if (utf8.size() == 1) {
        const auto byte = static_cast<unsigned char>(utf8[0]);
        if (byte < 0x20 || byte >= 0x7F) return {};
        return std::string(utf8);
    }
    // U+0080-U+00FF is two bytes: C2 or C3, then a continuation byte.
    if (utf8.size() == 2) {
        const auto lead = static_cast<unsigned char>(utf8[0]);
        const auto next = static_cast<unsigned char>(utf8[1]);
        if ((lead == 0xC2 || lead == 0xC3) && (next & 0xC0) == 0x80) {
            const int value = (lead & 0x1F) << 6 | (next & 0x3F);
            if (value < 0xA0) return {};  // C1 control characters
            return std::string(1, static_cast<char>(value));
        }
    }
    return {};
}

}  // namespace gfx
