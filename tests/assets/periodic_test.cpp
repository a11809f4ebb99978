#include "assets/art/periodic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>

namespace {

TEST(Waves, SineIsCloseToTheRealOneForManyPeriods) {
    for (std::int64_t period : {4, 7, 100, 427, 1000}) {
        for (std::int64_t phase = -2 * period; phase <= 2 * period; ++phase) {
            const double exact =
                1024.0 * std::sin(2.0 * 3.14159265358979323846 * static_cast<double>(phase) /
                                  static_cast<double>(period));
            EXPECT_NEAR(art::wave_sin(phase, period), exact, 2.5)
                << "phase " << phase << " of " << period;
        }
    }
}

TEST(Waves, SineHitsItsExtremesAndZeros) {
    EXPECT_EQ(art::wave_sin(0, 400), 0);
    EXPECT_EQ(art::wave_sin(100, 400), 1024);
    EXPECT_EQ(art::wave_sin(200, 400), 0);
    EXPECT_EQ(art::wave_sin(300, 400), -1024);
    EXPECT_EQ(art::wave_sin(5, 0), 0);  // no period: flat
}

TEST(Waves, PeakIsATriangleFromPeakToTrough) {
    const struct {
        std::int64_t phase;
        int expected;
    } cases[] = {{0, 1024}, {100, 512}, {200, 0}, {300, 512}, {400, 1024}, {-100, 512}, {50, 768}};
    for (const auto& c : cases)
        EXPECT_EQ(art::wave_peak(c.phase, 400), c.expected) << c.phase;
}

TEST(Waves, RepeatExactlyEveryPeriod) {
    // What keeps the scrolling scene seamless: any whole number of cycles over 427 columns.
    for (std::int64_t cycles : {1, 2, 3, 7, 17, 41}) {
        for (std::int64_t x = -427; x < 427; ++x) {
            ASSERT_EQ(art::wave_sin(cycles * x + 90, 427),
                      art::wave_sin(cycles * (x + 427) + 90, 427));
            ASSERT_EQ(art::wave_peak(cycles * x + 40, 427),
                      art::wave_peak(cycles * (x + 427) + 40, 427));
        }
    }
}

TEST(Prng, SameSeedSameSequenceAndValuesStayBelowTheBound) {
    art::Prng a{12345};
    art::Prng b{12345};
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i) {
        const int value = art::next_below(a, 10);
        ASSERT_EQ(value, art::next_below(b, 10));
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 10);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 10u);  // and it does scatter
    EXPECT_EQ(art::next_below(a, 0), 0);
}

}  // namespace
