#include "gfx/terminal_keys.h"

#include <string_view>

#include "gfx/key_codes.h"

namespace gfx {
namespace {

constexpr unsigned char esc = 0x1B;

// Set-1 scancodes of the keys named here.
constexpr int sc_escape = 1, sc_backspace = 14, sc_tab = 15, sc_enter = 28;
constexpr int sc_home = 71, sc_up = 72, sc_page_up = 73, sc_left = 75, sc_keypad_5 = 76;
constexpr int sc_right = 77, sc_end = 79, sc_down = 80, sc_page_down = 81, sc_insert = 82;
constexpr int sc_delete = 83, sc_f11 = 87, sc_f12 = 88;

// The key that types each printable ASCII character on a US layout (shifted or not).
int scancode_of_ascii(unsigned char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') {
        constexpr unsigned char letters[] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                             49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
        return letters[c - 'A'];
    }
    if (c >= '1' && c <= '9') return c - '1' + 2;
    constexpr std::string_view keys[] = {
        // unshifted and shifted characters of one key each, then its scancode in `codes`
        "0)", "-_", "=+", "[{", "]}", "\\|", ";:", "'\"", "`~", ",<", ".>",
        "/?", " ",  "!",  "@",  "#",  "$",   "%",  "^",   "&",  "*",  "(",
    };
    constexpr int codes[] = {11, 12, 13, 26, 27, 43, 39, 40, 41, 51, 52,
                             53, 57, 2,  3,  4,  5,  6,  7,  8,  9,  10};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (keys[i].find(static_cast<char>(c)) != std::string_view::npos) return codes[i];
    }
    return 0;
}

TerminalKey extended_key(int code, int scancode) {
    return TerminalKey{extended_code(code), scancode};
}

// A single byte that is not the start of a sequence.
void plain_byte(unsigned char c, std::vector<TerminalKey>& keys) {
    switch (c) {
        case '\r':
        case '\n':
            keys.push_back({"\r", sc_enter});
            return;  // Enter is CR, or LF after ICRNL
        case 0x7F:
        case '\b':
            keys.push_back({"\b", sc_backspace});
            return;
        case '\t':
            keys.push_back({"\t", sc_tab});
            return;
        case 0:
            return;  // Ctrl+Space: no code of its own
        default:
            break;
    }
    if (c <= 26) {  // Ctrl+letter
        keys.push_back({std::string(1, static_cast<char>(c)),
                        scancode_of_ascii(static_cast<unsigned char>('a' + c - 1))});
        return;
    }
    keys.push_back({std::string(1, static_cast<char>(c)), scancode_of_ascii(c)});
}

// Keys named by the final letter of "ESC [ ... X" or "ESC O X".
bool cursor_key(unsigned char final_byte, std::vector<TerminalKey>& keys) {
    switch (final_byte) {
        case 'A':
            keys.push_back(extended_key(extended::up, sc_up));
            return true;
        case 'B':
            keys.push_back(extended_key(extended::down, sc_down));
            return true;
        case 'C':
            keys.push_back(extended_key(extended::right, sc_right));
            return true;
        case 'D':
            keys.push_back(extended_key(extended::left, sc_left));
            return true;
        case 'H':
            keys.push_back(extended_key(extended::home, sc_home));
            return true;
        case 'F':
            keys.push_back(extended_key(extended::end, sc_end));
            return true;
        case 'E':
            keys.push_back({"", sc_keypad_5});
            return true;
        case 'P':
        case 'Q':
        case 'R':
        case 'S':
            keys.push_back(
                extended_key(extended::f1 + (final_byte - 'P'), 59 + (final_byte - 'P')));
            return true;
        default:
            return false;
    }
}

