// Decodes arbitrary bytes as a BMP into an image of the background's size and into a tiny one,
// and checks what must hold for any input:
// - nothing crashes, reads out of bounds or hits undefined behaviour (the sanitizers);
// - a file whose format is rejected before the rows leaves the image untouched;
// - a file that holds every row it says it has decodes as ok, and one that does not, as bad;
// - pixels beyond the picture's width and height keep their values;
// - without alpha, every pixel written is opaque;
// - the tiny image equals the top-left corner of the large one (placement and cut-off agree).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx/bmp_decode.h"
#include "gfx/bmp_header.h"
#include "gfx/byte_reader.h"
#include "gfx/image.h"

namespace {

constexpr gfx::Pixel fill = 0x12345678;  // top byte not 0xFF: written pixels stand out

void require(bool condition) {
    if (!condition) std::abort();
}

// Made once and refilled per input: allocating 270 KB per run would halve the fuzzer's speed.
gfx::Image& refilled(gfx::Image& image, int width, int height) {
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width * height), fill);
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    static gfx::Image large_image, small_image;
    gfx::Image& large = refilled(large_image, 427, 160);
    gfx::Image& small = refilled(small_image, 3, 2);
    const gfx::LoadResult large_result = gfx::decode_bmp(bytes, large);
    const gfx::LoadResult small_result = gfx::decode_bmp(bytes, small);
    require(large_result == small_result);
    require(large_result == gfx::LoadResult::ok || large_result == gfx::LoadResult::bad_bitmap);

    const auto format = gfx::read_bmp_format(gfx::ByteReader{bytes});
    if (!format) {
        require(large_result == gfx::LoadResult::bad_bitmap);
        require(std::all_of(large.pixels.begin(), large.pixels.end(),
                            [](gfx::Pixel p) { return p == fill; }));
        require(std::all_of(small.pixels.begin(), small.pixels.end(),
                            [](gfx::Pixel p) { return p == fill; }));
        return 0;
    }

    const std::uint64_t rows_in_file = (size - format->pixel_offset) / format->stride;
    require((large_result == gfx::LoadResult::ok) == (rows_in_file >= format->height));

    const bool opaque =
        format->bits_per_pixel < 16 || format->bits_per_pixel == 24 || !format->has_alpha;
    for (int y = 0; y < large.height; ++y) {
        for (int x = 0; x < large.width; ++x) {
            const gfx::Pixel p = large.at(x, y);
            if (x >= format->width || static_cast<std::uint32_t>(y) >= format->height) {
                require(p == fill);
            } else if (opaque) {
                require(p == fill || p >> 24 == 0xFF);
            }
            if (x < small.width && y < small.height) require(small.at(x, y) == p);
        }
    }
    return 0;
}
