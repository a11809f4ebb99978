#include "gfx/bit_fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/bmp_decode.h"
#include "tests/gfx_core/pixel_compare.h"
#include "tests/support/bmp_writer.h"

namespace gfx_test {
namespace {

// A field's values and what they scale to, worked out by hand: round(v * 255 / (2^bits - 1)).
struct ScaleCase {
    const char* name;
    std::uint32_t mask;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> value_scaled;  // field value, 0-255
};

const ScaleCase scale_cases[] = {
    {"one_bit", 0x00000001, {{0, 0}, {1, 255}}},
    {"one_bit_top", 0x80000000, {{0, 0}, {1, 255}}},
    {"two_bits", 0x0000000C, {{0, 0}, {1, 85}, {2, 170}, {3, 255}}},
    {"five_bits", 0x00007C00, {{0, 0}, {1, 8}, {15, 123}, {16, 132}, {31, 255}}},
    {"six_bits", 0x000007E0, {{0, 0}, {1, 4}, {31, 125}, {32, 130}, {63, 255}}},
    {"eight_bits", 0x0000FF00, {{0, 0}, {1, 1}, {128, 128}, {255, 255}}},
    {"eight_bits_top", 0xFF000000, {{0, 0}, {127, 127}, {255, 255}}},
    {"ten_bits", 0x3FF00000, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {511, 127}, {1023, 255}}},
    {"sixteen_bits", 0xFFFF0000, {{0, 0}, {128, 0}, {129, 1}, {32768, 128}, {65535, 255}}},
    {"thirty_two_bits",
     0xFFFFFFFF,
     {{0, 0}, {8421504, 0}, {8421505, 1}, {0x80000000, 128}, {0xFFFFFFFF, 255}}},
};

TEST(BitFields, FieldsOfEveryWidthScaleToTheFullRange) {
    for (const ScaleCase& c : scale_cases) {
        SCOPED_TRACE(c.name);
        const auto field = gfx::make_bit_field(c.mask);
        ASSERT_TRUE(field.has_value());
        for (const auto& [value, scaled] : c.value_scaled) {
            const int shift = field->shift;
            EXPECT_EQ(gfx::scale_field(*field, value << shift), scaled) << "value " << value;
            // Bits outside the mask do not leak in.
            EXPECT_EQ(gfx::scale_field(*field, (value << shift) | ~c.mask), scaled);
        }
    }
}

TEST(BitFields, ZeroMaskGivesZero) {
    const auto field = gfx::make_bit_field(0);
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(gfx::scale_field(*field, 0xFFFFFFFF), 0u);
}

TEST(BitFields, NonContiguousMasksAreRefused) {
    for (std::uint32_t mask : {0x00000005u, 0x80000001u, 0x0F0F0000u, 0xFFFFFFFEu ^ 0x10u}) {
        EXPECT_FALSE(gfx::make_bit_field(mask).has_value()) << hex(mask);
    }
}

// The same scaling seen through whole files: 16- and 32-bit pixels with odd masks, including
// zero masks, a mask at the top bit, and 16-bit masks with bits above the pixel.
TEST(BitFields, FilesDecodeWithTheirMasks) {
    struct Case {
        const char* name;
        std::uint32_t header_size;
        std::uint16_t bits;
        std::uint32_t r, g, b, a;
        std::uint32_t stored;
        gfx::Pixel expected;
    };
    const Case cases[] = {
        {"565_white", 40, 16, 0xF800, 0x07E0, 0x001F, 0, 0xFFFF, 0xFFFFFFFF},
        {"565_mid", 40, 16, 0xF800, 0x07E0, 0x001F, 0, 0x8410, 0xFF848284},
        {"444_with_4_bit_alpha", 108, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, 0x7F80, 0x77FF8800},
        {"blue_only", 40, 16, 0, 0, 0x001F, 0, 0xFFFF, 0xFF0000FF},
        {"all_zero_masks", 40, 32, 0, 0, 0, 0, 0xFFFFFFFF, 0xFF000000},
        {"one_bit_red_at_top", 40, 32, 0x80000000, 0x00FF0000, 0, 0, 0x80FF0000, 0xFFFFFF00},
        {"mask_above_16_bits_cut", 40, 16, 0xFFFF0000, 0x0000001F, 0, 0, 0xFFFF, 0xFF00FF00},
        {"ten_ten_ten_two_alpha", 124, 32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000,
         0x7FF003FF, 0x55FF00FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bmp_test::BmpDescription d;
        d.header_size = c.header_size;
        d.bits_per_pixel = c.bits;
        d.compression = 3;
        d.red_mask = c.r;
        d.green_mask = c.g;
        d.blue_mask = c.b;
        d.alpha_mask = c.a;
        d.pixels = {c.stored};
        gfx::Image image = filled(1, 1, 0x12345678);
        EXPECT_EQ(gfx::decode_bmp(bmp_test::build(d), image), gfx::LoadResult::ok);
        EXPECT_EQ(hex(image.at(0, 0)), hex(c.expected));
    }
}

}  // namespace
}  // namespace gfx_test
