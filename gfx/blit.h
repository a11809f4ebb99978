#pragma once

#include "gfx/image.h"

namespace gfx {

enum class PutMode {
    opaque,       // every pixel copied unchanged
    transparent,  // mask-coloured pixels skipped, the rest written with the top byte cleared
};

// Rows of a destination that a blit wrote, inclusive; empty when first_row > last_row.
struct RowSpan {
    int first_row = 0;
    int last_row = -1;
    bool empty() const { return first_row > last_row; }
};

// The part of a source image that lands inside a destination, after clipping on all four sides.
struct ClippedBlit {
    int src_x = 0, src_y = 0;   // first source pixel copied
    int dst_x = 0, dst_y = 0;   // where it lands
    int width = 0, height = 0;  // size of the copied block; 0 when nothing lands
};

// Clips a source of src_w x src_h placed with its top-left corner at (x, y) against a
// destination of dst_w x dst_h. Any int position is handled without overflow.
ClippedBlit clip_blit(int dst_w, int dst_h, int x, int y, int src_w, int src_h);

// Draws `src` into `dst` with its top-left corner at (x, y), clipped to `dst`.
// Returns the destination rows written.
RowSpan blit(Image& dst, int x, int y, const Image& src, PutMode mode);

}  // namespace gfx
