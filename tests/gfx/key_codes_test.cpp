// Which code a window key press or a piece of typed text queues.

#include "gfx/key_codes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// USB HID usages (SDL scancodes) of the keys in the cases.
constexpr int a = 4, c = 6, enter = 40, escape = 41, backspace = 42, tab = 43, space = 44;
constexpr int f1 = 58, f4 = 61, f10 = 67, f11 = 68, f12 = 69, insert = 73, home = 74;
constexpr int page_up = 75, del = 76, end = 77, page_down = 78, right = 79, left = 80;
constexpr int down = 81, up = 82, kp_enter = 88, kp_1 = 89, kp_2 = 90, kp_3 = 91, kp_4 = 92;
constexpr int kp_5 = 93, kp_6 = 94, kp_7 = 95, kp_8 = 96, kp_9 = 97, kp_0 = 98, kp_point = 99;
constexpr int left_shift = 225, left_ctrl = 224;

std::string hex(const std::string& bytes) {
    std::string out;
    for (const char b : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X ", static_cast<unsigned char>(b));
        out += text;
    }
    return out.empty() ? "(none)" : out;
}

struct PressCase {
    const char* name;
    gfx::KeyPress press;
    std::string code;
};

class KeyPressCodes : public ::testing::TestWithParam<PressCase> {};

TEST_P(KeyPressCodes, QueueTheirCode) {
    const PressCase& p = GetParam();
    EXPECT_EQ(hex(gfx::code_for_key_press(p.press)), hex(p.code)) << p.name;
}

gfx::KeyPress key(int usage, char32_t symbol = 0) {
    return gfx::KeyPress{usage, symbol, false, false, false};
}
gfx::KeyPress ctrl(int usage, char32_t symbol) {
    return gfx::KeyPress{usage, symbol, true, false, false};
}
gfx::KeyPress alt(int usage) {
    return gfx::KeyPress{usage, 0, false, true, false};
}
gfx::KeyPress num_lock(int usage) {
    return gfx::KeyPress{usage, 0, false, false, true};
}

const std::string ext = "\xFF";

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyPressCodes,
    ::testing::Values(
        PressCase{"enter", key(enter, '\r'), "\r"}, PressCase{"keypad_enter", key(kp_enter), "\r"},
        PressCase{"escape", key(escape, 27), "\x1b"}, PressCase{"tab", key(tab, '\t'), "\t"},
        PressCase{"backspace", key(backspace, '\b'), "\b"},
        PressCase{"ctrl_a", ctrl(a, 'a'), "\x01"}, PressCase{"ctrl_c", ctrl(c, 'c'), "\x03"},
        // On an AZERTY layout the key at the A position types q: Ctrl+q is 17.
        PressCase{"ctrl_follows_the_layout", ctrl(a, 'q'), "\x11"},
        PressCase{"ctrl_alt_is_altgr", gfx::KeyPress{a, 'a', true, true, false}, ""},
        PressCase{"ctrl_enter_is_enter", ctrl(enter, '\r'), "\r"},
        PressCase{"ctrl_digit_nothing", ctrl(30, '1'), ""},
        // Character keys type their text; the press itself queues nothing.
        PressCase{"letter", key(a, 'a'), ""}, PressCase{"space", key(space, ' '), ""},
        PressCase{"shift", key(left_shift), ""}, PressCase{"ctrl_alone", ctrl(left_ctrl, 0), ""},
        PressCase{"up", key(up), ext + "H"}, PressCase{"down", key(down), ext + "P"},
        PressCase{"left", key(left), ext + "K"}, PressCase{"right", key(right), ext + "M"},
        PressCase{"home", key(home), ext + "G"}, PressCase{"end", key(end), ext + "O"},
        PressCase{"page_up", key(page_up), ext + "I"},
        PressCase{"page_down", key(page_down), ext + "Q"},
        PressCase{"insert", key(insert), ext + "R"}, PressCase{"delete", key(del), ext + "S"},
        PressCase{"arrow_ignores_num_lock", num_lock(up), ext + "H"},
        PressCase{"f1", key(f1), ext + ";"}, PressCase{"f4", key(f4), ext + ">"},
        PressCase{"f10", key(f10), ext + "D"}, PressCase{"f11", key(f11), ext + "\x85"},
        PressCase{"f12", key(f12), ext + "\x86"}, PressCase{"alt_f4", alt(f4), ""},
        PressCase{"alt_f1", alt(f1), ext + ";"}, PressCase{"keypad_8", key(kp_8), ext + "H"},
        PressCase{"keypad_2", key(kp_2), ext + "P"}, PressCase{"keypad_4", key(kp_4), ext + "K"},
        PressCase{"keypad_6", key(kp_6), ext + "M"}, PressCase{"keypad_7", key(kp_7), ext + "G"},
        PressCase{"keypad_1", key(kp_1), ext + "O"}, PressCase{"keypad_9", key(kp_9), ext + "I"},
        PressCase{"keypad_3", key(kp_3), ext + "Q"}, PressCase{"keypad_0", key(kp_0), ext + "R"},
        PressCase{"keypad_point", key(kp_point), ext + "S"}, PressCase{"keypad_5", key(kp_5), ""},
        // With NumLock the keypad types digits, as text.
        PressCase{"num_lock_keypad_8", num_lock(kp_8), ""},
        PressCase{"num_lock_keypad_point", num_lock(kp_point), ""},
        PressCase{"unknown_usage", key(1000), ""}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

struct TextCase {
    const char* name;
    std::string utf8;
    std::string code;
};

class TextCodes : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextCodes, QueueOneLatin1Character) {
    const TextCase& t = GetParam();
    EXPECT_EQ(hex(gfx::code_for_text(t.utf8)), hex(t.code)) << t.name;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextCodes,
    ::testing::Values(TextCase{"letter", "a", "a"}, TextCase{"capital", "A", "A"},
                      TextCase{"digit", "8", "8"}, TextCase{"space", " ", " "},
                      TextCase{"tilde", "~", "~"}, TextCase{"e_acute", "\xC3\xA9", "\xE9"},
                      TextCase{"y_diaeresis", "\xC3\xBF", "\xFF"},
                      TextCase{"no_break_space", "\xC2\xA0", "\xA0"},
                      TextCase{"pound", "\xC2\xA3", "\xA3"}, TextCase{"euro", "\xE2\x82\xAC", ""},
                      TextCase{"emoji", "\xF0\x9F\xA6\x84", ""}, TextCase{"two_letters", "ab", ""},
                      TextCase{"empty", "", ""}, TextCase{"control", "\x01", ""},
                      TextCase{"delete", "\x7F", ""}, TextCase{"c1_control", "\xC2\x85", ""},
                      TextCase{"overlong_a", "\xC1\xA1", ""}, TextCase{"lone_lead", "\xC3", ""},
                      TextCase{"bad_continuation", "\xC3\x41", ""},
                      TextCase{"lone_continuation", "\xA9", ""}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
