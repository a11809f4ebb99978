#include "assets/art/periodic.h"

namespace art {

namespace {

std::int64_t wrap(std::int64_t phase, std::int64_t period) {
    const std::int64_t u = phase % period;
    return u < 0 ? u + period : u;
}

}  // namespace

int wave_sin(std::int64_t phase, std::int64_t period) {
    if (period <= 0) return 0;
    // Half a turn is [0, period) in doubled units; sin x ≈ 16x(π-x) / (5π² - 4x(π-x)).
    std::int64_t v = 2 * wrap(phase, period);
    int sign = 1;
    if (v >= period) {
        v -= period;
        sign = -1;
    }
    const std::int64_t p = v * (period - v);
    const std::int64_t value = 16384 * p / (5 * period * period - 4 * p);
    return sign * static_cast<int>(value);
}

int wave_peak(std::int64_t phase, std::int64_t period) {
    if (period <= 0) return 0;
    const std::int64_t u = wrap(phase, period);
    const std::int64_t distance = u * 2 < period ? u : period - u;  // to the nearest peak
    return static_cast<int>(1024 - distance * 2048 / period);
}

std::uint32_t next(Prng& prng) {
    std::uint32_t x = prng.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    prng.state = x;
    return x;
}

int next_below(Prng& prng, int bound) {
    if (bound <= 0) return 0;
    return static_cast<int>(next(prng) % static_cast<std::uint32_t>(bound));
}

}  // namespace art
