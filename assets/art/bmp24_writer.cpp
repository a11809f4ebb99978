#include "assets/art/bmp24_writer.h"

#include <cstddef>
#include <fstream>

namespace art {

namespace {

constexpr std::uint32_t file_header_size = 14;
constexpr std::uint32_t info_header_size = 40;
constexpr std::int32_t pixels_per_metre = 2835;  // 72 dpi

void put_u16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> encode_bmp24(const Canvas& canvas) {
    // Our pictures are small; the limit keeps every size below far inside 32 bits.
    constexpr int max_side = 16384;
    if (canvas.width <= 0 || canvas.height <= 0 || canvas.width > max_side ||
        canvas.height > max_side ||
        canvas.cells.size() !=
            static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height)) {
        return {};
    }
    const auto width = static_cast<std::uint32_t>(canvas.width);
    const auto height = static_cast<std::uint32_t>(canvas.height);
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixel_bytes = stride * height;
    const std::uint32_t offset = file_header_size + info_header_size;

    std::vector<std::uint8_t> out;
    out.reserve(offset + pixel_bytes);
    out.push_back('B');
    out.push_back('M');
    put_u32(out, offset + pixel_bytes);
    put_u32(out, 0);  // two reserved 16-bit fields
    put_u32(out, offset);

    put_u32(out, info_header_size);
    put_u32(out, width);
    put_u32(out, height);  // positive: rows are stored bottom-up
    put_u16(out, 1);       // planes
    put_u16(out, 24);      // bits per pixel
    put_u32(out, 0);       // no compression
    put_u32(out, pixel_bytes);
    put_u32(out, static_cast<std::uint32_t>(pixels_per_metre));
    put_u32(out, static_cast<std::uint32_t>(pixels_per_metre));
    put_u32(out, 0);  // colours used
    put_u32(out, 0);  // important colours

    for (int y = canvas.height - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Colour c = get(canvas, x, y);
            out.push_back(static_cast<std::uint8_t>(blue(c)));
            out.push_back(static_cast<std::uint8_t>(green(c)));
            out.push_back(static_cast<std::uint8_t>(red(c)));
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace art
