#pragma once

#include "assets/art/colour.h"

namespace art::unicorn_palette {

// The sprite's colours in one place, so its look can be tuned here. None is near magenta.
inline constexpr Colour outline = 0x3A2550;     // the edge against the see-through mask
inline constexpr Colour inner_line = 0x9484B8;  // contours between parts
inline constexpr Colour body = 0xFBF8FF;
inline constexpr Colour body_highlight = 0xFFFFFF;
inline constexpr Colour body_shade = 0xDDD4EF;
inline constexpr Colour far_body = 0xCFC5E6;  // legs on the far side, in the body's shadow
inline constexpr Colour far_body_shade = 0xB2A5D2;
inline constexpr Colour horn_light = 0xFFEFB0;
inline constexpr Colour horn = 0xF4C84F;
inline constexpr Colour horn_dark = 0xC98F2E;
inline constexpr Colour hoof = 0xE3AE45;
inline constexpr Colour hoof_shade = 0xB07A2A;
inline constexpr Colour eye = 0x2A1840;
inline constexpr Colour iris = 0x6A4FCB;
inline constexpr Colour eye_glint = 0xFFFFFF;
inline constexpr Colour blush = 0xFFC2D8;
inline constexpr Colour nostril = 0xA898CC;

// Mane and tail, in rainbow order.
inline constexpr Colour hair[] = {0xFF5E7E, 0xFF9F43, 0xFFD84D, 0x6FD38A, 0x58B7F0, 0x9D7BF0};

}  // namespace art::unicorn_palette
