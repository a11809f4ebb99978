#pragma once

#include <cstdint>

namespace art {

// Colours are 0xRRGGBB.
using Colour = std::uint32_t;

// The sprite's see-through colour: exact magenta.
inline constexpr Colour mask_colour = 0xFF00FF;

constexpr int red(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr int green(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue(Colour c) {
    return static_cast<int>(c & 0xFF);
}

constexpr Colour rgb(int r, int g, int b) {
    return (static_cast<Colour>(r & 0xFF) << 16) | (static_cast<Colour>(g & 0xFF) << 8) |
           static_cast<Colour>(b & 0xFF);
}

// `from` moved `num`/`den` of the way towards `to`, rounded to nearest; integer so that every
// machine gets the same bytes.
constexpr Colour mix(Colour from, Colour to, int num, int den) {
    auto channel = [num, den](int a, int b) { return a + ((b - a) * num * 2 + den) / (2 * den); };
    return rgb(channel(red(from), red(to)), channel(green(from), green(to)),
               channel(blue(from), blue(to)));
}

// Sum of the per-channel distances from magenta: small values read as a fringe of the mask.
constexpr int distance_from_mask(Colour c) {
    return (255 - red(c)) + green(c) + (255 - blue(c));
}

}  // namespace art
