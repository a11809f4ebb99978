#pragma once

#include <cstdint>

namespace art {

// Waves over a whole number of pixels, in integers only, so that a feature built from them
// repeats exactly every `period` pixels and comes out the same on every machine.

// sin(2π·phase/period) times 1024, from Bhaskara's rational approximation (off by at most 2).
int wave_sin(std::int64_t phase, std::int64_t period);

// A triangle wave from 0 to 1024: 1024 (a sharp peak) at phase 0, 0 half a period later.
int wave_peak(std::int64_t phase, std::int64_t period);

// A small fixed-seed generator (xorshift32) for scattering flowers and tufts.
struct Prng {
    std::uint32_t state = 0x2545F491u;
};

std::uint32_t next(Prng& prng);

// A value in [0, bound) for bound > 0.
int next_below(Prng& prng, int bound);

}  // namespace art
