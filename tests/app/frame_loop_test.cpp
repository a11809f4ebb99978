// The frame loop's calls, their order and arguments, how held keys steer the sprite and how
// queued codes end the run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/animation.h"
#include "tests/app/recording_facility.h"
#include "tests/app/temp_art_dir.h"

namespace {

using app_test::RecordingFacility;

constexpr int up = 72, down = 80, left = 75, right = 77;

// The loop over the default art in a working directory of its own, on a recording facility
// that the test scripts before it calls run().
template <class Base>
class LoopOnDefaultArt : public Base {
  protected:
    LoopOnDefaultArt() { dir.write_default_art(); }
    void run() { animation::run_animation(gfx); }

    app_test::TempArtDir dir;
    RecordingFacility gfx;
};

using FrameLoop = LoopOnDefaultArt<::testing::Test>;
using FrameLoopKeys = LoopOnDefaultArt<::testing::Test>;

TEST_F(FrameLoop, StartsUpInOrderThenRunsEachFrameInOrder) {
    gfx.escape_on_frame = 2;
    run();

    ASSERT_EQ(gfx.frames_run, 2);
    const std::vector<std::string> start_up(gfx.calls.begin(),
                                            gfx.calls.begin() + gfx.frame_starts[0]);
    EXPECT_EQ(start_up, (std::vector<std::string>{
                            "set_screen_mode(240, 160, 32, 0, 0, 0)",
                            "create_image(427, 160)",
                            "create_image(112, 79)",
                            "create_image(112, 79)",
                            "load_bitmap(background.bmp, image1)",
                            "load_bitmap(unicorn1.bmp, image2)",
                            "load_bitmap(unicorn2.bmp, image3)",
                        }));
    EXPECT_EQ(gfx.frame_calls(1), (std::vector<std::string>{
                                      "is_key_down(72)",
                                      "is_key_down(80)",
                                      "is_key_down(75)",
                                      "is_key_down(77)",
                                      "lock_screen()",
                                      "put_image(screen, 424, 0, image1, opaque)",
                                      "put_image(screen, -3, 0, image1, opaque)",
                                      "put_image(screen, 100, 50, image2, transparent)",
                                      "unlock_screen(-1, -1)",
                                      "sleep_ms(18)",
                                      "read_key()",
                                  }));
    EXPECT_EQ(gfx.frame_calls(2)[5], "put_image(screen, 421, 0, image1, opaque)");
    EXPECT_EQ(gfx.frame_calls(2)[6], "put_image(screen, -6, 0, image1, opaque)");
    // The lock is balanced when the loop ends.
    EXPECT_EQ(gfx::testing::lock_depth(), 0);
}

TEST_F(FrameLoop, ShowsSpriteFramesInRunsOfFiveAfterAnOpeningRunOfFour) {
    gfx.escape_on_frame = 20;
    run();

    std::string shown;
    for (int frame = 1; frame <= 20; ++frame) {
        const std::string sprite_call = gfx.frame_calls(frame)[7];
        shown += sprite_call.find("image2") != std::string::npos   ? '1'
                 : sprite_call.find("image3") != std::string::npos ? '2'
                                                                   : '?';
    }
    EXPECT_EQ(shown, "11112222211111222221");
}

// Keys held on chosen frames, and where the sprite is drawn on a later frame.
struct SteerCase {
    const char* name;
    std::map<int, std::set<int>> held;
    int frames;
    std::string want_sprite_call_on_last_frame;
};

class FrameLoopSteering : public LoopOnDefaultArt<::testing::TestWithParam<SteerCase>> {};

TEST_P(FrameLoopSteering, DrawsTheSpriteWhereTheHeldKeysTookIt) {
    gfx.held_on_frame = GetParam().held;
    gfx.escape_on_frame = GetParam().frames;
    run();
    ASSERT_EQ(gfx.frames_run, GetParam().frames);
    EXPECT_EQ(gfx.frame_calls(GetParam().frames)[7], GetParam().want_sprite_call_on_last_frame);
}

std::map<int, std::set<int>> holding(std::set<int> keys, int first_frame, int last_frame) {
    std::map<int, std::set<int>> held;
    for (int frame = first_frame; frame <= last_frame; ++frame)
        held[frame] = keys;
    return held;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FrameLoopSteering,
    ::testing::Values(SteerCase{"right_on_frame_1_moves_at_once", holding({right}, 1, 1), 1,
                                "put_image(screen, 105, 50, image2, transparent)"},
                      SteerCase{"right_on_frames_2_to_3", holding({right}, 2, 3), 4,
                                "put_image(screen, 110, 50, image2, transparent)"},
                      SteerCase{"right_held_long_stops_at_130", holding({right}, 1, 30), 30,
                                "put_image(screen, 130, 50, image2, transparent)"},
                      SteerCase{"up_held_long_stops_at_40", holding({up}, 1, 9), 9,
                                "put_image(screen, 100, 40, image3, transparent)"},
                      SteerCase{"down_then_left",
                                [] {
                                    auto held = holding({down}, 1, 20);
                                    for (auto& [frame, keys] : holding({left}, 21, 45))
                                        held[frame] = keys;
                                    return held;
                                }(),
                                45, "put_image(screen, 0, 100, image3, transparent)"},
                      SteerCase{"opposite_keys_cancel", holding({left, right, up, down}, 1, 4), 4,
                                "put_image(screen, 100, 50, image2, transparent)"}),
    [](const ::testing::TestParamInfo<SteerCase>& param) { return std::string(param.param.name); });

TEST_F(FrameLoopKeys, EscapeBehindOtherCodesEndsTheRunWhenItReachesTheHead) {
    // Typed on frame 3: 'a', Up's two-byte code, the close request, then Escape: one code is
    // read per frame, so Escape is read on frame 6.
    gfx.typed_on_frame[3] = {"a", "\xffH", "\xffk", "\x1b"};
    run();
    EXPECT_EQ(gfx.frames_run, 6);
}

TEST_F(FrameLoopKeys, OnlyTheOneCharacterEscapeEndsTheRun) {
    // Escape's byte inside a two-byte code, and a plain character 27 + 255, do not end it.
    gfx.typed_on_frame[1] = {"\xff\x1b", "\x1b\xff", "x"};
    gfx.escape_on_frame = 10;
    run();
    EXPECT_EQ(gfx.frames_run, 10);
}

}  // namespace
