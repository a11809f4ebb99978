#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "scene/scene.h"

namespace {

constexpr HeldKeys none{};
constexpr HeldKeys up{.up = true};
constexpr HeldKeys down{.down = true};
constexpr HeldKeys left{.left = true};
constexpr HeldKeys right{.right = true};
constexpr HeldKeys up_down{.up = true, .down = true};
constexpr HeldKeys left_right{.left = true, .right = true};

Scene at(std::int32_t x, std::int32_t y) {
    Scene scene;
    scene.sprite_x = x;
    scene.sprite_y = y;
    return scene;
}

TEST(SceneStart, FreshSceneHoldsTheStartingValues) {
    const Scene scene;
    EXPECT_EQ(scene.sprite_x, 100);
    EXPECT_EQ(scene.sprite_y, 50);
    EXPECT_EQ(scene.scroll_x, 0);
    EXPECT_EQ(scene.frame_count, 0);
}

TEST(SceneStart, FirstStepWithNoKeys) {
    Scene scene;
    step_scene(scene, none);
    EXPECT_EQ(scene.frame_count, 1);
    EXPECT_EQ(scene.scroll_x, 424);
    EXPECT_EQ(scene.sprite_x, 100);
    EXPECT_EQ(scene.sprite_y, 50);
    EXPECT_EQ(sprite_frame_index(scene), 1);
}

// Holding keys for a number of frames from a starting place.
struct MoveCase {
    std::string name;
    Scene start;
    HeldKeys held;
    int frames;
    std::int32_t want_x;
    std::int32_t want_y;
};

std::ostream& operator<<(std::ostream& out, const MoveCase& c) {
    return out << c.name;
}

class SceneMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(SceneMove, EndsAtTheExpectedPlace) {
    const MoveCase& c = GetParam();
    Scene scene = c.start;
    for (int i = 0; i < c.frames; ++i)
        step_scene(scene, c.held);
    EXPECT_EQ(scene.sprite_x, c.want_x);
    EXPECT_EQ(scene.sprite_y, c.want_y);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, SceneMove,
    ::testing::Values(
        // Up from 50: 45, then 40, then it stays.
        MoveCase{"up_once", at(100, 50), up, 1, 100, 45},
        MoveCase{"up_twice", at(100, 50), up, 2, 100, 40},
        MoveCase{"up_stays_at_40", at(100, 50), up, 3, 100, 40},
        MoveCase{"up_held_long", at(100, 50), up, 50, 100, 40},
        // Down from 50 reaches 100 after 10 frames, not before, and stays.
        MoveCase{"down_9", at(100, 50), down, 9, 100, 95},
        MoveCase{"down_10", at(100, 50), down, 10, 100, 100},
        MoveCase{"down_stays_at_100", at(100, 50), down, 11, 100, 100},
        // Left from 100 reaches 0 after 20 frames and stays.
        MoveCase{"left_19", at(100, 50), left, 19, 5, 50},
        MoveCase{"left_20", at(100, 50), left, 20, 0, 50},
        MoveCase{"left_stays_at_0", at(100, 50), left, 21, 0, 50},
        // Right from 100 reaches 130 after 6 frames and stays.
        MoveCase{"right_5", at(100, 50), right, 5, 125, 50},
        MoveCase{"right_6", at(100, 50), right, 6, 130, 50},
        MoveCase{"right_stays_at_130", at(100, 50), right, 7, 130, 50},
        // Opposite keys together: the first refused at its bound, then the second taken.
        MoveCase{"up_down_at_40", at(100, 40), up_down, 1, 100, 45},
        MoveCase{"up_down_at_100", at(100, 100), up_down, 1, 100, 100},
        MoveCase{"up_down_between", at(100, 70), up_down, 1, 100, 70},
        MoveCase{"up_down_between_long", at(100, 70), up_down, 30, 100, 70},
        MoveCase{"left_right_at_0", at(0, 50), left_right, 1, 5, 50},
        MoveCase{"left_right_at_130", at(130, 50), left_right, 1, 130, 50},
        MoveCase{"left_right_between", at(65, 50), left_right, 1, 65, 50},
        // Keys on both axes move diagonally, each axis within its own bounds.
        MoveCase{"up_right", at(100, 50), HeldKeys{.up = true, .right = true}, 3, 115, 40},
        MoveCase{"down_left", at(5, 95), HeldKeys{.down = true, .left = true}, 2, 0, 100},
        // No key: nothing moves.
        MoveCase{"none", at(100, 50), none, 20, 100, 50}),
    [](const ::testing::TestParamInfo<MoveCase>& param) { return param.param.name; });

TEST(SceneMove, AStepIsFivePixelsWithNoAcceleration) {
    Scene scene = at(0, 40);
    for (int i = 1; i <= 6; ++i) {
        step_scene(scene, HeldKeys{.down = true, .right = true});
        EXPECT_EQ(scene.sprite_x, 5 * i);
        EXPECT_EQ(scene.sprite_y, 40 + 5 * i);
    }
}

// frame_count -> sprite frame index.
struct FrameCase {
    std::int32_t first_count;
    std::int32_t last_count;
    int want_index;
};

class SceneFrameIndex : public ::testing::TestWithParam<FrameCase> {};

TEST_P(SceneFrameIndex, RunsOfFive) {
    const FrameCase& c = GetParam();
    for (std::int32_t count = c.first_count; count <= c.last_count; ++count) {
        Scene scene;
        scene.frame_count = count;
        EXPECT_EQ(sprite_frame_index(scene), c.want_index) << "frame_count " << count;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, SceneFrameIndex,
                         ::testing::Values(FrameCase{1, 4, 1}, FrameCase{5, 9, 2},
                                           FrameCase{10, 14, 1}, FrameCase{15, 19, 2},
                                           FrameCase{1000, 1004, 1}, FrameCase{1005, 1009, 2}));

TEST(SceneFrameIndex, TheRunOpensWithFourFramesOfFrameOneWhenStepped) {
    Scene scene;
    std::vector<int> shown;
    for (int i = 0; i < 20; ++i) {
        step_scene(scene, none);
        shown.push_back(sprite_frame_index(scene));
    }
    const std::vector<int> want{1, 1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 1};
    EXPECT_EQ(shown, want);
}

TEST(SceneScroll, OffsetsFollowMinusThreeKModulo427AndVisitEveryOffsetOnce) {
    Scene scene;
    std::vector<int> visits(427, 0);
    for (int k = 1; k <= 427; ++k) {
        step_scene(scene, none);
        ASSERT_EQ(scene.scroll_x, ((-3 * k) % 427 + 427) % 427) << "after " << k << " steps";
        ++visits[static_cast<std::size_t>(scene.scroll_x)];
    }
    for (int offset = 0; offset < 427; ++offset)
        EXPECT_EQ(visits[static_cast<std::size_t>(offset)], 1) << offset;
}

struct ScrollCase {
    int steps;
    std::int32_t want_scroll_x;
};

class SceneScrollAfter : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(SceneScrollAfter, LandsOnTheExpectedOffset) {
    Scene scene;
    for (int i = 0; i < GetParam().steps; ++i)
        step_scene(scene, none);
    EXPECT_EQ(scene.scroll_x, GetParam().want_scroll_x);
}

INSTANTIATE_TEST_SUITE_P(Wrap, SceneScrollAfter,
                         ::testing::Values(ScrollCase{1, 424}, ScrollCase{141, 4},
                                           ScrollCase{142, 1}, ScrollCase{143, 425},
                                           ScrollCase{284, 2}, ScrollCase{285, 426},
                                           ScrollCase{426, 3}, ScrollCase{427, 0},
                                           ScrollCase{428, 424}, ScrollCase{854, 0}));

TEST(SceneCounterLimit, StaysPositiveAndKeepsTheTenFrameRhythmAcrossTheLimit) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    Scene scene;
    scene.frame_count = max - 25;
    std::int32_t previous = scene.frame_count;
    std::vector<int> shown;
    for (int i = 0; i < 50; ++i) {
        step_scene(scene, none);
        EXPECT_GT(scene.frame_count, 0);
        shown.push_back(sprite_frame_index(scene));
        if (previous != max) {
            EXPECT_EQ(scene.frame_count, previous + 1);
        }
        previous = scene.frame_count;
    }
    // Whatever the counter does at its limit, the shown frames keep alternating in runs of five.
    int run = 1;
    for (std::size_t i = 1; i < shown.size(); ++i) {
        if (shown[i] == shown[i - 1]) {
            ++run;
            EXPECT_LE(run, 5) << "at step " << i;
        } else {
            if (i >= 5) {
                EXPECT_EQ(run, 5) << "at step " << i;
            }
            run = 1;
        }
    }
}

TEST(SceneCounterLimit, ReachesTheLimitThenSteppingOnGoesOnCountingFromTheRewoundValue) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    Scene scene;
    scene.frame_count = max - 1;
    step_scene(scene, none);
    EXPECT_EQ(scene.frame_count, max);
    const int index_at_max = sprite_frame_index(scene);  // remainder 7: frame 2
    step_scene(scene, none);
    EXPECT_EQ(index_at_max, 2);
    EXPECT_EQ(scene.frame_count % 10, 8);  // the remainder after 7, as if counting on
    EXPECT_EQ(sprite_frame_index(scene), 2);
}

}  // namespace
