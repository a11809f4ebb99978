#pragma once

// A temporary working directory for one test, holding whichever bitmaps the test writes;
// the previous working directory comes back when it goes.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/bmp_writer.h"

namespace app_test {

// Distinct, easy to recognise pictures: every background pixel has its own colour (x in the
// upper bits, y in the blue byte, never the mask colour), and each sprite frame is a solid block
// with a mask-coloured border and a mask-coloured hole in the middle.
inline std::uint32_t background_colour(int x, int y) {
    return static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(y);
}

inline std::vector<std::uint32_t> background_picture(int width, int height) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(background_colour(x, y));
    return pixels;
}

inline std::uint32_t sprite_colour(int frame, int x, int y) {
    const bool mask =
        x < 3 || y < 2 || x >= 109 || y >= 77 || (x >= 50 && x < 60 && y >= 30 && y < 40);
    if (mask) return 0xFF00FF;
    return frame == 1 ? 0x10A020u + static_cast<std::uint32_t>(x)
                      : 0x2030B0u + static_cast<std::uint32_t>(y);
}

inline std::vector<std::uint32_t> sprite_picture(int frame) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 79; ++y)
        for (int x = 0; x < 112; ++x)
            pixels.push_back(sprite_colour(frame, x, y));
    return pixels;
}

class TempArtDir {
  public:
    TempArtDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "unicorn-art-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~TempArtDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempArtDir(const TempArtDir&) = delete;
    TempArtDir& operator=(const TempArtDir&) = delete;

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(path_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    void write_default_art() const {
        write("background.bmp", bmp_test::bmp24(427, 160, background_picture(427, 160)));
        write("unicorn1.bmp", bmp_test::bmp24(112, 79, sprite_picture(1)));
        write("unicorn2.bmp", bmp_test::bmp24(112, 79, sprite_picture(2)));
    }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace app_test
