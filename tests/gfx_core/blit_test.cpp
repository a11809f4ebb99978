#include "gfx/blit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "tests/gfx_core/pixel_compare.h"

namespace gfx_test {
namespace {

using gfx::blit;
using gfx::clip_blit;
using gfx::Image;
using gfx::Pixel;
using gfx::PutMode;
using gfx::RowSpan;

constexpr Pixel background = 0xFF0A0B0C;

// Source pixels that say where they came from: 0xFF00XXYY, never the colour key.
Image numbered(int width, int height) {
    Image image = filled(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.at(x, y) = 0xFF000000u | static_cast<Pixel>(x) << 8 | static_cast<Pixel>(y) << 16;
    }
    return image;
}

// Plain per-pixel reference, every position in 64 bits.
Image reference_blit(Image dst, int x, int y, const Image& src, PutMode mode, RowSpan& rows) {
    rows = {};
    for (int sy = 0; sy < src.height; ++sy) {
        for (int sx = 0; sx < src.width; ++sx) {
            const std::int64_t dx = std::int64_t{x} + sx;
            const std::int64_t dy = std::int64_t{y} + sy;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) continue;
            const Pixel p = src.at(sx, sy);
            if (rows.empty()) rows = {static_cast<int>(dy), static_cast<int>(dy)};
            rows.last_row = static_cast<int>(dy);
            if (mode == PutMode::opaque) {
                dst.at(static_cast<int>(dx), static_cast<int>(dy)) = p;
            } else if ((p & 0x00FFFFFF) != 0xFF00FF) {
                dst.at(static_cast<int>(dx), static_cast<int>(dy)) = p & 0x00FFFFFF;
            }
        }
    }
    return dst;
}

struct Placement {
    const char* name;
    int x, y;
    int src_w = 3, src_h = 2;
};

// Destination 6x5, source 3x2 unless stated.
const Placement placements[] = {
    {"inside", 1, 1},
    {"at_origin", 0, 0},
    {"left_edge", -1, 1},
    {"right_edge", 4, 1},
    {"top_edge", 1, -1},
    {"bottom_edge", 1, 4},
    {"top_left_corner", -2, -1},
    {"top_right_corner", 5, -1},
    {"bottom_left_corner", -2, 4},
    {"bottom_right_corner", 5, 4},
    {"off_left", -3, 1},
    {"off_right", 6, 1},
    {"off_top", 1, -2},
    {"off_bottom", 1, 5},
    {"int_min", INT_MIN, INT_MIN},
    {"int_max", INT_MAX, INT_MAX},
    {"int_min_x", INT_MIN, 0},
    {"int_max_y", 0, INT_MAX},
    {"larger_both_axes", -1, -2, 9, 8},
    {"larger_exact", 0, 0, 6, 5},
    {"wide_row", -5, 2, 40, 1},  // longer than a vector, with a tail
};

class BlitPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(BlitPlacement, WritesExactlyTheClippedPixelsAndReportsTheRows) {
    const Placement& p = GetParam();
    const Image src = numbered(p.src_w, p.src_h);
    for (PutMode mode : {PutMode::opaque, PutMode::transparent}) {
        SCOPED_TRACE(mode == PutMode::opaque ? "opaque" : "transparent");
        Image dst = filled(6, 5, background);
        RowSpan expected_rows;
        const Image expected = reference_blit(dst, p.x, p.y, src, mode, expected_rows);
        const RowSpan rows = blit(dst, p.x, p.y, src, mode);
        EXPECT_TRUE(same_pixels(expected, dst));
        EXPECT_EQ(rows.empty(), expected_rows.empty());
        if (!expected_rows.empty()) {
            EXPECT_EQ(rows.first_row, expected_rows.first_row);
            EXPECT_EQ(rows.last_row, expected_rows.last_row);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BlitPlacement, ::testing::ValuesIn(placements),
                         [](const auto& test) { return std::string(test.param.name); });

// Hand-checked spots, independent of the reference.
TEST(Blit, NegativeXShiftsTheSource) {
    Image dst = filled(4, 1, background);
    const Image src = numbered(5, 1);
    const RowSpan rows = blit(dst, -3, 0, src, PutMode::opaque);
    EXPECT_EQ(hex(dst.at(0, 0)), hex(src.at(3, 0)));
    EXPECT_EQ(hex(dst.at(1, 0)), hex(src.at(4, 0)));
    EXPECT_EQ(hex(dst.at(2, 0)), hex(background));
    EXPECT_EQ(rows.first_row, 0);
    EXPECT_EQ(rows.last_row, 0);
}

TEST(Blit, RowsReturnedAreTheDestinationRows) {
    Image dst = filled(4, 10, background);
    const RowSpan rows = blit(dst, 1, 7, numbered(2, 5), PutMode::opaque);
    EXPECT_EQ(rows.first_row, 7);
    EXPECT_EQ(rows.last_row, 9);
    const RowSpan above = blit(dst, 0, -4, numbered(2, 5), PutMode::transparent);
    EXPECT_EQ(above.first_row, 0);
    EXPECT_EQ(above.last_row, 0);
}

TEST(Blit, OffTheDestinationDrawsNothing) {
    Image dst = filled(4, 3, background);
    for (auto [x, y] : {std::pair{4, 0}, {-2, 0}, {0, 3}, {0, -1}, {INT_MAX, 0}, {INT_MIN, 0}}) {
        EXPECT_TRUE(blit(dst, x, y, numbered(2, 1), PutMode::opaque).empty()) << x << "," << y;
    }
    EXPECT_TRUE(same_pixels(filled(4, 3, background), dst));
    Image empty;
    EXPECT_TRUE(blit(empty, 0, 0, numbered(2, 1), PutMode::opaque).empty());
    EXPECT_TRUE(blit(dst, 0, 0, Image{}, PutMode::transparent).empty());
}

TEST(Blit, TransparentSkipsTheKeyWhateverItsTopByteAndClearsTheTopByteOfTheRest) {
    struct Case {
        Pixel source;
        Pixel written;  // background when skipped
    };
    const Case cases[] = {
        {0xFFFF00FF, background},                            // the key, opaque
        {0x00FF00FF, background},                            // the key, top byte clear
        {0x7FFF00FF, background}, {0xFFFE00FF, 0x00FE00FF},  // near the key: drawn
        {0xFFFF01FF, 0x00FF01FF}, {0xFFFF00FE, 0x00FF00FE}, {0xFF123456, 0x00123456},
        {0x00000000, 0x00000000}, {0xFFFFFFFF, 0x00FFFFFF},
    };
    // All in one row, and the row repeated to a length that uses the vector path and a tail.
    const int n = static_cast<int>(std::size(cases));
    const int width = n * 5;
    Image src = filled(width, 1, 0);
    Image expected = filled(width, 1, 0);
    for (int i = 0; i < width; ++i) {
        src.at(i, 0) = cases[i % n].source;
        expected.at(i, 0) = cases[i % n].written;
    }
    Image dst = filled(width, 1, background);
    blit(dst, 0, 0, src, PutMode::transparent);
    EXPECT_TRUE(same_pixels(expected, dst));
}

TEST(Blit, OpaqueCopiesEveryPixelUnchanged) {
    Image src = filled(3, 1, 0);
    src.pixels = {0xFFFF00FF, 0x00FF00FF, 0x80123456};
    Image dst = filled(3, 1, background);
    blit(dst, 0, 0, src, PutMode::opaque);
    EXPECT_TRUE(same_pixels(src, dst));
}

TEST(ClipBlit, ExtremePositionsClipWithoutOverflow) {
    struct Case {
        int x, y, src_w, src_h;
        gfx::ClippedBlit expected;
    };
    const Case cases[] = {
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, {}},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, {}},
        // From INT_MIN + 1 an INT_MAX-wide source reaches exactly to column 0.
        {INT_MIN + 1, 0, INT_MAX, 1, {}},
        {INT_MIN + 2, 0, INT_MAX, 1, {INT_MAX - 1, 0, 0, 0, 1, 1}},
        {-INT_MAX, -INT_MAX, INT_MAX, INT_MAX, {}},
        {-(INT_MAX - 3), 0, INT_MAX, 1, {INT_MAX - 3, 0, 0, 0, 3, 1}},
        {2, 1, INT_MAX, INT_MAX, {0, 0, 2, 1, 8, 5}},
        {-5, -5, INT_MAX, INT_MAX, {5, 5, 0, 0, 10, 6}},
        {3, 3, 0, 5, {}},
        {3, 3, -4, 5, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " " << c.src_w << "x" << c.src_h);
        const gfx::ClippedBlit r = clip_blit(10, 6, c.x, c.y, c.src_w, c.src_h);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
        if (c.expected.width > 0) {
            EXPECT_EQ(r.src_x, c.expected.src_x);
            EXPECT_EQ(r.src_y, c.expected.src_y);
            EXPECT_EQ(r.dst_x, c.expected.dst_x);
            EXPECT_EQ(r.dst_y, c.expected.dst_y);
        }
    }
}

}  // namespace
}  // namespace gfx_test