// "ESC [ n ~" keys, by n.
void tilde_key(int number, std::vector<TerminalKey>& keys) {
    switch (number) {
        case 1:
        case 7:
            keys.push_back(extended_key(extended::home, sc_home));
            return;
        case 2:
            keys.push_back(extended_key(extended::insert, sc_insert));
            return;
        case 3:
            keys.push_back(extended_key(extended::del, sc_delete));
            return;
        case 4:
        case 8:
            keys.push_back(extended_key(extended::end, sc_end));
            return;
        case 5:
            keys.push_back(extended_key(extended::page_up, sc_page_up));
            return;
        case 6:
            keys.push_back(extended_key(extended::page_down, sc_page_down));
            return;
        case 23:
            keys.push_back(extended_key(extended::f11, sc_f11));
            return;
        case 24:
            keys.push_back(extended_key(extended::f12, sc_f12));
            return;
        default:
            break;
    }
    // F1-F5 are 11-15, F6-F10 are 17-21 (16 and 22 are skipped by the terminals' numbering).
    int f = 0;
    if (number >= 11 && number <= 15)
        f = number - 11;
    else if (number >= 17 && number <= 21)
        f = number - 12;
    else
        return;  // a key we have no code for
    keys.push_back(extended_key(extended::f1 + f, 59 + f));
}

// Keypad keys in application mode, "ESC O p" (0) to "ESC O y" (9) and the operators.
bool keypad_key(unsigned char final_byte, std::vector<TerminalKey>& keys) {
    if (final_byte >= 'p' && final_byte <= 'y') {
        constexpr int scancodes[] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};
        keys.push_back({std::string(1, static_cast<char>('0' + final_byte - 'p')),
                        scancodes[final_byte - 'p']});
        return true;
    }
    switch (final_byte) {
        case 'M':
            keys.push_back({"\r", sc_enter});
            return true;
        case 'j':
            keys.push_back({"*", 55});
            return true;
        case 'k':
            keys.push_back({"+", 78});
            return true;
        case 'l':
            keys.push_back({",", 83});
            return true;
        case 'm':
            keys.push_back({"-", 74});
            return true;
        case 'n':
            keys.push_back({".", 83});
            return true;
        case 'o':
            keys.push_back({"/", 53});
            return true;
        case 'X':
            keys.push_back({"=", 0});
            return true;
        default:
            return false;
    }
}

// A complete "ESC [ params final" (pending holds all of it).
void csi_sequence(const TerminalKeyParser& p, std::vector<TerminalKey>& keys) {
    const unsigned char final_byte = p.pending[p.length - 1];
    // Linux console F1-F5: "ESC [ [ A" to "ESC [ [ E".
    if (p.length == 4 && p.pending[2] == '[') {
        if (final_byte >= 'A' && final_byte <= 'E') {
            keys.push_back(
                extended_key(extended::f1 + (final_byte - 'A'), 59 + (final_byte - 'A')));
        }
        return;
    }
    // The first parameter; modifiers (";5" for Ctrl, ...) and private markers do not change
    // which key it is.
    int number = 0;
    bool private_marker = false;
    for (std::size_t i = 2; i + 1 < p.length; ++i) {
        const unsigned char c = p.pending[i];
        if (c == ';') break;
        if (c >= '0' && c <= '9') {
            if (number < 100000) number = number * 10 + (c - '0');  // no key has more digits
        } else {
            private_marker = true;
        }
    }
    if (private_marker) return;  // "ESC [ ? ..." and the like are replies, not keys
    if (final_byte == '~') {
        tilde_key(number, keys);
        return;
    }
    if (final_byte == 'Z') {  // Shift+Tab
        keys.push_back({"\t", sc_tab});
        return;
    }
    cursor_key(final_byte, keys);
}

void ss3_sequence(const TerminalKeyParser& p, std::vector<TerminalKey>& keys) {
    const unsigned char final_byte = p.pending[p.length - 1];
    if (!cursor_key(final_byte, keys)) keypad_key(final_byte, keys);
}

// Decodes a complete UTF-8 sequence held in pending: Latin-1 characters become their byte.
void utf8_sequence(const TerminalKeyParser& p, std::vector<TerminalKey>& keys) {
    const std::string text(reinterpret_cast<const char*>(p.pending.data()), p.length);
    std::string code = code_for_text(text);
    if (!code.empty()) keys.push_back({std::move(code), 0});
}

