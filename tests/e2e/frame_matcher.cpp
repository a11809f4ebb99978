#include "tests/e2e/frame_matcher.h"

#include <unistd.h>

#include <fstream>

#include "gfx/bmp_file.h"

namespace e2e {
namespace {

constexpr int width = 240, height = 160, period = 427;
int next_ppm_number = 0;

std::optional<gfx::Image> load(const std::filesystem::path& path, int w, int h) {
    auto image = gfx::make_image(w, h);
    if (!image || gfx::load_bmp_file(path.c_str(), image.get()) != gfx::LoadResult::ok) {
        return std::nullopt;
    }
    return std::move(*image);
}

std::uint32_t background_rgb(const Art& art, int scroll_x, int x, int y) {
    return art.background.at(((x - scroll_x) % period + period) % period, y) & 0xFFFFFF;
}

std::uint32_t composed_rgb(const Art& art, const ShownFrame& f, int x, int y) {
    const int sx = x - f.sprite_x, sy = y - f.sprite_y;
    const gfx::Image& sprite = art.sprite[f.sprite_frame - 1];
    if (sx >= 0 && sy >= 0 && sx < sprite.width && sy < sprite.height) {
        const std::uint32_t p = sprite.at(sx, sy) & 0xFFFFFF;
        if (p != 0xFF00FF) return p;
    }
    return background_rgb(art, f.scroll_x, x, y);
}

bool matches(const Art& art, const ShownFrame& f, const x11_test::WindowPixels& grab) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (grab.at(x, y) != composed_rgb(art, f, x, y)) return false;
        }
    }
    return true;
}

}  // namespace

std::optional<Art> load_art(const std::filesystem::path& directory) {
    auto background = load(directory / "background.bmp", period, height);
    auto sprite1 = load(directory / "unicorn1.bmp", 112, 79);
    auto sprite2 = load(directory / "unicorn2.bmp", 112, 79);
    if (!background || !sprite1 || !sprite2) return std::nullopt;
    return Art{std::move(*background), {std::move(*sprite1), std::move(*sprite2)}};
}

std::optional<ShownFrame> identify_frame(const Art& art, const x11_test::WindowPixels& grab) {
    if (grab.width != width || grab.height != height) return std::nullopt;
    // The sprite never reaches above row 40, so the rows above it tell the offset.
    for (int scroll_x = 0; scroll_x < period; ++scroll_x) {
        bool background_fits = true;
        for (int y = 0; y < 40 && background_fits; ++y) {
            for (int x = 0; x < width && background_fits; ++x) {
                background_fits = grab.at(x, y) == background_rgb(art, scroll_x, x, y);
            }
        }
        if (!background_fits) continue;
        for (int frame = 1; frame <= 2; ++frame) {
            for (int sprite_y = 40; sprite_y <= 100; sprite_y += 5) {
                for (int sprite_x = 0; sprite_x <= 130; sprite_x += 5) {
                    const ShownFrame candidate{scroll_x, frame, sprite_x, sprite_y};
                    if (matches(art, candidate, grab)) return candidate;
                }
            }
        }
    }
    return std::nullopt;
}

std::string write_ppm(const x11_test::WindowPixels& grab, const std::string& stem) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        (stem + "-" + std::to_string(getpid()) + "-" + std::to_string(next_ppm_number++) + ".ppm");
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << grab.width << " " << grab.height << "\n255\n";
    for (const std::uint32_t rgb : grab.rgb) {
        const char bytes[3] = {static_cast<char>(rgb >> 16), static_cast<char>(rgb >> 8),
                               static_cast<char>(rgb)};
        out.write(bytes, 3);
    }
    return path.string();
}

}  // namespace e2e
