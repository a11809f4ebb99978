#include "gfx/bmp_decode.h"

#include <algorithm>
#include <cstddef>

#include "gfx/bmp_header.h"
#include "gfx/bmp_rows.h"
#include "gfx/byte_reader.h"

namespace gfx {

LoadResult decode_bmp(std::span<const std::uint8_t> bytes, Image& image) {
    const ByteReader file{bytes};
    const auto format = read_bmp_format(file);
    if (!format) return LoadResult::bad_bitmap;

    // Rows the file really holds. pixel_offset <= size (checked with the header) and the
    // stride is at least 4, so this is at most size / 4 and every row below it, at
    // pixel_offset + row * stride + stride <= size, lies inside the file.
    const std::uint64_t present = std::min<std::uint64_t>(
        format->height, (bytes.size() - format->pixel_offset) / format->stride);

    // The part of the picture that lands in the image, whose own size we trust only as far
    // as its pixels go.
    const std::uint64_t image_w = image.width > 0 ? static_cast<std::uint64_t>(image.width) : 0;
    const std::uint64_t image_h =
        image_w == 0 || image.height <= 0
            ? 0
            : std::min<std::uint64_t>(static_cast<std::uint64_t>(image.height),
                                      image.pixels.size() / image_w);
    const std::size_t columns = static_cast<std::size_t>(
        std::min<std::uint64_t>(image_w, static_cast<std::uint64_t>(format->width)));
    const std::uint64_t height = format->height;
    const std::uint64_t rows_shown = std::min(height, image_h);

    // Stored rows [first, last) are both in the file and in the image: the loop runs over
    // those only, at most the image's height times, however tall the file says it is.
    // Storage row r shows as picture row r (top-down) or height - 1 - r (bottom-up).
    const std::uint64_t first = format->top_down ? 0 : height - rows_shown;
    const std::uint64_t last = std::min(format->top_down ? rows_shown : height, present);
    for (std::uint64_t r = first; r < last; ++r) {
        const std::uint64_t y = format->top_down ? r : height - 1 - r;
        const std::uint8_t* row = bytes.data() + format->pixel_offset + r * format->stride;
        Pixel* out = image.pixels.data() + y * image_w;
        convert_bmp_row(*format, row, out, columns);
    }
    return present == height ? LoadResult::ok : LoadResult::bad_bitmap;
}

}  // namespace gfx
