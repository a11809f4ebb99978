// The terminal's byte sequences, as a terminal sends them for each key, and the codes and held
// scancodes they stand for: whole, split across reads, and with the lone Escape told apart by
// time or by the end of input.

#include "gfx/terminal_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gfx::TerminalKey;
using Keys = std::vector<TerminalKey>;

const std::string ext = "\xFF";
const TerminalKey up{ext + "H", 72}, down{ext + "P", 80}, left{ext + "K", 75}, right{ext + "M", 77},
    home{ext + "G", 71}, end{ext + "O", 79}, page_up{ext + "I", 73}, page_down{ext + "Q", 81},
    insert{ext + "R", 82}, del{ext + "S", 83}, escape{"\x1b", 1}, enter{"\r", 28},
    backspace{"\b", 14}, tab{"\t", 15};
TerminalKey f(int n) {
    static const int codes[] = {59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 133, 134};
    static const int scancodes[] = {59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 87, 88};
    return {std::string{'\xFF', static_cast<char>(codes[n - 1])}, scancodes[n - 1]};
}
TerminalKey ch(char c, int scancode) {
    return {std::string(1, c), scancode};
}

std::string describe(const Keys& keys) {
    std::string out;
    for (const TerminalKey& k : keys) {
        out += "[";
        for (const char b : k.code)
            out += std::to_string(static_cast<unsigned char>(b)) + " ";
        out += "sc " + std::to_string(k.scancode) + "] ";
    }
    return out.empty() ? "(none)" : out;
}

Keys parse(const std::string& bytes) {
    gfx::TerminalKeyParser parser;
    Keys keys;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    gfx::feed_terminal_bytes(parser, std::span(data, bytes.size()), 0, keys);
    gfx::finish_terminal_input(parser, keys);
    return keys;
}

// One read per byte, 1 ms apart: well inside the lone-Escape time.
Keys parse_byte_by_byte(const std::string& bytes) {
    gfx::TerminalKeyParser parser;
    Keys keys;
    std::int64_t now = 1000;
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        gfx::feed_terminal_bytes(parser, std::span(&byte, 1), now, keys);
        gfx::expire_terminal_input(parser, ++now, keys);
    }
    gfx::finish_terminal_input(parser, keys);
    return keys;
}

struct SequenceCase {
    const char* name;
    std::string bytes;
    Keys keys;
};

