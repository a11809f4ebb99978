#pragma once

// Turns the bytes a terminal sends for key presses into the facility's key codes and the set-1
// scancode of the key that was pressed. A terminal reports presses (and auto-repeats) only, as
// characters or as escape sequences (CSI "ESC [" and SS3 "ESC O" forms). Pure: the caller
// passes the time, so a lone Escape (no follow-up byte in time) can be told from a sequence.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gfx {

// An Escape counts as a key of its own when no byte follows within this time. Terminals send a
// sequence in one write, so its bytes arrive together even over a network; 40 ms is well under
// what a person can type after Escape, and short enough not to be felt.
inline constexpr std::int64_t lone_escape_ms = 40;

struct TerminalKey {
    std::string code;  // what to queue; "" for a key that queues nothing (keypad 5)
    int scancode = 0;  // set-1 scancode of the key, 0 when unknown
    bool operator==(const TerminalKey&) const = default;
};

struct TerminalKeyParser {
    static constexpr std::size_t max_pending =
        16;  // longest sequence kept; longer ones are skipped
    std::array<unsigned char, max_pending> pending{};
    std::size_t length = 0;
    bool skipping = false;  // inside an over-long sequence, dropping bytes up to its final byte
    std::int64_t last_byte_ms = 0;
};

// Parses `bytes` received at `now_ms`, appending each key completed by them to `keys`.
void feed_terminal_bytes(TerminalKeyParser& parser, std::span<const unsigned char> bytes,
                         std::int64_t now_ms, std::vector<TerminalKey>& keys);

// When an unfinished sequence is waiting, the time at which expire_terminal_input resolves it;
// -1 when nothing waits.
std::int64_t terminal_input_deadline(const TerminalKeyParser& parser);

// Resolves an unfinished sequence whose follow-up did not come by its deadline: a lone Escape
// becomes 27, "ESC [" and "ESC O" become Alt+'[' and Alt+'O', anything longer is dropped.
void expire_terminal_input(TerminalKeyParser& parser, std::int64_t now_ms,
                           std::vector<TerminalKey>& keys);

// The input has ended: resolves an unfinished sequence at once, as at its deadline.
void finish_terminal_input(TerminalKeyParser& parser, std::vector<TerminalKey>& keys);

}  // namespace gfx
