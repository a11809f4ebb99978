#pragma once

#include <cstdint>

// The animation's whole state and rules: no drawing, no platform calls.

struct Scene {
    std::int32_t sprite_x = 100;   // left edge of the sprite, screen pixels
    std::int32_t sprite_y = 50;    // top edge of the sprite, screen pixels
    std::int32_t scroll_x = 0;     // where the first background copy is drawn
    std::int32_t frame_count = 0;  // frames begun so far
};

// The arrow keys held at the moment one frame sampled them.
struct HeldKeys {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
};

inline constexpr std::int32_t background_period = 427;  // the background image's width

// Advances the scene by one frame.
void step_scene(Scene& scene, HeldKeys held);

// 1 or 2: the sprite frame to draw for the scene's current frame count.
int sprite_frame_index(const Scene& scene);
