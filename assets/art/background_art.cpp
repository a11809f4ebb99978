#include "assets/art/background_art.h"

#include <cstdint>

#include "assets/art/paint.h"
#include "assets/art/periodic.h"
#include "assets/art/shapes.h"

namespace art {

namespace {

constexpr int w = background_width;
constexpr int h = background_height;

// Sky colours from the top down to the hazy horizon.
struct SkyStop {
    int y;
    Colour colour;
};
constexpr SkyStop sky_stops[] = {{0, 0x4A86D4}, {55, 0x8FC4EE}, {95, 0xD9ECF3}, {118, 0xF6E9D7}};

constexpr Colour sun_core = 0xFFF8D8;
constexpr Colour sun_glow = 0xFFEFB0;
constexpr Colour cloud = 0xFFFFFF;
constexpr Colour cloud_shade = 0xDCE6F4;
constexpr Colour cloud_shadow = 0xC6D4EA;
constexpr Colour mountain_haze = 0xC9D3EC;
constexpr Colour snow = 0xF5F7FD;
constexpr Colour snow_shade = 0xD5DCF0;
constexpr Colour hill_top = 0x86C46A;
constexpr Colour hill_base = 0x69AA58;
constexpr Colour tree = 0x3F8550;
constexpr Colour tree_light = 0x5AA35C;
constexpr Colour meadow_edge = 0xB4E07E;
constexpr Colour meadow_top = 0x98D26C;
constexpr Colour meadow_bottom = 0x62AE4C;
constexpr Colour grass_dark = 0x4B9440;
constexpr Colour grass_light = 0xB9E68A;

struct RangeColours {
    Colour lit, dark, rim;
    int snow_line;  // snow above this row
    int haze_from;  // fading into the haze below this row
};

Colour sky_at(int y) {
    for (std::size_t i = 0; i + 1 < std::size(sky_stops); ++i) {
        const SkyStop& a = sky_stops[i];
        const SkyStop& b = sky_stops[i + 1];
        if (y <= b.y) return mix(a.colour, b.colour, y - a.y, b.y - a.y);
    }
    return sky_stops[std::size(sky_stops) - 1].colour;
}

int hill_ridge(int x) {
    const int lift =
        5 * wave_sin(2 * x + 90, w) + 3 * wave_sin(5 * x + 10, w) + 2 * wave_sin(11 * x + 200, w);
    return 104 - lift / 1024;
}

int meadow_ridge(int x) {
    return 120 - (2 * wave_sin(3 * x + 300, w) + wave_sin(8 * x, w)) / 1024;
}

void draw_sky(Canvas& canvas) {
    for (int y = 0; y < h; ++y) {
        const Colour c = sky_at(y);
        for (int x = 0; x < w; ++x)
            set(canvas, x, y, c);
    }
}

void draw_sun(Canvas& canvas, Point centre, int radius) {
    for (int y = centre.y - radius - 10; y <= centre.y + radius + 10; ++y) {
        for (int x = centre.x - radius - 10; x <= centre.x + radius + 10; ++x) {
            const int dx = x - centre.x;
            const int dy = y - centre.y;
            const int d2 = dx * dx + dy * dy;
            const Colour sky = get(canvas, x, y);
            if (d2 <= radius * radius + radius) {
                set(canvas, x, y, sun_core);
            } else if (d2 <= (radius + 3) * (radius + 3)) {
                set(canvas, x, y, mix(sky, sun_glow, 3, 4));
            } else if (d2 <= (radius + 7) * (radius + 7)) {
                set(canvas, x, y, mix(sky, sun_glow, 2, 5));
            } else if (d2 <= (radius + 10) * (radius + 10)) {
                set(canvas, x, y, mix(sky, sun_glow, 1, 6));
            }
        }
    }
}

// A cloud is a row of puffs on a flat base.
struct Puff {
    int dx, dy, rx, ry;  // from the cloud's base point; radii in pixels
};

void draw_cloud(Canvas& canvas, Point base, std::initializer_list<Puff> puffs) {
    Mask shape = make_grid<std::uint8_t>(w, h, 0, true);
    for (const Puff& puff : puffs) {
        fill_ellipse(shape, {base.x + puff.dx, base.y + puff.dy}, 4 * puff.rx, 4 * puff.ry);
    }
    for (int y = base.y + 1; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            set(shape, x, y, std::uint8_t{0});  // flat underside
    }
    paint(canvas, shape, cloud);
    paint_rim(canvas, shape, 0, 3, cloud_shade);
    paint_rim(canvas, shape, 0, 1, cloud_shadow);
}

// A mountain range: ridge_at(x) is the top row of column x. Faces towards the upper left catch
// the light: a cell is lit when the cell `reach` pixels up and to the left is open sky.
template <typename Ridge>
void draw_range(Canvas& canvas, Ridge ridge_at, const RangeColours& colours) {
    for (int x = 0; x < w; ++x) {
        const int top = ridge_at(x);
        const int snow_edge =
            colours.snow_line + (3 * wave_sin(23 * x, w) + 2 * wave_sin(41 * x, w)) / 1024;
        for (int y = top; y < h; ++y) {
            const bool lit = y - 5 < ridge_at(x - 5);
            const bool rim = y - 2 < ridge_at(x - 2);
            Colour c = rim ? colours.rim : lit ? colours.lit : colours.dark;
            if (y < snow_edge) c = lit ? snow : snow_shade;
            c = mix(c, mountain_haze, y > colours.haze_from ? y - colours.haze_from : 0, 34);
            set(canvas, x, y, c);
        }
    }
}

// Heights as whole-period waves over the width, so every ridge line wraps seamlessly.
int far_ridge(int x) {
    const int lift = 20 * wave_peak(2 * x + 300, w) + 14 * wave_peak(5 * x + 20, w) +
                     5 * wave_peak(13 * x + 100, w);
    return 92 - lift / 1024;
}

int near_ridge(int x) {
    const int lift = 20 * wave_peak(3 * x + 40, w) + 10 * wave_peak(7 * x + 150, w) +
                     4 * wave_peak(17 * x + 60, w);
    return 102 - lift / 1024;
}

void draw_mountains(Canvas& canvas) {
    draw_range(canvas, far_ridge, {0xB3BAE3, 0xA3ABDB, 0xC4CAEA, 66, 74});
    draw_range(canvas, near_ridge, {0x8F98D0, 0x7881BE, 0xA8B0DE, 80, 84});
}

void draw_hills(Canvas& canvas) {
    for (int x = 0; x < w; ++x) {
        const int top = hill_ridge(x);
        for (int y = top; y < h; ++y)
            set(canvas, x, y, mix(hill_top, hill_base, y - top, 18));
    }
    // Round trees along the hilltops, scattered by a fixed seed and wrapped at the edges.
    Prng prng{0x7A11E5u};
    Mask crowns = make_grid<std::uint8_t>(w, h, 0, true);
    for (int x = 3; x < w; x += 9 + next_below(prng, 18)) {
        const int group = 1 + next_below(prng, 3);
        for (int i = 0; i < group; ++i) {
            const int tx = x + 5 * i;
            const int size = 2 + next_below(prng, 2);
            fill_ellipse(crowns, {tx, hill_ridge(tx) - size + 1}, 4 * size, 4 * size + 4);
        }
        x += 5 * group;
    }
    paint(canvas, crowns, tree);
    paint_rim(canvas, crowns, 1, 1, tree_light);
    paint_rim(canvas, crowns, 1, 2, tree);
}

void draw_meadow(Canvas& canvas) {
    for (int x = 0; x < w; ++x) {
        const int top = meadow_ridge(x);
        set(canvas, x, top, meadow_edge);
        for (int y = top + 1; y < h; ++y) {
            set(canvas, x, y, mix(meadow_top, meadow_bottom, y - top, h - top));
        }
    }
    // Tufts of grass and small flowers, fewer in the middle band where the unicorn runs.
    Prng prng{0x5EED1234u};
    const Colour petals[] = {0xFFFFFF, 0xFFB3D1, 0xFFE066, 0xC9B2FF};
    for (int i = 0; i < 140; ++i) {
        const int x = next_below(prng, w);
        int y = 124 + next_below(prng, h - 126);
        const int kind = next_below(prng, 10);
        if (y > 130 && y < 148 && next_below(prng, 3) != 0) y = 150 + next_below(prng, 8);
        if (kind < 6) {
            const Colour blade = kind < 3 ? grass_dark : grass_light;
            stamp_map(canvas, {x - 2, y - 2}, {"g.g.g", ".ggg.", "..g.."}, {{'g', blade}});
        } else {
            const Colour petal = petals[next_below(prng, 4)];
            stamp_map(canvas, {x - 1, y - 1}, {".p.", "pcp", ".s."},
                      {{'p', petal}, {'c', 0xF7A531}, {'s', grass_dark}});
        }
    }
}

}  // namespace

Canvas draw_background() {
    Canvas canvas = make_grid<Colour>(w, h, 0, true);
    draw_sky(canvas);
    draw_sun(canvas, {318, 30}, 11);
    draw_cloud(canvas, {52, 30}, {{0, -3, 9, 5}, {9, -7, 8, 7}, {18, -4, 8, 5}, {-8, -1, 6, 3}});
    draw_cloud(canvas, {160, 48}, {{0, -2, 7, 4}, {7, -5, 6, 5}, {14, -2, 6, 3}});
    draw_cloud(canvas, {250, 22}, {{0, -2, 6, 3}, {7, -5, 7, 6}, {15, -3, 7, 4}});
    draw_cloud(canvas, {414, 40}, {{0, -3, 8, 4}, {10, -8, 9, 8}, {21, -5, 8, 6}, {30, -2, 6, 3}});
    draw_mountains(canvas);
    draw_hills(canvas);
    draw_meadow(canvas);
    canvas.wrap_x = false;
    return canvas;
}

}  // namespace art
