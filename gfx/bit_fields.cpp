#include "gfx/bit_fields.h"

#include <bit>

namespace gfx {

std::optional<BitField> make_bit_field(std::uint32_t mask) {
    if (mask == 0) return BitField{};
    // countr_zero of a non-zero mask is at most 31, so the shift is defined.
    const int shift = std::countr_zero(mask);
    const std::uint64_t run = mask >> shift;
    // A contiguous run is 2^k - 1: adding one clears every bit it had. In 64 bits so that a
    // full 32-bit mask does not wrap.
    if ((run & (run + 1)) != 0) return std::nullopt;
    return BitField{mask, shift, run};
}

}  // namespace gfx
