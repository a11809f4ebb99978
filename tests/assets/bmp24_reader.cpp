#include "tests/assets/bmp24_reader.h"

#include <cstddef>
#include <fstream>
#include <iterator>

namespace art_test {

namespace {

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::int32_t s32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

}  // namespace

std::optional<Bmp24Header> read_header(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    Bmp24Header h;
    h.file_size = u32(bytes, 2);
    h.reserved = u32(bytes, 6);
    h.data_offset = u32(bytes, 10);
    h.info_size = u32(bytes, 14);
    h.width = s32(bytes, 18);
    h.height = s32(bytes, 22);
    h.planes = u16(bytes, 26);
    h.bits_per_pixel = u16(bytes, 28);
    h.compression = u32(bytes, 30);
    h.image_size = u32(bytes, 34);
    h.x_pixels_per_metre = s32(bytes, 38);
    h.y_pixels_per_metre = s32(bytes, 42);
    h.colours_used = u32(bytes, 46);
    h.colours_important = u32(bytes, 50);
    return h;
}

std::string format_fault(std::span<const std::uint8_t> bytes) {
    const std::optional<Bmp24Header> h = read_header(bytes);
    if (!h) return "no 54-byte header starting with BM";
    if (h->data_offset != 54) return "pixel data offset " + std::to_string(h->data_offset);
    if (h->info_size != 40) return "info header size " + std::to_string(h->info_size);
    if (h->reserved != 0) return "reserved fields not zero";
    if (h->planes != 1) return "planes " + std::to_string(h->planes);
    if (h->bits_per_pixel != 24) return "bits per pixel " + std::to_string(h->bits_per_pixel);
    if (h->compression != 0) return "compression " + std::to_string(h->compression);
    if (h->colours_used != 0) return "colours used " + std::to_string(h->colours_used);
    if (h->width <= 0 || h->width > 16384) return "width " + std::to_string(h->width);
    if (h->height <= 0 || h->height > 16384) {
        return "height " + std::to_string(h->height) + " (rows must be bottom-up)";
    }
    const std::size_t stride = (static_cast<std::size_t>(h->width) * 3 + 3) / 4 * 4;
    const std::size_t pixel_bytes = stride * static_cast<std::size_t>(h->height);
    if (h->file_size != 54 + pixel_bytes) {
        return "file size field " + std::to_string(h->file_size) + ", expected " +
               std::to_string(54 + pixel_bytes);
    }
    if (bytes.size() != 54 + pixel_bytes) {
        return "file is " + std::to_string(bytes.size()) + " bytes, expected " +
               std::to_string(54 + pixel_bytes);
    }
    if (h->image_size != 0 && h->image_size != pixel_bytes) {
        return "image size field " + std::to_string(h->image_size);
    }
    for (std::size_t row = 0; row < static_cast<std::size_t>(h->height); ++row) {
        for (std::size_t pad = static_cast<std::size_t>(h->width) * 3; pad < stride; ++pad) {
            if (bytes[54 + row * stride + pad] != 0) return "padding byte not zero";
        }
    }
    return {};
}

std::optional<art::Canvas> decode(std::span<const std::uint8_t> bytes) {
    if (!format_fault(bytes).empty()) return std::nullopt;
    const Bmp24Header h = *read_header(bytes);
    art::Canvas canvas = art::make_grid<art::Colour>(h.width, h.height, 0);
    const std::size_t stride = (static_cast<std::size_t>(h.width) * 3 + 3) / 4 * 4;
    for (int y = 0; y < h.height; ++y) {
        const std::size_t row = 54 + static_cast<std::size_t>(h.height - 1 - y) * stride;
        for (int x = 0; x < h.width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            art::set(canvas, x, y, art::rgb(bytes[at + 2], bytes[at + 1], bytes[at]));
        }
    }
    return canvas;
}

std::optional<std::vector<std::uint8_t>> read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return bytes;
}

}  // namespace art_test
