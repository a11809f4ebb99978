#pragma once

// Builds BMP files byte by byte for tests, from a plain description of every field, so a test
// can make exactly the file it needs: any header kind, depth, row order, palette or mask set,
// and damaged files through field overrides, raw patches and truncation.
//
//   auto file = bmp_test::bmp24(2, 1, {0xFF0000, 0x00FF00});  // red, green; 24-bit bottom-up
//
//   bmp_test::BmpDescription d;
//   d.header_size = 108; d.bits_per_pixel = 16; d.compression = 3;
//   d.red_mask = 0xF800; d.green_mask = 0x07E0; d.blue_mask = 0x001F;
//   d.width = 3; d.height = 2; d.top_down = true; d.pixels = {...};  // raw 16-bit values
//   auto bytes = bmp_test::build(d);

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace bmp_test {

// Offsets of the fields, from the start of the file.
namespace offset {
// File header (14 bytes).
inline constexpr std::size_t signature = 0;     // "BM"
inline constexpr std::size_t file_size = 2;     // u32, whole file
inline constexpr std::size_t reserved = 6;      // 2 x u16, zero
inline constexpr std::size_t data_offset = 10;  // u32, where the pixel rows start
inline constexpr std::size_t info_header = 14;  // the info header begins here
// Info header, 40 bytes and more.
inline constexpr std::size_t header_size = 14;        // u32: 12, 40, 108, 124, ...
inline constexpr std::size_t width = 18;              // i32
inline constexpr std::size_t height = 22;             // i32, negative = rows stored top-down
inline constexpr std::size_t planes = 26;             // u16, 1
inline constexpr std::size_t bits_per_pixel = 28;     // u16
inline constexpr std::size_t compression = 30;        // u32: 0 plain, 3 bit fields
inline constexpr std::size_t image_size = 34;         // u32, bytes of pixel rows (may be 0)
inline constexpr std::size_t x_pixels_per_m = 38;     // i32
inline constexpr std::size_t y_pixels_per_m = 42;     // i32
inline constexpr std::size_t colours_used = 46;       // u32, 0 = all 2^bpp
inline constexpr std::size_t colours_important = 50;  // u32
// 108 bytes and more: the masks live in the header.
inline constexpr std::size_t red_mask = 54;      // u32
inline constexpr std::size_t green_mask = 58;    // u32
inline constexpr std::size_t blue_mask = 62;     // u32
inline constexpr std::size_t alpha_mask = 66;    // u32
inline constexpr std::size_t colour_space = 70;  // u32, then 36 bytes of end points, 3 gammas
// Core header (12 bytes): 16-bit sizes.
inline constexpr std::size_t core_width = 18;           // 16 bits
inline constexpr std::size_t core_height = 20;          // 16 bits
inline constexpr std::size_t core_planes = 22;          // u16
inline constexpr std::size_t core_bits_per_pixel = 24;  // u16
}  // namespace offset

// Everything that goes into one file. Defaults make a valid 1x1 24-bit bottom-up file once
// `pixels` holds one value.
struct BmpDescription {
    std::uint32_t header_size = 40;  // 12 core, 40, 108, 124; other values are written as given
    int width = 1;                   // of the picture in `pixels`
    int height = 1;                  // rows in `pixels`, always positive here
    bool top_down = false;           // stored height negative, rows written top row first
    std::uint16_t planes = 1;
    std::uint16_t bits_per_pixel = 24;  // 1, 4, 8, 16, 24, 32 (others are written as given)
    std::uint32_t compression = 0;      // 0 plain, 3 bit fields
    // Masks: after a 40-byte header when compression is 3 (red, green, blue, `masks_after_header`
    // of them); inside the header when it is 108 bytes or more (red, green, blue, alpha).
    std::uint32_t red_mask = 0, green_mask = 0, blue_mask = 0, alpha_mask = 0;
    std::optional<int> masks_after_header;  // default: 3 for header 40 with compression 3, else 0
    // Palette entries 0x00RRGGBB, written B,G,R,0 (B,G,R for a core header).
    std::vector<std::uint32_t> palette;
    std::uint32_t colours_used = 0;  // written as is (info headers only)
    // Pixel values, top row first, width*height of them: a palette index for 1/4/8 bits,
    // the raw 16- or 32-bit value, or 0xRRGGBB for 24 bits.
    std::vector<std::uint32_t> pixels;
    // Overrides of what is computed.
    std::optional<std::uint32_t> data_offset;   // the field; if past the natural start, the
                                                // gap is filled with 0xEE and rows go there
    std::optional<std::int32_t> header_width;   // written instead of width
    std::optional<std::int32_t> header_height;  // written instead of +-height
    std::optional<std::uint32_t> file_size;     // the file header's field
    std::uint8_t row_padding_byte = 0;          // fills the bytes that pad rows to 4
};

// Bytes of one stored row: the bits rounded up to whole 32-bit words.
inline std::size_t row_stride(int width, int bits_per_pixel) {
    const std::size_t bits =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(bits_per_pixel);
    return (bits + 31) / 32 * 4;
}

// Where each part of a built file starts.
struct BmpLayout {
    std::size_t masks = 0;    // masks after a 40-byte header (== palette when there are none)
    std::size_t palette = 0;  // first palette entry
    std::size_t pixels = 0;   // first stored row
    std::size_t stride = 0;   // bytes per stored row
    std::size_t size = 0;     // whole file
};

inline int mask_count_after_header(const BmpDescription& d) {
    if (d.masks_after_header) return *d.masks_after_header;
    return d.header_size == 40 && d.compression == 3 ? 3 : 0;
}

inline BmpLayout layout(const BmpDescription& d) {
    BmpLayout l;
    l.masks = offset::info_header + d.header_size;
    l.palette = l.masks + 4 * static_cast<std::size_t>(mask_count_after_header(d));
    const std::size_t entry = d.header_size == 12 ? 3 : 4;
    const std::size_t natural = l.palette + entry * d.palette.size();
    l.pixels = d.data_offset && *d.data_offset > natural ? *d.data_offset : natural;
    l.stride = row_stride(d.width, d.bits_per_pixel);
    l.size = l.pixels + l.stride * static_cast<std::size_t>(d.height);
    return l;
}

inline void put_u16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    if (out.size() < at + 2) out.resize(at + 2);
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put_u32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    if (out.size() < at + 4) out.resize(at + 4);
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Packs one row of values at `bits_per_pixel`, most significant bits first for 1 and 4 bits,
// little-endian for 16 and 32, B,G,R for 24.
inline void put_row(std::vector<std::uint8_t>& out, std::size_t at, const std::uint32_t* values,
                    int width, int bits_per_pixel) {
    const std::size_t w = static_cast<std::size_t>(width);
    switch (bits_per_pixel) {
        case 1:
        case 2:
        case 4:
        case 8: {
            const std::size_t bpp = static_cast<std::size_t>(bits_per_pixel);
            const std::uint32_t value_mask = (1u << bpp) - 1;
            for (std::size_t x = 0; x < w; ++x) {
                const std::size_t bit = x * bpp;
                const std::size_t shift = 8 - bpp - bit % 8;
                out[at + bit / 8] = static_cast<std::uint8_t>(out[at + bit / 8] |
                                                              ((values[x] & value_mask) << shift));
            }
            break;
        }
        case 16:
            for (std::size_t x = 0; x < w; ++x)
                put_u16(out, at + 2 * x, values[x]);
            break;
        case 24:
            for (std::size_t x = 0; x < w; ++x) {
                out[at + 3 * x] = static_cast<std::uint8_t>(values[x]);            // blue
                out[at + 3 * x + 1] = static_cast<std::uint8_t>(values[x] >> 8);   // green
                out[at + 3 * x + 2] = static_cast<std::uint8_t>(values[x] >> 16);  // red
            }
            break;
        case 32:
            for (std::size_t x = 0; x < w; ++x)
                put_u32(out, at + 4 * x, values[x]);
            break;
        default:  // other depths: rows left as padding bytes
            break;
    }
}

// The whole file. `pixels` shorter than width*height leaves the missing rows' bytes as padding.
inline std::vector<std::uint8_t> build(const BmpDescription& d) {
    const BmpLayout l = layout(d);
    std::vector<std::uint8_t> out(l.size, 0);

    // File header.
    put_u16(out, offset::signature, 'B' | 'M' << 8);
    put_u32(out, offset::file_size,
            d.file_size ? *d.file_size : static_cast<std::uint32_t>(l.size));
    put_u32(out, offset::data_offset,
            d.data_offset ? *d.data_offset : static_cast<std::uint32_t>(l.pixels));

    // Info header.
    const std::int32_t stored_height = d.top_down ? -d.height : d.height;
    const std::int32_t w = d.header_width ? *d.header_width : d.width;
    const std::int32_t h = d.header_height ? *d.header_height : stored_height;
    put_u32(out, offset::header_size, d.header_size);
    if (d.header_size == 12) {
        put_u16(out, offset::core_width, static_cast<std::uint32_t>(w));
        put_u16(out, offset::core_height, static_cast<std::uint32_t>(h));
        put_u16(out, offset::core_planes, d.planes);
        put_u16(out, offset::core_bits_per_pixel, d.bits_per_pixel);
    } else if (d.header_size >= 16) {
        // Headers between 16 and 40 bytes get the fields that fit (for rejected kinds).
        const std::size_t end = offset::info_header + d.header_size;
        std::vector<std::uint8_t> info(offset::info_header + 124, 0);
        put_u32(info, offset::width, static_cast<std::uint32_t>(w));
        put_u32(info, offset::height, static_cast<std::uint32_t>(h));
        put_u16(info, offset::planes, d.planes);
        put_u16(info, offset::bits_per_pixel, d.bits_per_pixel);
        put_u32(info, offset::compression, d.compression);
        put_u32(info, offset::image_size,
                static_cast<std::uint32_t>(l.stride) * static_cast<std::uint32_t>(d.height));
        put_u32(info, offset::x_pixels_per_m, 2835);  // 72 dpi
        put_u32(info, offset::y_pixels_per_m, 2835);
        put_u32(info, offset::colours_used, d.colours_used);
        if (d.header_size >= 108) {
            put_u32(info, offset::red_mask, d.red_mask);
            put_u32(info, offset::green_mask, d.green_mask);
            put_u32(info, offset::blue_mask, d.blue_mask);
            put_u32(info, offset::alpha_mask, d.alpha_mask);
            put_u32(info, offset::colour_space, 0x73524742);  // "sRGB"
        }
        for (std::size_t i = offset::width; i < end && i < info.size(); ++i)
            out[i] = info[i];
    }

    // Masks after the header, then the palette.
    const std::uint32_t masks[4] = {d.red_mask, d.green_mask, d.blue_mask, d.alpha_mask};
    for (int i = 0; i < mask_count_after_header(d) && i < 4; ++i) {
        put_u32(out, l.masks + 4 * static_cast<std::size_t>(i), masks[i]);
    }
    const std::size_t entry = d.header_size == 12 ? 3 : 4;
    for (std::size_t i = 0; i < d.palette.size(); ++i) {
        const std::size_t at = l.palette + entry * i;
        out[at] = static_cast<std::uint8_t>(d.palette[i]);            // blue
        out[at + 1] = static_cast<std::uint8_t>(d.palette[i] >> 8);   // green
        out[at + 2] = static_cast<std::uint8_t>(d.palette[i] >> 16);  // red
    }
    const std::size_t natural = l.palette + entry * d.palette.size();
    for (std::size_t i = natural; i < l.pixels; ++i)
        out[i] = 0xEE;

    // Rows, in storage order.
    const std::size_t width = static_cast<std::size_t>(d.width);
    for (int r = 0; r < d.height; ++r) {
        const int top_row = d.top_down ? r : d.height - 1 - r;
        const std::size_t at = l.pixels + l.stride * static_cast<std::size_t>(r);
        for (std::size_t i = 0; i < l.stride; ++i)
            out[at + i] = d.row_padding_byte;
        // Clear the used bytes before packing; only the padding keeps row_padding_byte.
        const std::size_t used = (width * static_cast<std::size_t>(d.bits_per_pixel) + 7) / 8;
        for (std::size_t i = 0; i < used && i < l.stride; ++i)
            out[at + i] = 0;
        const std::size_t first = static_cast<std::size_t>(top_row) * width;
        if (first + width <= d.pixels.size()) {
            put_row(out, at, d.pixels.data() + first, d.width, d.bits_per_pixel);
        }
    }
    return out;
}

// The simplest file: 24-bit, bottom-up, 40-byte header, pixels 0xRRGGBB given top row first.
inline std::vector<std::uint8_t> bmp24(int width, int height,
                                       const std::vector<std::uint32_t>& pixels_top_down) {
    BmpDescription d;
    d.width = width;
    d.height = height;
    d.pixels = pixels_top_down;
    return build(d);
}

// The first `size` bytes of `bytes` (all of them when shorter).
inline std::vector<std::uint8_t> truncated(std::vector<std::uint8_t> bytes, std::size_t size) {
    if (size < bytes.size()) bytes.resize(size);
    return bytes;
}

// Overwrites bytes at `at`, growing the file if needed: for damage no field covers.
inline std::vector<std::uint8_t> patched(std::vector<std::uint8_t> bytes, std::size_t at,
                                         const std::vector<std::uint8_t>& with) {
    if (bytes.size() < at + with.size()) bytes.resize(at + with.size());
    for (std::size_t i = 0; i < with.size(); ++i)
        bytes[at + i] = with[i];
    return bytes;
}

}  // namespace bmp_test
