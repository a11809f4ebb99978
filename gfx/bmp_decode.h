#pragma once

#include <cstdint>
#include <span>

#include "gfx/image.h"

namespace gfx {

// Results of loading a bitmap; the numbers are the facility's documented result codes.
enum class LoadResult : int {
    ok = 0,
    no_screen = 1,
    cannot_open = 2,
    bad_bitmap = 3,  // not a complete, valid bitmap of an accepted kind
};

// Decodes a Windows BMP held in `bytes` into `image`, placing the picture at the image's
// top-left corner and cutting off whatever exceeds it; pixels it does not reach keep their
// values. On a fault part-way through the pixel rows, the rows converted before it stay.
// A file of a kind that is not accepted leaves the image untouched.
LoadResult decode_bmp(std::span<const std::uint8_t> bytes, Image& image);

}  // namespace gfx
