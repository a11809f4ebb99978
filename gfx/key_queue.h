#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace gfx {

// Typed key codes, first in first out: one character for a character key, or 255 followed by
// the key's extended code for a key without one.
struct KeyQueue {
    static constexpr int capacity = 15;  // codes, not bytes
    struct Code {
        std::array<char, 2> bytes{};
        std::uint8_t length = 0;
    };
    std::array<Code, capacity> codes{};
    int head = 0;  // index of the oldest code
    int count = 0;
};

inline constexpr char extended_prefix = '\xFF';

// Queues a code of one or two bytes (others are ignored). When the queue is full the oldest
// whole code is dropped to make room.
void push_key_code(KeyQueue& queue, std::string_view code);

// Removes and returns the oldest code; "" when the queue is empty.
std::string pop_key_code(KeyQueue& queue);

}  // namespace gfx
