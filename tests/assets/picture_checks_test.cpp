// The sprite checks must catch the faults they look for; small hand-made pictures show each one.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "tests/assets/picture_checks.h"

namespace {

constexpr art::Colour outline = 0x3A2550;

// '.' mask, 'o' outline, 'w' white, 'p' a pinkish near-magenta.
art::Canvas picture(std::initializer_list<std::string_view> rows) {
    const int width = static_cast<int>(rows.begin()->size());
    art::Canvas canvas =
        art::make_grid<art::Colour>(width, static_cast<int>(rows.size()), art::mask_colour);
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < width; ++x) {
            const char c = row[static_cast<std::size_t>(x)];
            art::set(canvas, x, y,
                     c == 'o'   ? outline
                     : c == 'w' ? art::Colour{0xFFFFFF}
                     : c == 'p' ? art::Colour{0xF010F0}
                                : art::mask_colour);
        }
        ++y;
    }
    return canvas;
}

const art::Canvas clean = picture({
    ".......",
    ".ooooo.",
    ".owwwo.",
    ".owwwo.",
    ".ooooo.",
    ".......",
});

TEST(PictureChecks, CleanSpritePassesEveryCheck) {
    EXPECT_EQ(art_test::border_fault(clean), "");
    EXPECT_EQ(art_test::fringe_fault(clean, 60), "");
    EXPECT_EQ(art_test::hole_fault(clean), "");
    EXPECT_EQ(art_test::outline_fault(clean, outline), "");
}

struct FaultCase {
    const char* name;
    art::Canvas picture;
    std::string (*check)(const art::Canvas&);
    const char* expected;
};

std::string fringe(const art::Canvas& p) {
    return art_test::fringe_fault(p, 60);
}
std::string edge(const art::Canvas& p) {
    return art_test::outline_fault(p, outline);
}

TEST(PictureChecks, EachFaultIsFoundAndPlaced) {
    const FaultCase cases[] = {
        {"art on the border", picture({"..o", "..o", "..."}), art_test::border_fault,
         "border pixel (2, 0) is 0x3A2550"},
        {"near-magenta fringe", picture({"....", ".op.", "...."}), fringe,
         "pixel (2, 1) is 0xF010F0, only 46 from the mask colour"},
        {"enclosed hole", picture({".....", ".ooo.", ".o.o.", ".ooo.", "....."}),
         art_test::hole_fault, "mask pixel (2, 2) is enclosed by the shape"},
        {"hole closed only diagonally", picture({"......", "..o...", ".o.o..", "..o...", "......"}),
         art_test::hole_fault, "mask pixel (2, 2) is enclosed by the shape"},
        {"body touching the mask", picture({".....", ".oww.", ".ooo.", "....."}), edge,
         "pixel (2, 1) is 0xFFFFFF next to the mask at (1, 0), not the outline 0x3A2550"},
        {"body touching the mask diagonally only",
         picture({"......", ".ooo..", ".owo..", ".oo...", "......"}), edge,
         "pixel (2, 2) is 0xFFFFFF next to the mask at (3, 3), not the outline 0x3A2550"},
    };
    for (const FaultCase& c : cases) {
        EXPECT_EQ(c.check(c.picture), c.expected) << c.name;
    }
}

TEST(PictureChecks, DifferenceNamesTheFirstPixel) {
    art::Canvas other = clean;
    art::set(other, 3, 2, art::Colour{0x123456});
    art::set(other, 4, 4, art::Colour{0x123456});
    EXPECT_EQ(art_test::difference(clean, other), "pixel (3, 2) is 0x123456, expected 0xFFFFFF");
    EXPECT_EQ(art_test::difference(clean, clean), "");
    EXPECT_EQ(art_test::difference(clean, picture({"..", ".."})), "size 2x2, expected 7x6");
}

TEST(PictureChecks, ColumnDifferenceSumsChannelDistances) {
    const art::Canvas p = picture({"ow", "o.", "ww"});
    // Row 0: outline vs white; row 1: outline vs magenta; row 2: equal.
    const int outline_white = (0xFF - 0x3A) + (0xFF - 0x25) + (0xFF - 0x50);
    const int outline_mask = (0xFF - 0x3A) + 0x25 + (0xFF - 0x50);
    EXPECT_EQ(art_test::column_difference(p, 0, 1), outline_white + outline_mask);
    EXPECT_EQ(art_test::column_difference(p, 1, 0), outline_white + outline_mask);
    EXPECT_EQ(art_test::drawn_pixels(p), 5);
}

}  // namespace
