#pragma once

// BMP files for the decoder's tests and the fuzzer's seeds, built with the test writer: valid
// files of every accepted kind with the colours they must decode to, and damaged or rejected
// files with the result and the rows they must leave converted.

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "gfx/bmp_decode.h"
#include "gfx/image.h"
#include "tests/support/bmp_writer.h"

namespace gfx_test {

using gfx::LoadResult;
using gfx::Pixel;

// A small deterministic mix, so neighbouring pixels and rows differ.
inline std::uint32_t mix(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// A channel value of `bits` bits and what it must scale to, worked out by hand:
// round(value * 255 / (2^bits - 1)).
struct Level {
    std::uint32_t value;
    std::uint32_t scaled;
};
inline const std::vector<Level>& levels(int bits) {
    static const std::vector<Level> five = {{0, 0}, {31, 255}, {16, 132}, {8, 66}, {1, 8}};
    static const std::vector<Level> six = {{0, 0}, {63, 255}, {32, 130}, {1, 4}, {40, 162}};
    static const std::vector<Level> ten = {{0, 0}, {1023, 255}, {512, 128}, {1, 0}, {3, 1}};
    return bits == 5 ? five : bits == 6 ? six : ten;
}

enum class Depth {
    index1,
    index4,
    index8,
    index8_short,  // colours-used 7 of 256
    rgb555,        // 16 bits, plain
    rgb565,        // 16 bits, bit fields
    rgb24,
    rgb32,         // plain: the top byte is ignored
    rgb32_fields,  // 10-10-10 bit fields
    argb32,        // bit fields with an alpha mask (108+ headers)
};

inline const char* depth_name(Depth d) {
    switch (d) {
        case Depth::index1:
            return "index1";
        case Depth::index4:
            return "index4";
        case Depth::index8:
            return "index8";
        case Depth::index8_short:
            return "index8short";
        case Depth::rgb555:
            return "rgb555";
        case Depth::rgb565:
            return "rgb565";
        case Depth::rgb24:
            return "rgb24";
        case Depth::rgb32:
            return "rgb32";
        case Depth::rgb32_fields:
            return "rgb32fields";
        case Depth::argb32:
            return "argb32";
    }
    return "?";
}

struct ValidCase {
    std::string name;
    bmp_test::BmpDescription description;
    std::vector<Pixel> colours;  // what each picture pixel decodes to, top row first
};

// One file of `depth` with its expected colours, or false when the header cannot carry it.
inline bool make_valid(std::uint32_t header_size, Depth depth, bool top_down, int width, int height,
                       ValidCase& out) {
    const bool core = header_size == 12;
    const bool masks_in_header = header_size >= 108;
    bmp_test::BmpDescription& d = out.description;
    d = {};
    d.header_size = header_size;
    d.width = width;
    d.height = height;
    d.top_down = top_down;
    const auto n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    d.pixels.resize(n);
    out.colours.resize(n);
    const auto seed = static_cast<std::uint32_t>(depth) * 131 + header_size;

    auto indexed = [&](std::uint16_t bits, std::uint32_t entries, std::uint32_t colours_used) {
        d.bits_per_pixel = bits;
        d.colours_used = colours_used;
        for (std::uint32_t i = 0; i < entries; ++i)
            d.palette.push_back(mix(i, seed, 1) & 0xFFFFFF);
        for (std::size_t i = 0; i < n; ++i) {
            d.pixels[i] = mix(static_cast<std::uint32_t>(i), seed, 2) % entries;
            out.colours[i] = 0xFF000000u | d.palette[d.pixels[i]];
        }
    };
    // Channels picked from hand-worked levels; `place` says where each channel's bits go.
    auto fields = [&](int r_bits, int g_bits, int b_bits, int r_at, int g_at, int b_at,
                      std::uint32_t junk) {
        for (std::size_t i = 0; i < n; ++i) {
            const auto k = static_cast<std::uint32_t>(i);
            const auto& r = levels(r_bits)[mix(k, seed, 3) % levels(r_bits).size()];
            const auto& g = levels(g_bits)[mix(k, seed, 4) % levels(g_bits).size()];
            const auto& b = levels(b_bits)[mix(k, seed, 5) % levels(b_bits).size()];
            d.pixels[i] =
                r.value << r_at | g.value << g_at | b.value << b_at | (mix(k, seed, 6) & junk);
            out.colours[i] = 0xFF000000u | r.scaled << 16 | g.scaled << 8 | b.scaled;
        }
    };
    auto set_masks = [&](std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
        d.compression = 3;
        d.red_mask = r;
        d.green_mask = g;
        d.blue_mask = b;
        d.alpha_mask = a;
    };

    switch (depth) {
        case Depth::index1:
            indexed(1, 2, 0);
            break;
        case Depth::index4:
            indexed(4, 16, 0);
            break;
        case Depth::index8:
            indexed(8, 256, 0);
            break;
        case Depth::index8_short:
            if (core) return false;  // no colours-used field
            indexed(8, 7, 7);
            break;
        case Depth::rgb555:
            d.bits_per_pixel = 16;
            fields(5, 5, 5, 10, 5, 0, 0x8000);  // the top bit is unused
            break;
        case Depth::rgb565:
            if (core) return false;
            d.bits_per_pixel = 16;
            set_masks(0xF800, 0x07E0, 0x001F, 0);
            fields(5, 6, 5, 11, 5, 0, 0);
            break;
        case Depth::rgb24:
            d.bits_per_pixel = 24;
            for (std::size_t i = 0; i < n; ++i) {
                d.pixels[i] = mix(static_cast<std::uint32_t>(i), seed, 7) & 0xFFFFFF;
                out.colours[i] = 0xFF000000u | d.pixels[i];
            }
            break;
        case Depth::rgb32:
            d.bits_per_pixel = 32;
            for (std::size_t i = 0; i < n; ++i) {
                d.pixels[i] = mix(static_cast<std::uint32_t>(i), seed, 8);
                out.colours[i] = 0xFF000000u | (d.pixels[i] & 0xFFFFFF);
            }
            break;
        case Depth::rgb32_fields:
            if (core) return false;
            d.bits_per_pixel = 32;
            set_masks(0x3FF00000, 0x000FFC00, 0x000003FF, 0);
            fields(10, 10, 10, 20, 10, 0, 0xC0000000);
            break;
        case Depth::argb32:
            if (!masks_in_header) return false;
            d.bits_per_pixel = 32;
            set_masks(0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
            for (std::size_t i = 0; i < n; ++i) {
                d.pixels[i] = mix(static_cast<std::uint32_t>(i), seed, 9);
                out.colours[i] = d.pixels[i];
            }
            break;
    }
    out.name = "h" + std::to_string(header_size) + "_" + depth_name(depth) +
               (top_down ? "_topdown_w" : "_bottomup_w") + std::to_string(width);
    return true;
}

inline std::vector<ValidCase> valid_cases() {
    std::vector<ValidCase> cases;
    const Depth depths[] = {Depth::index1,       Depth::index4, Depth::index8, Depth::index8_short,
                            Depth::rgb555,       Depth::rgb565, Depth::rgb24,  Depth::rgb32,
                            Depth::rgb32_fields, Depth::argb32};
    for (std::uint32_t header : {12u, 40u, 108u, 124u}) {
        for (Depth depth : depths) {
            for (bool top_down : {false, true}) {
                for (int width : {1, 2, 3, 5}) {
                    ValidCase c;
                    if (make_valid(header, depth, top_down, width, 3, c)) cases.push_back(c);
                }
            }
        }
    }
    return cases;
}

// A damaged or rejected file: what decoding it into an image_w x image_h image filled with
// `fill` must return, and which picture rows it must have converted (the rest untouched).
struct DamagedCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    LoadResult result = LoadResult::bad_bitmap;
    std::vector<int> converted_rows;  // picture rows, top row 0
    ValidCase picture;                // the colours of those rows
    int image_w = 3, image_h = 4;
};

inline constexpr Pixel fill_colour = 0x12345678;

// A 3x4 24-bit file, bottom-up unless told otherwise.
inline ValidCase picture24(bool top_down = false) {
    ValidCase c;
    make_valid(40, Depth::rgb24, top_down, 3, 4, c);
    return c;
}

inline std::vector<DamagedCase> damaged_cases() {
    using bmp_test::build;
    using bmp_test::layout;
    using bmp_test::patched;
    using bmp_test::truncated;
    namespace at = bmp_test::offset;
    std::vector<DamagedCase> cases;
    auto rejected = [&](std::string name, std::vector<std::uint8_t> bytes) {
        DamagedCase c;
        c.name = std::move(name);
        c.bytes = std::move(bytes);
        cases.push_back(c);
    };
    auto u16 = [](std::uint32_t v) {
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v),
                                         static_cast<std::uint8_t>(v >> 8)};
    };
    auto u32 = [](std::uint32_t v) {
        return std::vector<std::uint8_t>{
            static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    };

    const ValidCase p24 = picture24();
    const auto file24 = build(p24.description);
    ValidCase p8;
    make_valid(40, Depth::index8, false, 3, 4, p8);
    const auto file8 = build(p8.description);
    ValidCase p565;
    make_valid(40, Depth::rgb565, false, 3, 4, p565);
    const auto file565 = build(p565.description);
    ValidCase pv4;
    make_valid(108, Depth::argb32, false, 3, 4, pv4);
    const auto file_v4 = build(pv4.description);
    ValidCase pv5;
    make_valid(124, Depth::rgb565, false, 3, 4, pv5);
    const auto file_v5 = build(pv5.description);
    ValidCase pcore;
    make_valid(12, Depth::index1, false, 3, 4, pcore);
    const auto file_core = build(pcore.description);

    // Kinds not accepted, in otherwise complete files.
    rejected("signature_BA", patched(file24, at::signature, {'B', 'A'}));
    rejected("rle8", patched(file8, at::compression, u32(1)));
    rejected("rle4", patched(file8, at::compression, u32(2)));
    rejected("jpeg", patched(file24, at::compression, u32(4)));
    rejected("png", patched(file24, at::compression, u32(5)));
    rejected("bit_fields_24bit", patched(file24, at::compression, u32(3)));
    rejected("bit_fields_8bit", patched(file8, at::compression, u32(3)));
    rejected("depth2", patched(file8, at::bits_per_pixel, u16(2)));
    rejected("depth64", patched(file24, at::bits_per_pixel, u16(64)));
    rejected("depth0", patched(file24, at::bits_per_pixel, u16(0)));
    rejected("planes2", patched(file24, at::planes, u16(2)));
    rejected("core_planes2", patched(file_core, at::core_planes, u16(2)));
    rejected("width0", patched(file24, at::width, u32(0)));
    rejected("width_negative", patched(file24, at::width, u32(0xFFFFFFFD)));
    rejected("width_int_min", patched(file24, at::width, u32(0x80000000)));
    rejected("height0", patched(file24, at::height, u32(0)));
    rejected("core_width0", patched(file_core, at::core_width, u16(0)));
    rejected("core_height0", patched(file_core, at::core_height, u16(0)));
    rejected("core_width_negative", patched(file_core, at::core_width, u16(0xFFFF)));
    for (std::uint32_t size : {0u, 11u, 13u, 16u, 39u, 41u, 52u, 56u, 64u, 107u, 0xFFFFFFFFu}) {
        rejected("header_size" + std::to_string(size), patched(file24, at::header_size, u32(size)));
    }
    rejected("offset_past_end",
             patched(file24, at::data_offset, u32(static_cast<std::uint32_t>(file24.size() + 1))));
    rejected("offset_huge", patched(file24, at::data_offset, u32(0xFFFFFFFF)));
    rejected("offset_inside_header", patched(file24, at::data_offset, u32(20)));
    rejected("offset_inside_masks", patched(file565, at::data_offset, u32(14 + 40 + 8)));
    {
        // Red mask with a hole in it.
        rejected("mask_not_contiguous",
                 patched(file565, layout(p565.description).masks, u32(0xF00F)));
        rejected("v4_alpha_mask_not_contiguous", patched(file_v4, at::alpha_mask, u32(0x81000000)));
    }

    // Truncations before the rows.
    for (std::size_t size : std::initializer_list<std::size_t>{0, 1, 2, 9, 13}) {
        rejected("cut_file_header_at" + std::to_string(size), truncated(file24, size));
    }
    for (std::size_t size : std::initializer_list<std::size_t>{17, 18, 30, 53}) {
        rejected("cut_info_header_at" + std::to_string(size), truncated(file24, size));
    }
    rejected("cut_core_header", truncated(file_core, 14 + 11));
    rejected("cut_v4_header", truncated(file_v4, 14 + 100));
    rejected("cut_v5_header", truncated(file_v5, 14 + 123));
    {
        const std::size_t masks = layout(p565.description).masks;
        for (std::size_t cut : std::initializer_list<std::size_t>{0, 5, 11}) {
            rejected("cut_masks_at" + std::to_string(cut), truncated(file565, masks + cut));
        }
    }
    {
        const std::size_t palette = layout(p8.description).palette;
        for (std::size_t cut : std::initializer_list<std::size_t>{1, 402, 1023}) {
            rejected("cut_palette_at" + std::to_string(cut), truncated(file8, palette + cut));
        }
        const std::size_t core_palette = layout(pcore.description).palette;
        rejected("cut_core_palette", truncated(file_core, core_palette + 5));
        // Seven colours said used, the file ends after five.
        ValidCase short_palette;
        make_valid(40, Depth::index8_short, false, 3, 4, short_palette);
        const auto file = build(short_palette.description);
        rejected("cut_short_palette",
                 truncated(file, layout(short_palette.description).palette + 4 * 5));
    }

    // Truncations in the rows: the rows before the fault, in file order, stay converted.
    auto rows_cut = [&](std::string name, const ValidCase& picture, std::size_t size,
                        std::vector<int> rows, int image_w = 3, int image_h = 4) {
        DamagedCase c;
        c.name = std::move(name);
        c.bytes = truncated(build(picture.description), size);
        c.converted_rows = std::move(rows);
        c.picture = picture;
        c.image_w = image_w;
        c.image_h = image_h;
        cases.push_back(c);
    };
    const std::size_t px = layout(p24.description).pixels;  // stride 12
    const ValidCase p24_top = picture24(true);
    rows_cut("no_rows_bottom_up", p24, px, {});
    rows_cut("half_row_bottom_up", p24, px + 5, {});
    rows_cut("two_and_a_half_rows_bottom_up", p24, px + 2 * 12 + 5, {3, 2});
    rows_cut("two_rows_bottom_up", p24, px + 2 * 12, {3, 2});
    rows_cut("last_row_padding_missing_bottom_up", p24, px + 4 * 12 - 3, {3, 2, 1});
    rows_cut("two_rows_bottom_up_small_image", p24, px + 2 * 12, {}, 3, 2);
    rows_cut("two_rows_top_down", p24_top, px + 2 * 12 + 7, {0, 1});
    rows_cut("three_rows_top_down_small_image", p24_top, px + 3 * 12 + 1, {0, 1}, 2, 2);
    rows_cut("one_byte_short_top_down", p24_top, px + 4 * 12 - 1, {0, 1, 2});
    {
        ValidCase p = p8;
        const std::size_t p8px = layout(p.description).pixels;
        rows_cut("index8_one_row_bottom_up", p, p8px + 4 + 3, {3});
    }

    // Absurd sizes: only what the image can hold and the file has is converted.
    {
        // A top-down height of INT_MIN: 2^31 rows said, four in the file.
        ValidCase p = p24_top;
        p.description.header_height = INT_MIN;
        rows_cut("height_int_min", p, 1u << 20, {0, 1, 2, 3}, 3, 6);
        // 2^31 - 1 rows bottom-up: the file's four rows are far below the image.
        ValidCase q = p24;
        q.description.header_height = INT_MAX;
        rows_cut("height_int_max_bottom_up", q, 1u << 20, {}, 3, 6);
        // 2^31 - 1 square: no row of 6 GB is in the file.
        ValidCase s = p24;
        s.description.header_width = INT_MAX;
        s.description.header_height = INT_MAX;
        rows_cut("width_height_int_max", s, 1u << 20, {}, 3, 6);
        s.description.header_height = -INT_MAX;
        rows_cut("width_height_int_max_top_down", s, 1u << 20, {}, 3, 6);
        ValidCase t = p24_top;
        t.description.header_size = 12;
        t.description.header_height = -32768;
        rows_cut("core_height_min", t, 1u << 20, {0, 1, 2, 3}, 3, 5);
    }
    // Pixel data offset honoured: rows start after a gap, and at the very end nothing is there.
    {
        ValidCase p = p24;
        p.description.data_offset = static_cast<std::uint32_t>(px + 10);
        DamagedCase c;
        c.name = "offset_with_gap";
        c.bytes = build(p.description);
        c.result = LoadResult::ok;
        c.converted_rows = {0, 1, 2, 3};
        c.picture = p;
        cases.push_back(c);
        rows_cut("offset_at_end", p, px + 10, {});
    }
    return cases;
}

}  // namespace gfx_test
