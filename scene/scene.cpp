#include "scene/scene.h"

#include <limits>

namespace {

constexpr std::int32_t sprite_step = 5;
constexpr std::int32_t sprite_min_x = 0;
constexpr std::int32_t sprite_max_x = 130;
constexpr std::int32_t sprite_min_y = 40;
constexpr std::int32_t sprite_max_y = 100;
constexpr std::int32_t scroll_step = 3;
constexpr std::int32_t animation_period = 10;  // 5 frames of sprite frame 1, then 5 of frame 2

// The counter never resets, but a signed int must not overflow. At its limit it steps back by
// a whole number of animation periods, so the 1-then-2 rhythm carries on without a hitch.
constexpr std::int32_t counter_rewind =
    std::numeric_limits<std::int32_t>::max() / animation_period * animation_period;

std::int32_t next_frame_count(std::int32_t count) {
    if (count == std::numeric_limits<std::int32_t>::max()) return count - counter_rewind + 1;
    return count + 1;
}

}  // namespace

void step_scene(Scene& scene, HeldKeys held) {
    scene.frame_count = next_frame_count(scene.frame_count);
    // Each test sees what the step before it left, so opposite keys held together can cancel
    // out or, at a bound, let only one of them through.
    if (held.up && scene.sprite_y > sprite_min_y) scene.sprite_y -= sprite_step;
    if (held.down && scene.sprite_y < sprite_max_y) scene.sprite_y += sprite_step;
    if (held.left && scene.sprite_x > sprite_min_x) scene.sprite_x -= sprite_step;
    if (held.right && scene.sprite_x < sprite_max_x) scene.sprite_x += sprite_step;
    scene.scroll_x -= scroll_step;
    if (scene.scroll_x < 0) scene.scroll_x += background_period;
}

int sprite_frame_index(const Scene& scene) {
    return scene.frame_count % animation_period < animation_period / 2 ? 1 : 2;
}
