#include "bench/bench_pictures.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace bench {

gfx::Image make_background() {
    gfx::Image image = *gfx::make_image(background_w, background_h);
    for (int y = 0; y < background_h; ++y) {
        for (int x = 0; x < background_w; ++x) {
            const auto r = static_cast<std::uint32_t>(x * 255 / background_w);
            const auto g = static_cast<std::uint32_t>(y * 255 / background_h);
            const auto b = static_cast<std::uint32_t>((x / 16 + y / 16) % 2 ? 200 : 40);
            image.at(x, y) = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    return image;
}

gfx::Image make_sprite() {
    gfx::Image image = *gfx::make_image(sprite_w, sprite_h, 0xFFFF00FF);
    const double cx = sprite_w / 2.0, cy = sprite_h / 2.0;
    for (int y = 0; y < sprite_h; ++y) {
        for (int x = 0; x < sprite_w; ++x) {
            const double dx = (x + 0.5 - cx) / cx, dy = (y + 0.5 - cy) / cy;
            if (dx * dx + dy * dy <= 1.0) {
                image.at(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x * 2) << 16 |
                                 static_cast<std::uint32_t>(y * 3) << 8 | 0x80u;
            }
        }
    }
    return image;
}

Surface make_surface(const gfx::Image& image) {
    Surface s(
        SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!s) throw std::runtime_error(SDL_GetError());
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch,
                    &image.pixels[static_cast<std::size_t>(y * image.width)],
                    static_cast<std::size_t>(image.width) * sizeof(gfx::Pixel));
    }
    return s;
}

}  // namespace bench
