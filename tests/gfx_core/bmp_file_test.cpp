#include "gfx/bmp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/gfx_core/pixel_compare.h"
#include "tests/support/bmp_writer.h"

namespace gfx_test {
namespace {

using gfx::load_bmp_file;
using gfx::LoadResult;

constexpr gfx::Pixel fill = 0x12345678;

// A fresh directory, removed with everything in it at the end.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "bmp_file_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string write(const char* name, const std::vector<std::uint8_t>& bytes) const {
        const auto file = path / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
};

const std::vector<std::uint32_t> picture = {0xFF0000, 0x00FF00, 0x0000FF,
                                            0x123456, 0xFFFFFF, 0x000000};

gfx::Image picture_image() {
    gfx::Image expected = filled(3, 2, 0);
    for (std::size_t i = 0; i < picture.size(); ++i)
        expected.pixels[i] = 0xFF000000 | picture[i];
    return expected;
}

TEST(LoadBmpFile, NullOrMissingNameCannotOpenAndLeavesTheImage) {
    TempDir dir;
    gfx::Image image = filled(3, 2, fill);
    EXPECT_EQ(load_bmp_file(nullptr, &image), LoadResult::cannot_open);
    EXPECT_EQ(load_bmp_file((dir.path / "missing.bmp").c_str(), &image), LoadResult::cannot_open);
    EXPECT_EQ(load_bmp_file("", &image), LoadResult::cannot_open);
    EXPECT_TRUE(same_pixels(filled(3, 2, fill), image));
}

TEST(LoadBmpFile, RegularFileDecodes) {
    TempDir dir;
    const std::string name = dir.write("picture.bmp", bmp_test::bmp24(3, 2, picture));
    gfx::Image image = filled(3, 2, fill);
    EXPECT_EQ(load_bmp_file(name.c_str(), &image), LoadResult::ok);
    EXPECT_TRUE(same_pixels(picture_image(), image));
}

TEST(LoadBmpFile, TruncatedFileKeepsTheRowsRead) {
    TempDir dir;
    const auto bytes = bmp_test::bmp24(3, 2, picture);
    const std::string name = dir.write("cut.bmp", bmp_test::truncated(bytes, bytes.size() - 1));
    gfx::Image image = filled(3, 2, fill);
    EXPECT_EQ(load_bmp_file(name.c_str(), &image), LoadResult::bad_bitmap);
    gfx::Image expected = picture_image();
    for (int x = 0; x < 3; ++x)
        expected.at(x, 0) = fill;  // the top row is stored last
    EXPECT_TRUE(same_pixels(expected, image));
}

TEST(LoadBmpFile, EmptyFileIsBadAndDirectoryCannotOpen) {
    TempDir dir;
    const std::string empty = dir.write("empty.bmp", {});
    gfx::Image image = filled(3, 2, fill);
    EXPECT_EQ(load_bmp_file(empty.c_str(), &image), LoadResult::bad_bitmap);
    EXPECT_EQ(load_bmp_file(dir.path.c_str(), &image), LoadResult::cannot_open);
    EXPECT_TRUE(same_pixels(filled(3, 2, fill), image));
}

TEST(LoadBmpFile, NullImageIsBadOnceTheFileOpens) {
    TempDir dir;
    const std::string name = dir.write("picture.bmp", bmp_test::bmp24(3, 2, picture));
    EXPECT_EQ(load_bmp_file(name.c_str(), nullptr), LoadResult::bad_bitmap);
    EXPECT_EQ(load_bmp_file((dir.path / "missing.bmp").c_str(), nullptr), LoadResult::cannot_open);
}

// A pipe has no size to map: it is read as a stream, up to the cap.
TEST(LoadBmpFile, PipeIsReadAsAStream) {
    TempDir dir;
    const std::string fifo = (dir.path / "fifo.bmp").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto bytes = bmp_test::bmp24(3, 2, picture);
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        if (fd < 0) return;
        // In two pieces, so the reader must go on after a short read.
        const auto half = static_cast<std::size_t>(bytes.size() / 2);
        if (::write(fd, bytes.data(), half) < 0) ADD_FAILURE() << "write";
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (::write(fd, bytes.data() + half, bytes.size() - half) < 0) ADD_FAILURE() << "write";
        ::close(fd);
    });
    gfx::Image image = filled(3, 2, fill);
    EXPECT_EQ(load_bmp_file(fifo.c_str(), &image), LoadResult::ok);
    writer.join();
    EXPECT_TRUE(same_pixels(picture_image(), image));
}

}  // namespace
}  // namespace gfx_test
