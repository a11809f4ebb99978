// Measures how long the real program takes from its start to the first whole frame of the
// animation in its window, under a private Xvfb. Not a test: a number to read.
//   first_frame_probe [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/frame_matcher.h"
#include "tests/e2e/program_process.h"
#include "tests/support/x11_session.h"

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::filesystem::path assets = UNICORN_ASSETS_DIR;
    x11_test::X11Session x;
    const auto art = e2e::load_art(assets);
    if (!x.ok() || !art) {
        std::fprintf(stderr, "no X server or no art: %s\n", x.error().c_str());
        return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        e2e::ProgramProcess program(e2e::ProgramOptions{
            UNICORN_EXECUTABLE, assets, {{"DISPLAY", x.display_name()}}, {"WAYLAND_DISPLAY"}, {}});
        while (Clock::now() - start < std::chrono::seconds(5)) {
            const auto window = x.find_window("unicorn", std::chrono::milliseconds(0));
            if (!window) continue;
            const auto grab = x.grab(*window);
            if (grab && e2e::identify_frame(*art, *grab)) {
                times.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                break;
            }
        }
    }
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        std::printf("no whole frame seen\n");
        return 1;
    }
    std::printf("first whole frame after start: median %.1f ms, min %.1f, max %.1f (%zu runs)\n",
                times[times.size() / 2], times.front(), times.back(), times.size());
    return 0;
}
