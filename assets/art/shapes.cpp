#include "assets/art/shapes.h"

#include <algorithm>
#include <cstdint>

namespace art {

namespace {

// Points and radii inside a stroke are kept in quarter pixels.
struct Sub {
    std::int64_t x;
    std::int64_t y;
};

Sub quarters(Point p) {
    return {4 * std::int64_t{p.x}, 4 * std::int64_t{p.y}};
}

// A tapered stroke between quarter-pixel points a and b.
void fill_sub_stroke(Mask& mask, Sub a, Sub b, std::int64_t ra, std::int64_t rb) {
    const std::int64_t reach = std::max(ra, rb) + 4;
    const int x0 = static_cast<int>((std::min(a.x, b.x) - reach) / 4) - 1;
    const int x1 = static_cast<int>((std::max(a.x, b.x) + reach) / 4) + 1;
    const int y0 = static_cast<int>((std::min(a.y, b.y) - reach) / 4) - 1;
    const int y1 = static_cast<int>((std::max(a.y, b.y) + reach) / 4) + 1;
    const std::int64_t dx = b.x - a.x;
    const std::int64_t dy = b.y - a.y;
    const std::int64_t length2 = dx * dx + dy * dy;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const std::int64_t px_ = 4 * std::int64_t{x} - a.x;
            const std::int64_t py_ = 4 * std::int64_t{y} - a.y;
            const std::int64_t t = px_ * dx + py_ * dy;  // projection, times length2
            bool inside = false;
            if (length2 == 0 || t <= 0) {
                inside = px_ * px_ + py_ * py_ <= ra * ra + ra;
            } else if (t >= length2) {
                const std::int64_t ex = px_ - dx;
                const std::int64_t ey = py_ - dy;
                inside = ex * ex + ey * ey <= rb * rb + rb;
            } else {
                // distance² = cross² / length2; the radius is rounded to a quarter pixel.
                const std::int64_t cross = px_ * dy - py_ * dx;
                const std::int64_t r = ra + (rb - ra) * t / length2;
                inside = cross * cross <= (r * r + r) * length2;
            }
            if (inside) set(mask, x, y, std::uint8_t{1});
        }
    }
}

}  // namespace

void fill_ellipse(Mask& mask, Point centre, int radius_x, int radius_y) {
    const std::int64_t rx = std::max(radius_x, 1);
    const std::int64_t ry = std::max(radius_y, 1);
    const int reach_x = static_cast<int>(rx / 4) + 1;
    const int reach_y = static_cast<int>(ry / 4) + 1;
    for (int y = centre.y - reach_y; y <= centre.y + reach_y; ++y) {
        for (int x = centre.x - reach_x; x <= centre.x + reach_x; ++x) {
            const std::int64_t dx = 4 * std::int64_t{x - centre.x};
            const std::int64_t dy = 4 * std::int64_t{y - centre.y};
            if (dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry) {
                set(mask, x, y, std::uint8_t{1});
            }
        }
    }
}

void fill_stroke(Mask& mask, Point from, Point to, int r_from, int r_to) {
    fill_sub_stroke(mask, quarters(from), quarters(to), r_from, r_to);
}

void fill_curve(Mask& mask, Point p0, Point p1, Point p2, Point p3, int r_from, int r_to) {
    constexpr std::int64_t steps = 16;
    const Sub q0 = quarters(p0), q1 = quarters(p1), q2 = quarters(p2), q3 = quarters(p3);
    auto at = [&](std::int64_t i) {
        const std::int64_t j = steps - i;
        const std::int64_t w0 = j * j * j, w1 = 3 * j * j * i, w2 = 3 * j * i * i, w3 = i * i * i;
        const std::int64_t total = steps * steps * steps;
        return Sub{(w0 * q0.x + w1 * q1.x + w2 * q2.x + w3 * q3.x + total / 2) / total,
                   (w0 * q0.y + w1 * q1.y + w2 * q2.y + w3 * q3.y + total / 2) / total};
    };
    auto radius = [&](std::int64_t i) { return r_from + (r_to - r_from) * i / steps; };
    for (std::int64_t i = 0; i < steps; ++i) {
        fill_sub_stroke(mask, at(i), at(i + 1), radius(i), radius(i + 1));
    }
}

void stamp_map(Canvas& canvas, Point origin, std::initializer_list<std::string_view> rows,
               std::initializer_list<MapKey> keys) {
    int y = origin.y;
    for (std::string_view row : rows) {
        int x = origin.x;
        for (char symbol : row) {
            for (const MapKey& key : keys) {
                if (key.symbol == symbol) set(canvas, x, y, key.colour);
            }
            ++x;
        }
        ++y;
    }
}

}  // namespace art
