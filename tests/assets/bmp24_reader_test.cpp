// The format check the committed files go through must reject each way a file can be wrong.
#include "tests/assets/bmp24_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "assets/art/bmp24_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes good_file() {
    art::Canvas c = art::make_grid<art::Colour>(3, 2, 0x102030);
    return art::encode_bmp24(c);  // 3 pixels need 3 padding bytes a row
}

void poke32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(Bmp24Format, GoodFileDecodes) {
    const Bytes bytes = good_file();
    EXPECT_EQ(art_test::format_fault(bytes), "");
    const auto picture = art_test::decode(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(art::get(*picture, 2, 1), 0x102030u);
}

TEST(Bmp24Format, EachWrongFieldIsNamed) {
    const struct {
        const char* name;
        void (*damage)(Bytes&);
        const char* expected;
    } cases[] = {
        {"signature", [](Bytes& b) { b[1] = 'A'; }, "no 54-byte header starting with BM"},
        {"too short", [](Bytes& b) { b.resize(53); }, "no 54-byte header starting with BM"},
        {"offset", [](Bytes& b) { poke32(b, 10, 56); }, "pixel data offset 56"},
        {"info header", [](Bytes& b) { poke32(b, 14, 108); }, "info header size 108"},
        {"planes", [](Bytes& b) { b[26] = 2; }, "planes 2"},
        {"depth", [](Bytes& b) { b[28] = 32; }, "bits per pixel 32"},
        {"compression", [](Bytes& b) { poke32(b, 30, 1); }, "compression 1"},
        {"colours used", [](Bytes& b) { poke32(b, 46, 16); }, "colours used 16"},
        {"top-down rows", [](Bytes& b) { poke32(b, 22, static_cast<std::uint32_t>(-2)); },
         "height -2 (rows must be bottom-up)"},
        {"file size field", [](Bytes& b) { poke32(b, 2, 100); },
         "file size field 100, expected 78"},
        {"truncated rows", [](Bytes& b) { b.pop_back(); }, "file is 77 bytes, expected 78"},
        {"padding", [](Bytes& b) { b[54 + 10] = 7; }, "padding byte not zero"},
    };
    for (const auto& c : cases) {
        Bytes bytes = good_file();
        c.damage(bytes);
        EXPECT_EQ(art_test::format_fault(bytes), c.expected) << c.name;
        EXPECT_FALSE(art_test::decode(bytes).has_value()) << c.name;
    }
}

}  // namespace
