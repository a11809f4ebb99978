#pragma once

// Everything of a BMP file before its pixel rows: the file header, the info header, the
// channel masks and the palette, read and validated in that order.

#include <array>
#include <cstdint>
#include <optional>

#include "gfx/bit_fields.h"
#include "gfx/byte_reader.h"
#include "gfx/image.h"

namespace gfx {

inline constexpr Pixel palette_miss = 0xFF000000;  // colour of an index past the palette

struct BmpFormat {
    std::int32_t width = 0;    // > 0
    std::uint32_t height = 0;  // rows, > 0; up to 2^31 (a stored height of INT_MIN)
    bool top_down = false;     // rows stored top row first (stored height negative)
    int bits_per_pixel = 0;    // 1, 4, 8, 16, 24 or 32
    // 16 and 32 bits: the channels. has_alpha is false when the top byte is to be 0xFF.
    BitField red, green, blue, alpha;
    bool has_alpha = false;
    // 1, 4 and 8 bits: every index has an entry; those past the file's palette are palette_miss.
    std::array<Pixel, 256> palette{};
    std::uint64_t pixel_offset = 0;  // first stored row; <= file size
    std::uint64_t stride = 0;        // bytes per stored row, a multiple of 4, < 2^37
};

// The format of the BMP in `file`, or nullopt when the file is not of an accepted kind or ends
// before its pixel rows begin.
std::optional<BmpFormat> read_bmp_format(const ByteReader& file);

}  // namespace gfx
