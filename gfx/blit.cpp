#include "gfx/blit.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gfx {

namespace {

// Intersects [pos, pos + src_len) with [0, dst_len) on one axis. In 64 bits: pos + src_len
// can exceed int range when pos is near INT_MAX, but two ints sum far inside int64_t.
struct Span1d {
    int src = 0, dst = 0, length = 0;
};

Span1d clip_axis(int dst_len, int pos, int src_len) {
    const std::int64_t begin = std::max<std::int64_t>(pos, 0);
    const std::int64_t end =
        std::min<std::int64_t>(static_cast<std::int64_t>(pos) + src_len, dst_len);
    if (dst_len <= 0 || src_len <= 0 || begin >= end) return {};
    // begin, end lie in [0, dst_len] and begin - pos in [0, src_len]: all fit back in int.
    return {static_cast<int>(begin - pos), static_cast<int>(begin), static_cast<int>(end - begin)};
}

// One row with the colour key: a select, not a branch, so the loop vectorises (the store
// always happens; a keyed pixel stores the destination's own value back). Built twice on
// x86-64, for the SSE2 baseline and for AVX2 (twice the pixels per step), picked at load time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("avx2", "default")))
#endif
void put_row_transparent(Pixel* __restrict dst, const Pixel* __restrict src, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const Pixel s = src[i] & rgb_bits;
        dst[i] = s == mask_colour ? dst[i] : s;
    }
}

}  // namespace

ClippedBlit clip_blit(int dst_w, int dst_h, int x, int y, int src_w, int src_h) {
    const Span1d cols = clip_axis(dst_w, x, src_w);
    const Span1d rows = clip_axis(dst_h, y, src_h);
    if (cols.length == 0 || rows.length == 0) return {};
    return {cols.src, rows.src, cols.dst, rows.dst, cols.length, rows.length};
}

RowSpan blit(Image& dst, int x, int y, const Image& src, PutMode mode) {
    const ClippedBlit c = clip_blit(dst.width, dst.height, x, y, src.width, src.height);
    if (c.width == 0) return {};

    // From here every index is inside both images: clip_blit saw to that.
    const std::size_t n = static_cast<std::size_t>(c.width);
    const std::size_t src_stride = static_cast<std::size_t>(src.width);
    const std::size_t dst_stride = static_cast<std::size_t>(dst.width);
    const Pixel* s = src.pixels.data() + static_cast<std::size_t>(c.src_y) * src_stride +
                     static_cast<std::size_t>(c.src_x);
    Pixel* d = dst.pixels.data() + static_cast<std::size_t>(c.dst_y) * dst_stride +
               static_cast<std::size_t>(c.dst_x);
    if (mode == PutMode::opaque) {
        for (int row = 0; row < c.height; ++row, s += src_stride, d += dst_stride) {
            std::memcpy(d, s, n * sizeof(Pixel));
        }
    } else {
        for (int row = 0; row < c.height; ++row, s += src_stride, d += dst_stride) {
            put_row_transparent(d, s, n);
        }
    }
    return {c.dst_y, c.dst_y + c.height - 1};
}

}  // namespace gfx
