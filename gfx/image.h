#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {

// Pixels are 0xAARRGGBB: red in bits 16-23, green in 8-15, blue in 0-7.
using Pixel = std::uint32_t;

inline constexpr Pixel mask_colour = 0x00FF00FF;  // compared under rgb_bits only
inline constexpr Pixel rgb_bits = 0x00FFFFFF;
inline constexpr Pixel new_image_fill = 0xFFFF00FF;

// A rectangle of tightly packed pixels, row after row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // width * height entries

    Pixel& at(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    Pixel at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Largest side we make an image with: keeps every byte count far inside size_t and int.
inline constexpr int max_image_side = 16384;

// A new image filled with `fill`, or nullptr when a side is not positive or too large.
std::unique_ptr<Image> make_image(int width, int height, Pixel fill = new_image_fill);

}  // namespace gfx
