#include "assets/art/shapes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "assets/art/paint.h"

namespace {

art::Mask blank(int w, int h, bool wrap = false) {
    return art::make_grid<std::uint8_t>(w, h, 0, wrap);
}

// The mask as text, '#' for covered cells, one line a row.
std::string text(const art::Mask& m) {
    std::string s;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x)
            s += art::get(m, x, y) != 0 ? '#' : '.';
        s += '\n';
    }
    return s;
}

TEST(Shapes, EllipseIsSymmetricAndAsWideAsItsRadii) {
    art::Mask m = blank(11, 7);
    art::fill_ellipse(m, {5, 3}, art::px(4), art::px(2));
    EXPECT_EQ(text(m),
              "...........\n"
              ".....#.....\n"
              "..#######..\n"
              ".#########.\n"
              "..#######..\n"
              ".....#.....\n"
              "...........\n");
}

TEST(Shapes, StrokeCoversItsEndsAndTapers) {
    art::Mask m = blank(14, 7);
    art::fill_stroke(m, {2, 3}, {11, 3}, art::px(2), art::px(0));
    EXPECT_EQ(text(m),
              "..............\n"
              "..##..........\n"
              ".#######......\n"
              "############..\n"
              ".#######......\n"
              "..##..........\n"
              "..............\n");
}

TEST(Shapes, CurvePassesThroughItsEndsWithoutGaps) {
    art::Mask m = blank(20, 12);
    art::fill_curve(m, {1, 10}, {1, 0}, {18, 0}, {18, 10}, art::px(0.5), art::px(0.5));
    EXPECT_NE(art::get(m, 1, 10), 0);
    EXPECT_NE(art::get(m, 18, 10), 0);
    EXPECT_EQ(art::get(m, 10, 10), 0);  // an arch: the middle of the base stays open
    // Walking along the arch, every column from end to end is reached.
    for (int x = 1; x <= 18; ++x) {
        int column = 0;
        for (int y = 0; y < 12; ++y)
            column += art::get(m, x, y);
        EXPECT_GT(column, 0) << "column " << x;
    }
}

TEST(Shapes, WrappedGridsContinueShapesOnTheOtherSide) {
    art::Mask wrapped = blank(10, 3, true);
    art::fill_stroke(wrapped, {-2, 1}, {1, 1}, art::px(0), art::px(0));
    EXPECT_EQ(text(wrapped), "..........\n##......##\n..........\n");
    art::Mask clipped = blank(10, 3);
    art::fill_stroke(clipped, {-2, 1}, {1, 1}, art::px(0), art::px(0));
    EXPECT_EQ(text(clipped), "..........\n##........\n..........\n");
}

TEST(Shapes, MapKeysPaintAndDotsLeaveTheCanvas) {
    art::Canvas c = art::make_grid<art::Colour>(4, 2, 0x111111);
    art::stamp_map(c, {1, 0}, {"ab.", ".?a"}, {{'a', 0xAAAAAA}, {'b', 0xBBBBBB}});
    EXPECT_EQ(c.cells, (std::vector<art::Colour>{0x111111, 0xAAAAAA, 0xBBBBBB, 0x111111,  //
                                                 0x111111, 0x111111, 0x111111, 0xAAAAAA}));
}

TEST(Paint, OutlinesGoOnlyWhereTheyBelong) {
    // A 1-cell shape in the middle of a 5x3 canvas whose left half is already drawn.
    constexpr art::Colour bg = 0xFF00FF, art_colour = 0x888888, line = 0x222222;
    art::Canvas c = art::make_grid<art::Colour>(5, 3, bg);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x)
            art::set(c, x, y, art_colour);
    }
    art::Mask dot = blank(5, 3);
    art::set(dot, 2, 1, std::uint8_t{1});
    art::outline_over(c, dot, line, bg);  // only over the drawn cells, not the background
    art::paint(c, dot, 0xFFFFFF);
    EXPECT_EQ(c.cells, (std::vector<art::Colour>{art_colour, line, bg, bg, bg,        //
                                                 art_colour, line, 0xFFFFFF, bg, bg,  //
                                                 art_colour, line, bg, bg, bg}));
    art::outline_silhouette(c, line, bg);  // every background cell touching art
    EXPECT_EQ(c.cells, (std::vector<art::Colour>{art_colour, line, line, line, bg,      //
                                                 art_colour, line, 0xFFFFFF, line, bg,  //
                                                 art_colour, line, line, line, bg}));
}

}  // namespace

namespace {

TEST(Paint, SmallPocketsCloseAndLargeOnesStayOpen) {
    // Two enclosed pockets, of 1 and 12 cells, and an open bay; close pockets up to 4 cells.
    const char* rows[] = {
        "##########.",  //
        "#.#......#.",  //
        "###......#.",  //
        "#.########.",  //
        "#.........#",  //
    };
    constexpr art::Colour bg = 0xFF00FF, ink = 0x000000, fill = 0x444444;
    art::Canvas c = art::make_grid<art::Colour>(11, 5, bg);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 11; ++x) {
            if (rows[y][x] == '#') art::set(c, x, y, ink);
        }
    }
    art::Canvas expected = c;
    art::set(expected, 1, 1, fill);
    art::close_pockets(c, bg, fill, 4);
    EXPECT_EQ(c.cells, expected.cells);
}

}  // namespace
