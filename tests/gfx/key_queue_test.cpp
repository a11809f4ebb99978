// The key queue: first in first out, at most 15 codes, and a full queue drops its oldest code
// whole, so a reader never sees half of a two-byte code.

#include "gfx/key_queue.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

const std::string up = "\xFFH";

std::vector<std::string> drain(gfx::KeyQueue& queue) {
    std::vector<std::string> codes;
    for (std::string code = gfx::pop_key_code(queue); !code.empty();
         code = gfx::pop_key_code(queue))
        codes.push_back(code);
    return codes;
}

TEST(KeyQueue, GivesCodesBackInTheOrderTheyCame) {
    gfx::KeyQueue queue;
    EXPECT_EQ(gfx::pop_key_code(queue), "");
    gfx::push_key_code(queue, "a");
    gfx::push_key_code(queue, up);
    gfx::push_key_code(queue, "\x1b");
    EXPECT_EQ(drain(queue), (std::vector<std::string>{"a", up, "\x1b"}));
    EXPECT_EQ(gfx::pop_key_code(queue), "");
}

TEST(KeyQueue, KeepsTheNewestFifteenCodes) {
    gfx::KeyQueue queue;
    std::vector<std::string> pushed;
    for (char c = 'a'; c < 'a' + 20; ++c) {
        pushed.emplace_back(1, c);
        gfx::push_key_code(queue, pushed.back());
    }
    const std::vector<std::string> newest(pushed.end() - 15, pushed.end());
    EXPECT_EQ(drain(queue), newest);
}

TEST(KeyQueue, DropsAWholeTwoByteCodeWhenFull) {
    gfx::KeyQueue queue;
    gfx::push_key_code(queue, up);  // the oldest: both of its bytes must go together
    for (int i = 0; i < 14; ++i)
        gfx::push_key_code(queue, "x");
    gfx::push_key_code(queue, "\xFFP");
    std::vector<std::string> expected(14, "x");
    expected.push_back("\xFFP");
    EXPECT_EQ(drain(queue), expected);
}

TEST(KeyQueue, WrapsAroundAfterReads) {
    // Two codes in, one out, for many rounds: the ring wraps many times while full.
    gfx::KeyQueue queue;
    std::deque<std::string> model;  // the newest 15 codes, oldest first
    const auto push = [&](const std::string& code) {
        gfx::push_key_code(queue, code);
        if (model.size() == 15) model.pop_front();
        model.push_back(code);
    };
    for (int round = 0; round < 40; ++round) {
        push(std::string{'\xFF', static_cast<char>('A' + round % 26)});
        push(std::string(1, static_cast<char>('a' + round % 26)));
        ASSERT_EQ(gfx::pop_key_code(queue), model.front()) << "round " << round;
        model.pop_front();
    }
    EXPECT_EQ(drain(queue), std::vector<std::string>(model.begin(), model.end()));
}

TEST(KeyQueue, IgnoresCodesThatAreNotOneOrTwoBytes) {
    gfx::KeyQueue queue;
    gfx::push_key_code(queue, "");
    gfx::push_key_code(queue, "abc");
    gfx::push_key_code(queue, std::string(1, '\0'));  // a NUL byte is still one byte
    EXPECT_EQ(drain(queue), (std::vector<std::string>{std::string(1, '\0')}));
}

}  // namespace