class TerminalSequences : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(TerminalSequences, BecomeTheirKeysWholeOrSplitAcrossReads) {
    const SequenceCase& c = GetParam();
    EXPECT_EQ(describe(parse(c.bytes)), describe(c.keys)) << c.name << ", in one read";
    EXPECT_EQ(describe(parse_byte_by_byte(c.bytes)), describe(c.keys))
        << c.name << ", one byte per read";
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TerminalSequences,
    ::testing::Values(
        SequenceCase{"csi_arrows", "\x1b[A\x1b[B\x1b[D\x1b[C", {up, down, left, right}},
        SequenceCase{"ss3_arrows", "\x1bOA\x1bOB\x1bOD\x1bOC", {up, down, left, right}},
        SequenceCase{"ctrl_arrow", "\x1b[1;5A", {up}},
        SequenceCase{"shift_alt_arrow", "\x1b[1;4D", {left}},
        SequenceCase{"home_end", "\x1b[H\x1b[F\x1bOH\x1bOF", {home, end, home, end}},
        SequenceCase{"tilde_keys",
                     "\x1b[1~\x1b[2~\x1b[3~\x1b[4~\x1b[5~\x1b[6~\x1b[7~\x1b[8~",
                     {home, insert, del, end, page_up, page_down, home, end}},
        SequenceCase{"ctrl_delete", "\x1b[3;5~", {del}},
        SequenceCase{"f1_to_f4_ss3", "\x1bOP\x1bOQ\x1bOR\x1bOS", {f(1), f(2), f(3), f(4)}},
        SequenceCase{"f1_csi_with_modifier", "\x1b[1;2P", {f(1)}},
        SequenceCase{"f_keys_tilde",
                     "\x1b[11~\x1b[15~\x1b[17~\x1b[21~\x1b[23~\x1b[24~",
                     {f(1), f(5), f(6), f(10), f(11), f(12)}},
        SequenceCase{"linux_console_f_keys", "\x1b[[A\x1b[[E", {f(1), f(5)}},
        SequenceCase{"keypad_5", "\x1b[E", {{"", 76}}},
        SequenceCase{
            "keypad_application_digits", "\x1bOx\x1bOp\x1bOM", {ch('8', 72), ch('0', 82), enter}},
        SequenceCase{"shift_tab", "\x1b[Z", {tab}},
        SequenceCase{
            "unknown_sequences_are_dropped", "\x1b[99~\x1b[?1;2c\x1b[200~x", {ch('x', 45)}},
        SequenceCase{"overlong_sequence_is_skipped_whole",
                     "\x1b[1;2;3;4;5;6;7;8;9;10;11A"
                     "q",
                     {ch('q', 16)}},
        SequenceCase{"lone_escape_at_end", "\x1b", {escape}},
        SequenceCase{"escape_escape", "\x1b\x1b", {escape, escape}},
        SequenceCase{"escape_then_arrow", "\x1b\x1b[A", {escape, up}},
        SequenceCase{"alt_letter_is_the_letter", "\x1bx", {ch('x', 45)}},
        SequenceCase{"alt_bracket_at_end", "\x1b[", {ch('[', 26)}},
        SequenceCase{"sequence_cut_by_a_control_byte", "\x1b[1\r", {enter}},
        SequenceCase{"enter_cr_and_lf", "\r\n", {enter, enter}},
        SequenceCase{"backspace_del_and_bs", "\x7f\b", {backspace, backspace}},
        SequenceCase{"tab", "\t", {tab}},
        SequenceCase{"ctrl_letters", "\x01\x1a", {ch('\x01', 30), ch('\x1a', 44)}},
        SequenceCase{"ctrl_space_nothing", std::string(1, '\0'), {}},
        SequenceCase{
            "letters_and_digits", "aZ1 ", {ch('a', 30), ch('Z', 44), ch('1', 2), ch(' ', 57)}},
        SequenceCase{"shifted_symbols", "!_", {ch('!', 2), ch('_', 12)}},
        SequenceCase{"latin1_from_utf8", "\xC3\xA9", {{"\xE9", 0}}},
        SequenceCase{"beyond_latin1_dropped",
                     "\xE2\x82\xAC"
                     "a",
                     {ch('a', 30)}},
        SequenceCase{"invalid_bytes_dropped",
                     "\xFF\x80\xC3"
                     "b",
                     {ch('b', 48)}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(TerminalEscape, ALoneEscapeWaitsForItsTimeThenCounts) {
    gfx::TerminalKeyParser parser;
    Keys keys;
    const unsigned char escape_byte = 0x1b;
    gfx::feed_terminal_bytes(parser, std::span(&escape_byte, 1), 500, keys);
    EXPECT_EQ(gfx::terminal_input_deadline(parser), 500 + gfx::lone_escape_ms);
    gfx::expire_terminal_input(parser, 500 + gfx::lone_escape_ms - 1, keys);
    EXPECT_TRUE(keys.empty()) << describe(keys);
    gfx::expire_terminal_input(parser, 500 + gfx::lone_escape_ms, keys);
    EXPECT_EQ(describe(keys), describe({escape}));
    EXPECT_EQ(gfx::terminal_input_deadline(parser), -1);
}

TEST(TerminalEscape, BytesAfterTheTimeAreKeysOfTheirOwn) {
    gfx::TerminalKeyParser parser;
    Keys keys;
    const unsigned char escape_byte = 0x1b;
    const unsigned char rest[] = {'[', 'A'};
    gfx::feed_terminal_bytes(parser, std::span(&escape_byte, 1), 0, keys);
    gfx::feed_terminal_bytes(parser, rest, 200, keys);  // nobody called expire in between
    EXPECT_EQ(describe(keys), describe({escape, ch('[', 26), ch('A', 30)}));
}

TEST(TerminalEscape, NothingWaitsAfterACompleteKey) {
    gfx::TerminalKeyParser parser;
    Keys keys;
    const unsigned char bytes[] = {0x1b, '[', 'A', 'x'};
    gfx::feed_terminal_bytes(parser, bytes, 0, keys);
    EXPECT_EQ(gfx::terminal_input_deadline(parser), -1);
}

}  // namespace
