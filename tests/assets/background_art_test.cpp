#include "assets/art/background_art.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/assets/picture_checks.h"

namespace {

const art::Canvas& background() {
    static const art::Canvas picture = art::draw_background();
    return picture;
}

TEST(Background, FillsTheWholeSceneWithoutTheMaskColour) {
    const art::Canvas& p = background();
    EXPECT_EQ(p.width, 427);
    EXPECT_EQ(p.height, 160);
    ASSERT_EQ(p.cells.size(), 427u * 160u);
    const auto mask = std::find(p.cells.begin(), p.cells.end(), art::mask_colour);
    EXPECT_EQ(mask, p.cells.end()) << "mask colour at pixel index " << (mask - p.cells.begin());
    // The unicorn is keyed on magenta: nothing in the scene should come close to it either.
    int closest = 765;
    for (art::Colour c : p.cells)
        closest = std::min(closest, art::distance_from_mask(c));
    EXPECT_GT(closest, 60);
}

TEST(Background, WrapsWithoutAVisibleSeam) {
    const art::Canvas& p = background();
    const int seam = art_test::column_difference(p, 426, 0);
    int largest = 0;
    long total = 0;
    for (int x = 0; x + 1 < p.width; ++x) {
        const int step = art_test::column_difference(p, x, x + 1);
        largest = std::max(largest, step);
        total += step;
    }
    const long mean = total / (p.width - 1);
    EXPECT_LE(seam, largest);
    // Stronger: the seam is no worse than three times an ordinary step between neighbours.
    EXPECT_LE(seam, 3 * mean) << "seam " << seam << ", mean step " << mean;
    // Row by row, the seam must look like the steps just beside it: a cloud cut at the edge
    // or a ridge that jumps would change colour across the seam where its neighbours do not.
    // Allowing the neighbours' steps two rows up or down lets sloping ridges through.
    auto step = [&](int a, int b, int y) {
        if (y < 0 || y >= p.height) return 0;
        const art::Colour ca = art::get(p, a, y);
        const art::Colour cb = art::get(p, b, y);
        return std::abs(art::red(ca) - art::red(cb)) + std::abs(art::green(ca) - art::green(cb)) +
               std::abs(art::blue(ca) - art::blue(cb));
    };
    for (int y = 0; y < p.height; ++y) {
        int beside = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            beside = std::max({beside, step(424, 425, y + dy), step(425, 426, y + dy),
                               step(0, 1, y + dy), step(1, 2, y + dy)});
        }
        EXPECT_LE(step(426, 0, y), beside + 8) << "row " << y;
    }
}

TEST(Background, IsAScene) {
    // Sky on top, greener meadow below: the top row is mostly blue, the bottom mostly green.
    const art::Canvas& p = background();
    for (int x = 0; x < p.width; x += 10) {
        const art::Colour top = art::get(p, x, 0);
        const art::Colour bottom = art::get(p, x, p.height - 1);
        EXPECT_GT(art::blue(top), art::red(top)) << "column " << x;
        EXPECT_GT(art::green(bottom), art::red(bottom)) << "column " << x;
        EXPECT_GT(art::green(bottom), art::blue(bottom)) << "column " << x;
    }
}

}  // namespace
