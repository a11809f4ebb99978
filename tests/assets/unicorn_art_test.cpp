#include "assets/art/unicorn_art.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "assets/art/unicorn_palette.h"
#include "tests/assets/picture_checks.h"

namespace {

namespace pal = art::unicorn_palette;

int count_colour(const art::Canvas& p, art::Colour c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            n += art::get(p, x, y) == c ? 1 : 0;
    }
    return n;
}

class UnicornFrame : public testing::TestWithParam<int> {
  protected:
    const art::Canvas frame = art::draw_unicorn(GetParam());
};

TEST_P(UnicornFrame, IsASpriteOnTheMaskWithACleanEdge) {
    EXPECT_EQ(frame.width, 112);
    EXPECT_EQ(frame.height, 79);
    ASSERT_EQ(frame.cells.size(), 112u * 79u);
    EXPECT_EQ(art_test::border_fault(frame), "");
    EXPECT_EQ(art_test::fringe_fault(frame, 60), "");
    EXPECT_EQ(art_test::hole_fault(frame), "");
    EXPECT_EQ(art_test::outline_fault(frame, pal::outline), "");
    // A real figure, not a speck: about a third of the frame.
    const int drawn = art_test::drawn_pixels(frame);
    EXPECT_GT(drawn, 112 * 79 / 5);
    EXPECT_LT(drawn, 112 * 79 * 2 / 3);
}

TEST_P(UnicornFrame, HasHornManeEyeAndHoovesWhereAUnicornFacingRightHasThem) {
    // The horn: in the top-right corner, and nowhere else.
    int horn = 0;
    for (art::Colour c : {pal::horn, pal::horn_light, pal::horn_dark}) {
        horn += count_colour(frame, c, 0, 0, 112, 79);
        EXPECT_EQ(count_colour(frame, c, 0, 0, 112, 79), count_colour(frame, c, 80, 0, 112, 20))
            << art_test::hex(c) << " outside the horn's corner";
    }
    EXPECT_GE(horn, 25);
    // The eye on the head, at the right; the hooves at the bottom.
    EXPECT_GE(count_colour(frame, pal::eye, 75, 5, 100, 25), 6);
    EXPECT_EQ(count_colour(frame, pal::eye, 0, 0, 75, 79), 0);
    EXPECT_GE(count_colour(frame, pal::hoof, 0, 55, 112, 79), 4 * 8);
    // Every colour of the rainbow mane and tail shows, and the hair reaches the left half.
    int hair_on_left = 0;
    for (art::Colour c : pal::hair) {
        EXPECT_GE(count_colour(frame, c, 0, 0, 112, 79), 10) << art_test::hex(c);
        hair_on_left += count_colour(frame, c, 0, 0, 40, 79);
    }
    EXPECT_GE(hair_on_left, 25);
    // A white body: the most common colour of the middle band.
    EXPECT_GE(count_colour(frame, pal::body, 30, 30, 80, 55), 400);
}

INSTANTIATE_TEST_SUITE_P(BothFrames, UnicornFrame, testing::Values(0, 1));

TEST(UnicornFrames, DifferLikeTwoStepsOfAGallop) {
    const art::Canvas a = art::draw_unicorn(0);
    const art::Canvas b = art::draw_unicorn(1);
    // Legs: in the bottom rows, most drawn pixels of either frame change.
    int legs_drawn = 0;
    int legs_changed = 0;
    int all_drawn = 0;
    int all_changed = 0;
    for (int y = 0; y < 79; ++y) {
        for (int x = 0; x < 112; ++x) {
            const bool drawn =
                art::get(a, x, y) != art::mask_colour || art::get(b, x, y) != art::mask_colour;
            const bool changed = art::get(a, x, y) != art::get(b, x, y);
            all_drawn += drawn ? 1 : 0;
            all_changed += changed ? 1 : 0;
            if (y >= 58) {
                legs_drawn += drawn ? 1 : 0;
                legs_changed += changed ? 1 : 0;
            }
        }
    }
    EXPECT_GE(legs_changed * 100, legs_drawn * 60);
    EXPECT_GE(all_changed * 100, all_drawn * 25);
    // The same unicorn: its size changes by less than a tenth.
    const int size_a = art_test::drawn_pixels(a);
    const int size_b = art_test::drawn_pixels(b);
    EXPECT_LT(std::abs(size_a - size_b) * 10, size_a);
}

TEST(UnicornFrames, OtherFrameNumbersGiveTheFirst) {
    EXPECT_EQ(art_test::difference(art::draw_unicorn(0), art::draw_unicorn(2)), "");
    EXPECT_EQ(art_test::difference(art::draw_unicorn(0), art::draw_unicorn(-1)), "");
}

}  // namespace
