#include "assets/art/bmp24_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/assets/bmp24_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The headers we expect, written out field by field.
Bytes headers(std::uint32_t width, std::uint32_t height, std::uint32_t pixel_bytes) {
    Bytes b = {'B', 'M'};
    put32(b, 54 + pixel_bytes);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, width);
    put32(b, height);
    b.insert(b.end(), {1, 0, 24, 0});
    put32(b, 0);
    put32(b, pixel_bytes);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    return b;
}

art::Canvas canvas_of(int width, int height, std::vector<art::Colour> pixels) {
    art::Canvas c = art::make_grid<art::Colour>(width, height, 0);
    c.cells = std::move(pixels);
    return c;
}

std::string first_difference(const Bytes& expected, const Bytes& actual) {
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        if (expected[i] != actual[i]) {
            return "byte " + std::to_string(i) + " is " + std::to_string(actual[i]) +
                   ", expected " + std::to_string(expected[i]);
        }
    }
    if (expected.size() != actual.size()) {
        return std::to_string(actual.size()) + " bytes, expected " +
               std::to_string(expected.size());
    }
    return {};
}

TEST(Bmp24Writer, OnePixelIsBlueGreenRedThenPadding) {
    Bytes expected = headers(1, 1, 4);
    expected.insert(expected.end(), {0x56, 0x34, 0x12, 0});
    EXPECT_EQ(first_difference(expected, art::encode_bmp24(canvas_of(1, 1, {0x123456}))), "");
}

TEST(Bmp24Writer, RowsAreStoredBottomUpAndPaddedToFourBytes) {
    // Top row red, green; bottom row blue, white. Each row is 6 bytes plus 2 of padding.
    Bytes expected = headers(2, 2, 16);
    expected.insert(expected.end(), {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,  // bottom row first
                                     0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    const art::Canvas canvas = canvas_of(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    EXPECT_EQ(first_difference(expected, art::encode_bmp24(canvas)), "");
}

TEST(Bmp24Writer, EveryWidthGivesTheExactFormat) {
    // Widths 1 to 5 need 1, 2, 3, 0 and 1 padding bytes; 427 and 112 are the real pictures.
    const struct {
        int width;
        int height;
        std::size_t stride;
    } cases[] = {{1, 3, 4},  {2, 1, 8},      {3, 2, 12},    {4, 2, 12},
                 {5, 1, 16}, {427, 2, 1284}, {112, 79, 336}};
    for (const auto& c : cases) {
        std::vector<art::Colour> pixels;
        for (int i = 0; i < c.width * c.height; ++i) {
            pixels.push_back(static_cast<art::Colour>(i * 0x010203) & 0xFFFFFF);
        }
        const art::Canvas canvas = canvas_of(c.width, c.height, pixels);
        const Bytes bytes = art::encode_bmp24(canvas);
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(bytes.size(), 54 + c.stride * static_cast<std::size_t>(c.height));
        EXPECT_EQ(art_test::format_fault(bytes), "");
        const auto back = art_test::decode(bytes);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->cells, canvas.cells);
    }
}

TEST(Bmp24Writer, CanvasWithoutPixelsGivesNoFile) {
    EXPECT_TRUE(art::encode_bmp24(canvas_of(0, 0, {})).empty());
    EXPECT_TRUE(art::encode_bmp24(canvas_of(2, 0, {})).empty());
    EXPECT_TRUE(art::encode_bmp24(canvas_of(2, 2, {1, 2, 3})).empty());  // cells missing
}

TEST(Bmp24Writer, WriteFileFailsWhereNoFileCanBeMade) {
    EXPECT_FALSE(art::write_file(testing::TempDir() + "/no/such/directory/x.bmp", {1, 2, 3}));
    const std::string path = testing::TempDir() + "/bmp24_writer_test.bin";
    ASSERT_TRUE(art::write_file(path, {1, 2, 3}));
    EXPECT_EQ(art_test::read_file(path), (Bytes{1, 2, 3}));
}

}  // namespace
