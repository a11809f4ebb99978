#pragma once

#include "assets/art/grid.h"

namespace art {

inline constexpr int unicorn_width = 112;
inline constexpr int unicorn_height = 79;
inline constexpr int unicorn_frames = 2;

// One frame of the galloping unicorn, facing right, on the mask colour: frame 0 has the legs
// stretched out, frame 1 gathered under the body. Other frame numbers give frame 0.
Canvas draw_unicorn(int frame);

}  // namespace art
