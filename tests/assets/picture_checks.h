#pragma once

// Checks on finished pictures. Each returns a description of the first fault it finds, with
// the pixel's place, or an empty string when the picture passes.

#include <string>

#include "assets/art/grid.h"

namespace art_test {

// A pixel of the outermost rows and columns that is not the mask colour.
std::string border_fault(const art::Canvas& picture);

// A pixel that is not the mask colour but within `min_distance` of it (per-channel sum).
std::string fringe_fault(const art::Canvas& picture, int min_distance);

// A mask pixel that cannot be reached from the border through mask pixels side by side:
// a see-through hole inside the shape.
std::string hole_fault(const art::Canvas& picture);

// A drawn pixel touching the mask (of its 8 neighbours) that is not the outline colour.
std::string outline_fault(const art::Canvas& picture, art::Colour outline);

// The first pixel where two pictures differ, or a size difference.
std::string difference(const art::Canvas& expected, const art::Canvas& actual);

// Sum over the rows of the channel distances between column a and column b.
int column_difference(const art::Canvas& picture, int a, int b);

// The number of pixels that are not the mask colour.
int drawn_pixels(const art::Canvas& picture);

std::string hex(art::Colour colour);

}  // namespace art_test
