#pragma once

// Reads back the BMP files our art generator writes, checking every field on the way, so the
// tests can look at the committed pictures themselves and not only at the drawing code.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "assets/art/grid.h"

namespace art_test {

// The header fields, as found in the file.
struct Bmp24Header {
    std::uint32_t file_size = 0;
    std::uint32_t reserved = 0;
    std::uint32_t data_offset = 0;
    std::uint32_t info_size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bits_per_pixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t image_size = 0;
    std::int32_t x_pixels_per_metre = 0;
    std::int32_t y_pixels_per_metre = 0;
    std::uint32_t colours_used = 0;
    std::uint32_t colours_important = 0;
};

// The header fields, or nothing when the bytes are shorter than the 54-byte headers or do not
// start with "BM".
std::optional<Bmp24Header> read_header(std::span<const std::uint8_t> bytes);

// Why the bytes are not the exact kind of file we write (empty when they are).
std::string format_fault(std::span<const std::uint8_t> bytes);

// The picture, when format_fault finds nothing.
std::optional<art::Canvas> decode(std::span<const std::uint8_t> bytes);

// The whole file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> read_file(const std::string& path);

}  // namespace art_test
