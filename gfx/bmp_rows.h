#pragma once

// Converting one stored BMP row into image pixels. The caller has checked that the whole
// stored row is present, so the loops read without checks: a row of `count` pixels reads at
// most the row's stride, and `count` never exceeds the file's width.

#include <cstddef>
#include <cstdint>

#include "gfx/bmp_header.h"
#include "gfx/image.h"

namespace gfx {

// Converts the first `count` pixels of the stored row `row` (stride bytes of it present) into
// `out`, as 0xAARRGGBB.
void convert_bmp_row(const BmpFormat& format, const std::uint8_t* row, Pixel* out,
                     std::size_t count);

}  // namespace gfx
