// Preloaded into the program (LD_PRELOAD) to time its frames without a tracer's overhead.
// It notes when the process's first thread, the one that runs the frame loop, starts each
// sleep; the gap between two starts is one frame period. At exit it writes a summary to the
// file named by FRAME_PERIOD_LOG: the count, the median and spread, and the mean of each block
// of 1000 frames, which shows any drift over a long run. Its storage is fixed and touched at
// load, so it adds nothing to the program's memory growth.

#include <dlfcn.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using ClockNanosleep = int (*)(clockid_t, int, const timespec*, timespec*);

constexpr std::int64_t bin_ns = 5'000;  // histogram resolution: 5 us
constexpr std::size_t bins = 10'000;    // up to 50 ms
constexpr std::size_t block = 1000;     // frames per drift block
constexpr std::size_t max_blocks = 4096;

struct Timing {
    std::array<std::uint32_t, bins + 1> histogram;  // the last bin holds everything longer
    std::array<double, max_blocks> block_mean_ms;
    std::int64_t last_start_ns;
    std::int64_t block_sum_ns;
    std::size_t periods;
    std::size_t blocks;
};
Timing timing;  // zero as a static; the constructor below touches its pages

std::int64_t now_ns() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

void note_sleep_start() {
    const std::int64_t now = now_ns();
    if (timing.last_start_ns != 0) {
        const std::int64_t gap = now - timing.last_start_ns;
        ++timing.histogram[std::min(static_cast<std::size_t>(gap / bin_ns), bins)];
        ++timing.periods;
        timing.block_sum_ns += gap;
        if (timing.periods % block == 0) {
            if (timing.blocks < max_blocks) {
                timing.block_mean_ms[timing.blocks++] =
                    static_cast<double>(timing.block_sum_ns) / block / 1e6;
            }
            timing.block_sum_ns = 0;
        }
    }
    timing.last_start_ns = now;
}

double quantile_ms(double q) {
    const auto wanted = static_cast<std::size_t>(q * static_cast<double>(timing.periods));
    std::size_t seen = 0;
    for (std::size_t i = 0; i <= bins; ++i) {
        seen += timing.histogram[i];
        if (seen > wanted) return (static_cast<double>(i) + 0.5) * bin_ns / 1e6;
    }
    return 0;
}

struct Report {
    Report() { std::memset(static_cast<void*>(&timing), 0, sizeof timing); }
    ~Report() {
        const char* path = std::getenv("FRAME_PERIOD_LOG");
        if (path == nullptr || timing.periods == 0) return;
        std::FILE* out = std::fopen(path, "w");
        if (out == nullptr) return;
        std::fprintf(out, "frames %zu, period median %.3f ms, p10 %.3f, p90 %.3f, p99 %.3f\n",
                     timing.periods, quantile_ms(0.5), quantile_ms(0.1), quantile_ms(0.9),
                     quantile_ms(0.99));
        std::fprintf(out, "mean period of each block of %zu frames (ms):", block);
        for (std::size_t i = 0; i < timing.blocks; ++i) {
            std::fprintf(out, " %.3f", timing.block_mean_ms[i]);
        }
        std::fprintf(out, "\n");
        std::fclose(out);
    }
} report;

}  // namespace

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* request,
                               timespec* remain) {
    static const auto real = reinterpret_cast<ClockNanosleep>(dlsym(RTLD_NEXT, "clock_nanosleep"));
    if (syscall(SYS_gettid) == getpid()) note_sleep_start();
    return real(clock, flags, request, remain);
}
