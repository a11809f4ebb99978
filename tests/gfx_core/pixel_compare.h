#pragma once

// Image comparison that says where images differ: the first differing pixel, expected vs actual.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gfx/image.h"

namespace gfx_test {

inline std::string hex(gfx::Pixel p) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", p);
    return text;
}

inline ::testing::AssertionResult same_pixels(const gfx::Image& expected,
                                              const gfx::Image& actual) {
    if (expected.width != actual.width || expected.height != actual.height ||
        expected.pixels.size() != actual.pixels.size()) {
        return ::testing::AssertionFailure()
               << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
               << "x" << expected.height;
    }
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (expected.at(x, y) != actual.at(x, y)) {
                return ::testing::AssertionFailure()
                       << "first differing pixel (" << x << ", " << y << "): expected "
                       << hex(expected.at(x, y)) << ", actual " << hex(actual.at(x, y));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

inline gfx::Image filled(int width, int height, gfx::Pixel fill) {
    gfx::Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    return image;
}

}  // namespace gfx_test
