#include "assets/art/paint.h"

#include "assets/art/shapes.h"

#include <cstdint>
#include <vector>

namespace art {

namespace {

bool touches(const Mask& mask, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx != 0 || dy != 0) && get(mask, x + dx, y + dy) != 0) return true;
        }
    }
    return false;
}

}  // namespace

void paint(Canvas& canvas, const Mask& mask, Colour colour) {
    paint_with(canvas, mask, [colour](int, int) { return colour; });
}

void paint_rim(Canvas& canvas, const Mask& mask, int dx, int dy, Colour colour) {
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (get(mask, x, y) != 0 && get(mask, x + dx, y + dy) == 0) set(canvas, x, y, colour);
        }
    }
}

void outline_over(Canvas& canvas, const Mask& mask, Colour line, Colour background) {
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (get(mask, x, y) == 0 && touches(mask, x, y) &&
                get(canvas, x, y, background) != background) {
                set(canvas, x, y, line);
            }
        }
    }
}

void outline_silhouette(Canvas& canvas, Colour line, Colour background) {
    Mask art = make_grid<std::uint8_t>(canvas.width, canvas.height, 0, canvas.wrap_x);
    for (std::size_t i = 0; i < canvas.cells.size(); ++i) {
        art.cells[i] = canvas.cells[i] != background ? 1 : 0;
    }
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            if (get(art, x, y) == 0 && touches(art, x, y)) set(canvas, x, y, line);
        }
    }
}

void close_pockets(Canvas& canvas, Colour background, Colour fill, int max_cells) {
    const int w = canvas.width;
    const int h = canvas.height;
    // 0: not background, 1: background not yet reached, 2: reached.
    Mask state = make_grid<std::uint8_t>(w, h, 0);
    for (std::size_t i = 0; i < canvas.cells.size(); ++i) {
        state.cells[i] = canvas.cells[i] == background ? 1 : 0;
    }
    std::vector<Point> stack;
    std::vector<Point> region;
    auto spread = [&](std::vector<Point>* found) {
        while (!stack.empty()) {
            const Point p = stack.back();
            stack.pop_back();
            if (found != nullptr) found->push_back(p);
            for (const Point d : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}}) {
                const Point q{p.x + d.x, p.y + d.y};
                if (get(state, q.x, q.y) == 1) {
                    set(state, q.x, q.y, std::uint8_t{2});
                    stack.push_back(q);
                }
            }
        }
    };
    auto seed = [&](int x, int y) {
        if (get(state, x, y) == 1) {
            set(state, x, y, std::uint8_t{2});
            stack.push_back({x, y});
        }
    };
    for (int x = 0; x < w; ++x) {
        seed(x, 0);
        seed(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        seed(0, y);
        seed(w - 1, y);
    }
    spread(nullptr);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (get(state, x, y) != 1) continue;
            region.clear();
            seed(x, y);
            spread(&region);
            if (region.size() <= static_cast<std::size_t>(max_cells)) {
                for (const Point p : region)
                    set(canvas, p.x, p.y, fill);
            }
        }
    }
}

void merge(Mask& into, const Mask& other) {
    for (std::size_t i = 0; i < into.cells.size() && i < other.cells.size(); ++i) {
        if (other.cells[i] != 0) into.cells[i] = 1;
    }
}

std::size_t covered(const Mask& mask) {
    std::size_t count = 0;
    for (std::uint8_t cell : mask.cells)
        count += cell != 0 ? 1 : 0;
    return count;
}

}  // namespace art