std::size_t utf8_length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool is_final_byte(unsigned char c) {
    return c >= 0x40 && c <= 0x7E;
}

void reset(TerminalKeyParser& p) {
    p.length = 0;
    p.skipping = false;
}

void start(TerminalKeyParser& p, unsigned char c, std::vector<TerminalKey>& keys) {
    if (c == esc || utf8_length(c) != 0) {
        p.pending[0] = c;
        p.length = 1;
        return;
    }
    if (c >= 0x80) return;  // a stray continuation or invalid byte
    plain_byte(c, keys);
}

void feed_byte(TerminalKeyParser& p, unsigned char c, std::vector<TerminalKey>& keys) {
    if (p.skipping) {
        if (is_final_byte(c))
            reset(p);
        else if (c < 0x20 || c >= 0x7F) {
            reset(p);
            start(p, c, keys);
        }
        return;
    }
    if (p.length == 0) {
        start(p, c, keys);
        return;
    }
    const unsigned char first = p.pending[0];
    if (first != esc) {  // inside a UTF-8 character
        if ((c & 0xC0) != 0x80) {
            reset(p);  // cut short: drop it and read c afresh
            start(p, c, keys);
            return;
        }
        p.pending[p.length++] = c;
        if (p.length == utf8_length(first)) {
            utf8_sequence(p, keys);
            reset(p);
        }
        return;
    }
    if (p.length == 1) {
        if (c == '[' || c == 'O') {
            p.pending[p.length++] = c;
            return;
        }
        if (c == esc) {  // Escape, then something new
            keys.push_back({"\x1b", sc_escape});
            return;  // the new Escape stays pending
        }
        // ESC then a character is what terminals send for Alt+character: the character.
        reset(p);
        start(p, c, keys);
        return;
    }
    // Inside "ESC [" or "ESC O": only parameter, intermediate and final bytes belong there.
    if (c < 0x20 || c >= 0x7F) {
        reset(p);
        start(p, c, keys);
        return;
    }
    p.pending[p.length++] = c;
    const bool csi = p.pending[1] == '[';
    const bool linux_f_key_prefix = csi && p.length == 3 && c == '[';
    if (is_final_byte(c) && !linux_f_key_prefix) {
        if (csi)
            csi_sequence(p, keys);
        else
            ss3_sequence(p, keys);
        reset(p);
        return;
    }
    if (p.length == p.pending.size()) {
        p.length = 0;
        p.skipping = true;
    }
}

}  // namespace

void feed_terminal_bytes(TerminalKeyParser& parser, std::span<const unsigned char> bytes,
                         std::int64_t now_ms, std::vector<TerminalKey>& keys) {
    // A sequence left waiting past its deadline is over, whatever these bytes are.
    expire_terminal_input(parser, now_ms, keys);
    for (const unsigned char c : bytes)
        feed_byte(parser, c, keys);
    if (!bytes.empty()) parser.last_byte_ms = now_ms;
}

std::int64_t terminal_input_deadline(const TerminalKeyParser& parser) {
    if (parser.length == 0 && !parser.skipping) return -1;
    return parser.last_byte_ms + lone_escape_ms;
}

void expire_terminal_input(TerminalKeyParser& parser, std::int64_t now_ms,
                           std::vector<TerminalKey>& keys) {
    const std::int64_t deadline = terminal_input_deadline(parser);
    if (deadline < 0 || now_ms < deadline) return;
    finish_terminal_input(parser, keys);
}

void finish_terminal_input(TerminalKeyParser& parser, std::vector<TerminalKey>& keys) {
    if (!parser.skipping && parser.length > 0 && parser.pending[0] == esc) {
        if (parser.length == 1)
            keys.push_back({"\x1b", sc_escape});
        else if (parser.length == 2)
            plain_byte(parser.pending[1], keys);
    }
    reset(parser);
}

}  // namespace gfx
