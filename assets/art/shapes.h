#pragma once

#include <initializer_list>
#include <string_view>

#include "assets/art/grid.h"

namespace art {

// Shapes are set into a Mask; painting them is paint.h's job. Points are pixel centres;
// radii are in quarter pixels (write them as px(2.5)) so strokes can taper smoothly.
struct Point {
    int x = 0;
    int y = 0;
};

consteval int px(double pixels) {
    return static_cast<int>(pixels * 4);
}

void fill_ellipse(Mask& mask, Point centre, int radius_x, int radius_y);

// A stroke from `from` to `to` with round ends, its radius going from r_from to r_to.
void fill_stroke(Mask& mask, Point from, Point to, int r_from, int r_to);

// A cubic Bézier stroke through p0 and p3 pulled towards p1 and p2, tapering like fill_stroke.
void fill_curve(Mask& mask, Point p0, Point p1, Point p2, Point p3, int r_from, int r_to);

// One colour for one character of an ASCII map.
struct MapKey {
    char symbol;
    Colour colour;
};

// Paints a small ASCII map with its top-left at `origin`; characters without a key (such as
// '.') leave the canvas as it is.
void stamp_map(Canvas& canvas, Point origin, std::initializer_list<std::string_view> rows,
               std::initializer_list<MapKey> keys);

}  // namespace art
