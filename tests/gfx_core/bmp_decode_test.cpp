#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "gfx/bmp_decode.h"
#include "tests/gfx_core/bmp_fixtures.h"
#include "tests/gfx_core/pixel_compare.h"
#include "tests/support/bmp_writer.h"

namespace gfx_test {
namespace {

using gfx::decode_bmp;
using gfx::Image;

// `base` with the picture's top-left min(w) x min(h) corner replaced by `colours`.
Image with_picture(Image base, const std::vector<Pixel>& colours, int width, int height) {
    for (int y = 0; y < std::min(height, base.height); ++y) {
        for (int x = 0; x < std::min(width, base.width); ++x) {
            base.at(x, y) = colours[static_cast<std::size_t>(y * width + x)];
        }
    }
    return base;
}

class ValidBmp : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ValidBmp, DecodesIntoImagesOfEverySize) {
    const ValidCase& c = GetParam();
    const auto bytes = bmp_test::build(c.description);
    const int w = c.description.width;
    const int h = c.description.height;
    // Exactly the picture's size, larger (the rest keeps its pixels), smaller (cut off).
    const std::pair<int, int> sizes[] = {{w, h}, {w + 3, h + 2}, {std::max(1, w - 1), h - 1}};
    for (const auto& [iw, ih] : sizes) {
        SCOPED_TRACE(::testing::Message() << "image " << iw << "x" << ih);
        Image image = filled(iw, ih, fill_colour);
        EXPECT_EQ(decode_bmp(bytes, image), LoadResult::ok);
        EXPECT_TRUE(same_pixels(with_picture(filled(iw, ih, fill_colour), c.colours, w, h), image));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ValidBmp, ::testing::ValuesIn(valid_cases()),
                         [](const auto& test) { return test.param.name; });

class DamagedBmp : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedBmp, GivesItsResultAndConvertsOnlyRowsBeforeTheFault) {
    const DamagedCase& c = GetParam();
    Image expected = filled(c.image_w, c.image_h, fill_colour);
    const int pw = c.picture.description.width;
    for (int row : c.converted_rows) {
        for (int x = 0; x < std::min(pw, c.image_w); ++x) {
            expected.at(x, row) = c.picture.colours[static_cast<std::size_t>(row * pw + x)];
        }
    }
    Image image = filled(c.image_w, c.image_h, fill_colour);
    EXPECT_EQ(decode_bmp(c.bytes, image), c.result);
    EXPECT_TRUE(same_pixels(expected, image));
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedBmp, ::testing::ValuesIn(damaged_cases()),
                         [](const auto& test) { return test.param.name; });

// An index past the file's palette reads no further than the palette and shows opaque black.
TEST(BmpPalette, IndexPastThePaletteIsOpaqueBlack) {
    struct Case {
        std::uint16_t bits;
        std::uint32_t colours_used;
        std::vector<std::uint32_t> indices;  // one row
        std::vector<Pixel> expected;
    };
    const Case cases[] = {
        {8, 2, {0, 1, 2, 255}, {0xFF112233, 0xFF445566, 0xFF000000, 0xFF000000}},
        {4, 2, {1, 15, 0, 3}, {0xFF445566, 0xFF000000, 0xFF112233, 0xFF000000}},
        {1, 1, {0, 1, 1, 0}, {0xFF112233, 0xFF000000, 0xFF000000, 0xFF112233}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bits << " bits");
        bmp_test::BmpDescription d;
        d.bits_per_pixel = c.bits;
        d.width = 4;
        d.colours_used = c.colours_used;
        d.palette = {0x112233, 0x445566};
        d.palette.resize(c.colours_used);
        d.pixels = c.indices;
        // The file ends right after the row: a read past the palette would find pixel bytes.
        Image image = filled(4, 1, fill_colour);
        EXPECT_EQ(decode_bmp(bmp_test::build(d), image), LoadResult::ok);
        Image expected = filled(4, 1, 0);
        expected.pixels = c.expected;
        EXPECT_TRUE(same_pixels(expected, image));
    }
}

// Colours-used beyond 2^bits is cut to 2^bits: only those entries need be in the file.
TEST(BmpPalette, ColoursUsedAboveTheDepthIsCutToIt) {
    bmp_test::BmpDescription d;
    d.bits_per_pixel = 1;
    d.width = 2;
    d.colours_used = 0xFFFFFFFF;
    d.palette = {0x0000FF, 0xFF0000};
    d.pixels = {1, 0};
    Image image = filled(2, 1, fill_colour);
    EXPECT_EQ(decode_bmp(bmp_test::build(d), image), LoadResult::ok);
    Image expected = filled(2, 1, 0);
    expected.pixels = {0xFFFF0000, 0xFF0000FF};
    EXPECT_TRUE(same_pixels(expected, image));
}

// Alpha comes only from a non-zero alpha mask in a 108+ header, whatever the compression.
TEST(BmpAlpha, OnlyANonZeroHeaderAlphaMaskSuppliesTheTopByte) {
    struct Case {
        const char* name;
        std::uint32_t header_size;
        std::uint32_t compression;
        std::uint32_t alpha_mask;
        Pixel expected;  // for the stored value 0x80A1B2C3
    };
    const Case cases[] = {
        {"v4_fields_alpha", 108, 3, 0xFF000000, 0x80A1B2C3},
        {"v5_fields_alpha", 124, 3, 0xFF000000, 0x80A1B2C3},
        {"v4_plain_alpha", 108, 0, 0xFF000000, 0x80A1B2C3},
        {"v4_fields_no_alpha", 108, 3, 0, 0xFFA1B2C3},
        {"v4_one_bit_alpha", 108, 3, 0x80000000, 0xFFA1B2C3},
        {"info_fields", 40, 3, 0xFF000000, 0xFFA1B2C3},  // masks after a 40-byte header: 3
        {"info_plain", 40, 0, 0, 0xFFA1B2C3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bmp_test::BmpDescription d;
        d.header_size = c.header_size;
        d.bits_per_pixel = 32;
        d.compression = c.compression;
        d.red_mask = 0x00FF0000;
        d.green_mask = 0x0000FF00;
        d.blue_mask = 0x000000FF;
        d.alpha_mask = c.alpha_mask;
        d.pixels = {0x80A1B2C3};
        Image image = filled(1, 1, fill_colour);
        EXPECT_EQ(decode_bmp(bmp_test::build(d), image), LoadResult::ok);
        EXPECT_EQ(hex(image.at(0, 0)), hex(c.expected));
    }
}

// Variants at the edges of what is accepted decode like their plain twins.
TEST(BmpAccepted, EdgeVariantsDecode) {
    struct Case {
        const char* name;
        std::uint32_t header_size;
        Depth depth;
        std::uint16_t planes;
    };
    const Case cases[] = {
        {"planes_zero", 40, Depth::rgb24, 0},
        {"core_planes_zero", 12, Depth::index4, 0},
        {"header_140_bit_fields", 140, Depth::rgb565, 1},
        {"header_200_alpha", 200, Depth::argb32, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ValidCase v;
        ASSERT_TRUE(make_valid(c.header_size, c.depth, false, 3, 2, v));
        v.description.planes = c.planes;
        Image image = filled(3, 2, fill_colour);
        EXPECT_EQ(decode_bmp(bmp_test::build(v.description), image), LoadResult::ok);
        EXPECT_TRUE(same_pixels(with_picture(filled(3, 2, 0), v.colours, 3, 2), image));
    }
}

// Row padding bytes are not pixels: junk in them changes nothing.
TEST(BmpRows, PaddingBytesAreIgnored) {
    for (int bits : {1, 4, 8, 16, 24}) {
        SCOPED_TRACE(::testing::Message() << bits << " bits");
        ValidCase c;
        const Depth depth = bits == 1    ? Depth::index1
                            : bits == 4  ? Depth::index4
                            : bits == 8  ? Depth::index8
                            : bits == 16 ? Depth::rgb555
                                         : Depth::rgb24;
        ASSERT_TRUE(make_valid(40, depth, false, 3, 2, c));
        c.description.row_padding_byte = 0xFF;
        Image image = filled(3, 2, fill_colour);
        EXPECT_EQ(decode_bmp(bmp_test::build(c.description), image), LoadResult::ok);
        EXPECT_TRUE(same_pixels(with_picture(filled(3, 2, 0), c.colours, 3, 2), image));
    }
}

// A picture wider and taller than anything stored: the image's own size bounds the work, and an
// empty image is never written.
TEST(BmpBounds, EmptyImageIsLeftAlone) {
    const auto bytes = bmp_test::bmp24(2, 2, {1, 2, 3, 4});
    Image empty;
    EXPECT_EQ(decode_bmp(bytes, empty), LoadResult::ok);
    EXPECT_TRUE(empty.pixels.empty());
}

TEST(BmpBounds, EmptyInputIsBad) {
    Image image = filled(2, 2, fill_colour);
    EXPECT_EQ(decode_bmp({}, image), LoadResult::bad_bitmap);
    EXPECT_TRUE(same_pixels(filled(2, 2, fill_colour), image));
}

}  // namespace
}  // namespace gfx_test
