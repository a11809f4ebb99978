#pragma once

#include "assets/art/grid.h"

namespace art {

inline constexpr int background_width = 427;
inline constexpr int background_height = 160;

// The scrolling scene: sky, sun and clouds, two mountain ranges and a meadow. Every feature
// repeats every background_width columns, so the last column runs on into the first.
Canvas draw_background();

}  // namespace art
