#include "tests/assets/picture_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace art_test {

namespace {

using art::Canvas;
using art::Colour;
using art::mask_colour;

std::string at(int x, int y) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d)", x, y);
    return text;
}

bool is_mask(const Canvas& picture, int x, int y) {
    return art::get(picture, x, y, mask_colour) == mask_colour;
}

int distance(Colour a, Colour b) {
    return std::abs(art::red(a) - art::red(b)) + std::abs(art::green(a) - art::green(b)) +
           std::abs(art::blue(a) - art::blue(b));
}

}  // namespace

std::string hex(Colour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour));
    return text;
}

std::string border_fault(const Canvas& picture) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const bool edge = x == 0 || y == 0 || x == picture.width - 1 || y == picture.height - 1;
            if (edge && !is_mask(picture, x, y)) {
                return "border pixel " + at(x, y) + " is " + hex(art::get(picture, x, y));
            }
        }
    }
    return {};
}

std::string fringe_fault(const Canvas& picture, int min_distance) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = art::get(picture, x, y);
            if (c != mask_colour && art::distance_from_mask(c) <= min_distance) {
                return "pixel " + at(x, y) + " is " + hex(c) + ", only " +
                       std::to_string(art::distance_from_mask(c)) + " from the mask colour";
            }
        }
    }
    return {};
}

std::string hole_fault(const Canvas& picture) {
    const int w = picture.width;
    const int h = picture.height;
    std::vector<std::uint8_t> reached(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::vector<int> stack;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || !is_mask(picture, x, y)) return;
        std::uint8_t& seen = reached[static_cast<std::size_t>(y * w + x)];
        if (seen != 0) return;
        seen = 1;
        stack.push_back(y * w + x);
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        visit(i % w - 1, i / w);
        visit(i % w + 1, i / w);
        visit(i % w, i / w - 1);
        visit(i % w, i / w + 1);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (is_mask(picture, x, y) && reached[static_cast<std::size_t>(y * w + x)] == 0) {
                return "mask pixel " + at(x, y) + " is enclosed by the shape";
            }
        }
    }
    return {};
}

std::string outline_fault(const Canvas& picture, Colour outline) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = art::get(picture, x, y);
            if (c == mask_colour || c == outline) continue;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const bool inside = x + dx >= 0 && y + dy >= 0 && x + dx < picture.width &&
                                        y + dy < picture.height;
                    if (inside && is_mask(picture, x + dx, y + dy)) {
                        return "pixel " + at(x, y) + " is " + hex(c) + " next to the mask at " +
                               at(x + dx, y + dy) + ", not the outline " + hex(outline);
                    }
                }
            }
        }
    }
    return {};
}

std::string difference(const Canvas& expected, const Canvas& actual) {
    if (expected.width != actual.width || expected.height != actual.height) {
        return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
               ", expected " + std::to_string(expected.width) + "x" +
               std::to_string(expected.height);
    }
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (art::get(expected, x, y) != art::get(actual, x, y)) {
                return "pixel " + at(x, y) + " is " + hex(art::get(actual, x, y)) + ", expected " +
                       hex(art::get(expected, x, y));
            }
        }
    }
    return {};
}

int column_difference(const Canvas& picture, int a, int b) {
    int sum = 0;
    for (int y = 0; y < picture.height; ++y) {
        sum += distance(art::get(picture, a, y), art::get(picture, b, y));
    }
    return sum;
}

int drawn_pixels(const Canvas& picture) {
    int count = 0;
    for (Colour c : picture.cells)
        count += c != mask_colour ? 1 : 0;
    return count;
}

}  // namespace art_test
