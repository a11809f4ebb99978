#pragma once

#include <cstddef>

#include "assets/art/grid.h"

namespace art {

// Puts `colour` on every cell the mask covers.
void paint(Canvas& canvas, const Mask& mask, Colour colour);

// Puts colour_at(x, y) on every cell the mask covers (for stripes and gradients).
template <typename ColourAt>
void paint_with(Canvas& canvas, const Mask& mask, ColourAt colour_at) {
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (get(mask, x, y) != 0) set(canvas, x, y, colour_at(x, y));
        }
    }
}

// Shades the rim of a shape: covered cells whose neighbour at (x + dx, y + dy) is not covered.
// With (dx, dy) pointing away from the light this is the shadow side; towards it, the highlight.
void paint_rim(Canvas& canvas, const Mask& mask, int dx, int dy, Colour colour);

// Draws a 1-pixel contour just outside the shape, but only over art already on the canvas
// (cells that are not `background`): it separates a part from what lies behind it without
// thickening the outer edge, which outline_silhouette draws.
void outline_over(Canvas& canvas, const Mask& mask, Colour line, Colour background);

// Turns every `background` cell that touches art (of its 8 neighbours) into `line`, so that
// the picture's own edge cells never touch the background.
void outline_silhouette(Canvas& canvas, Colour line, Colour background);

// Fills each pocket of `background` that the art encloses (not reachable from the border
// through side-by-side background cells) with `fill`, when it has at most `max_cells` cells:
// slits that small between locks of hair read as specks, not as gaps. Larger pockets stay.
void close_pockets(Canvas& canvas, Colour background, Colour fill, int max_cells);

// Adds `other`'s cells to `into`; both must have the same size.
void merge(Mask& into, const Mask& other);

// The number of cells the mask covers.
std::size_t covered(const Mask& mask);

}  // namespace art
