#include "gfx/bmp_rows.h"

#include <bit>
#include <cstring>

namespace gfx {

namespace {

constexpr Pixel opaque = 0xFF000000;

std::uint32_t load_u32(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    } else {
        return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
               static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }
}

// B,G,R triples. All but the last pixel load four bytes at once (B,G,R and the next pixel's
// blue, dropped by the mask); the last is read byte by byte, as a row with no padding ends
// right after it.
void convert_24(const std::uint8_t* row, Pixel* out, std::size_t count) {
    const std::size_t wide = count - 1;  // count >= 1
    for (std::size_t i = 0; i < wide; ++i) {
        out[i] = opaque | (load_u32(row + 3 * i) & rgb_bits);
    }
    const std::uint8_t* last = row + 3 * wide;
    out[wide] = opaque | static_cast<std::uint32_t>(last[2]) << 16 |
                static_cast<std::uint32_t>(last[1]) << 8 | last[0];
}

// B,G,R,unused.
void convert_32_plain(const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = opaque | (load_u32(row + 4 * i) & rgb_bits);
}

// B,G,R,A stored as 0xAARRGGBB already.
void convert_32_argb(const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = load_u32(row + 4 * i);
}

Pixel from_fields(const BmpFormat& f, std::uint32_t value) {
    const std::uint32_t a = f.has_alpha ? scale_field(f.alpha, value) << 24 : opaque;
    return a | scale_field(f.red, value) << 16 | scale_field(f.green, value) << 8 |
           scale_field(f.blue, value);
}

void convert_16_fields(const BmpFormat& f, const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t v = static_cast<std::uint32_t>(row[2 * i]) |
                                static_cast<std::uint32_t>(row[2 * i + 1]) << 8;
        out[i] = from_fields(f, v);
    }
}

void convert_32_fields(const BmpFormat& f, const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = from_fields(f, load_u32(row + 4 * i));
}

// Indices packed from the most significant bits. The palette has 256 entries, so any index
// a byte can hold is inside it.
void convert_8(const Pixel* palette, const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = palette[row[i]];
}

void convert_4(const Pixel* palette, const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = palette[(row[i / 2] >> (4 - 4 * (i % 2))) & 0x0F];
    }
}

void convert_1(const Pixel* palette, const std::uint8_t* row, Pixel* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = palette[(row[i / 8] >> (7 - i % 8)) & 1];
}

bool byte_channels(const BmpFormat& f) {
    return f.red.mask == 0x00FF0000 && f.green.mask == 0x0000FF00 && f.blue.mask == 0x000000FF;
}

}  // namespace

void convert_bmp_row(const BmpFormat& format, const std::uint8_t* row, Pixel* out,
                     std::size_t count) {
    if (count == 0) return;
    switch (format.bits_per_pixel) {
        case 1:
            return convert_1(format.palette.data(), row, out, count);
        case 4:
            return convert_4(format.palette.data(), row, out, count);
        case 8:
            return convert_8(format.palette.data(), row, out, count);
        case 16:
            return convert_16_fields(format, row, out, count);
        case 24:
            return convert_24(row, out, count);
        case 32:
            if (byte_channels(format) && !format.has_alpha) {
                return convert_32_plain(row, out, count);
            }
            if (byte_channels(format) && format.alpha.mask == 0xFF000000) {
                return convert_32_argb(row, out, count);
            }
            return convert_32_fields(format, row, out, count);
        default:
            return;
    }
}

}  // namespace gfx
