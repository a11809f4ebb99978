// The BMP files in assets/ are what the generator draws today, byte for byte, in the exact
// format the animation loads.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/art/background_art.h"
#include "assets/art/bmp24_writer.h"
#include "assets/art/unicorn_art.h"
#include "tests/assets/bmp24_reader.h"
#include "tests/assets/picture_checks.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
    const char* file;
    int width;
    int height;
    art::Canvas (*draw)();
};

const Picture pictures[] = {
    {"background.bmp", 427, 160, art::draw_background},
    {"unicorn1.bmp", 112, 79, [] { return art::draw_unicorn(0); }},
    {"unicorn2.bmp", 112, 79, [] { return art::draw_unicorn(1); }},
};

std::string committed(const char* file) {
    return std::string(UNICORN_ASSETS_DIR) + "/" + file;
}

// Where two files first differ, in bytes and, past the headers, in pixels.
std::string first_difference(const Bytes& expected, const Bytes& actual, int width) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        if (expected[i] == actual[i]) continue;
        std::string where = "byte offset " + std::to_string(i);
        if (i >= 54) {
            where += " (stored row " + std::to_string((i - 54) / stride) + ", column " +
                     std::to_string((i - 54) % stride / 3) + ")";
        }
        return where + ": " + std::to_string(actual[i]) + ", drawn " + std::to_string(expected[i]);
    }
    if (expected.size() != actual.size()) {
        return std::to_string(actual.size()) + " bytes, drawn " + std::to_string(expected.size());
    }
    return {};
}

TEST(CommittedArt, FilesAreInTheExactFormat) {
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.file);
        const auto bytes = art_test::read_file(committed(p.file));
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(art_test::format_fault(*bytes), "");
        const auto header = art_test::read_header(*bytes);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->width, p.width);
        EXPECT_EQ(header->height, p.height);
        EXPECT_EQ(header->x_pixels_per_metre, 2835);
        EXPECT_EQ(header->y_pixels_per_metre, 2835);
    }
}

TEST(CommittedArt, FilesMatchWhatTheGeneratorDraws) {
    for (const Picture& p : pictures) {
        const auto bytes = art_test::read_file(committed(p.file));
        ASSERT_TRUE(bytes.has_value()) << p.file;
        const art::Canvas drawn = p.draw();
        EXPECT_EQ(first_difference(art::encode_bmp24(drawn), *bytes, p.width), "")
            << "assets/" << p.file << " is stale: rebuild the target regenerate_art";
        // The same, read back as pixels (top row first) through a reader of our own.
        const auto picture = art_test::decode(*bytes);
        ASSERT_TRUE(picture.has_value()) << p.file;
        EXPECT_EQ(art_test::difference(drawn, *picture), "") << p.file;
    }
}

TEST(CommittedArt, DrawArtWritesTheSameFiles) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "draw_art_output";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string command =
        std::string("\"") + UNICORN_DRAW_ART + "\" \"" + dir.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const Picture& p : pictures) {
        const auto written = art_test::read_file((dir / p.file).string());
        const auto expected = art_test::read_file(committed(p.file));
        ASSERT_TRUE(written.has_value()) << p.file;
        ASSERT_TRUE(expected.has_value()) << p.file;
        EXPECT_EQ(first_difference(*expected, *written, p.width), "") << p.file;
    }
    std::filesystem::remove_all(dir);
}

TEST(CommittedArt, DrawArtFailsWithoutAWritableDirectory) {
    const std::string missing = testing::TempDir() + "/no/such/dir";
    for (const std::string& args : {std::string(), "\"" + missing + "\""}) {
        const std::string command =
            std::string("\"") + UNICORN_DRAW_ART + "\" " + args + " 2>/dev/null";
        EXPECT_NE(std::system(command.c_str()), 0) << command;
    }
}

}  // namespace
