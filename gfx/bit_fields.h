#pragma once

// A colour channel stored as a run of bits inside a 16- or 32-bit pixel, scaled to 0-255.

#include <cstdint>
#include <optional>

namespace gfx {

struct BitField {
    std::uint32_t mask = 0;  // the channel's bits in the pixel; 0 = channel always 0
    int shift = 0;           // position of the lowest bit
    std::uint64_t max = 1;   // largest value of the field (mask >> shift); 1 for a zero mask
};

// The field for `mask`, or nullopt when its bits are not one contiguous run: such masks do not
// occur in real files, and no one agrees what their value would mean, so they are rejected.
std::optional<BitField> make_bit_field(std::uint32_t mask);

// The channel of `pixel`, scaled so that 0 gives 0 and the field's largest value gives 255,
// rounded to nearest. In 64 bits: value <= 2^32 - 1, so value * 255 + max / 2 < 2^40.
inline std::uint32_t scale_field(const BitField& field, std::uint32_t pixel) {
    const std::uint64_t value = (pixel & field.mask) >> field.shift;
    return static_cast<std::uint32_t>((value * 255 + field.max / 2) / field.max);
}

}  // namespace gfx
