// A small program of the tests that uses the facility as a real program does, from its own
// process: it opens the screen, then reports every key code and held-key change on the file
// descriptor named by PROBE_REPORT_FD (3 when unset), never on stdout or stderr, which must
// stay silent. It ends with 0 when read_key yields Escape.
//
// PROBE_EXIT_KEY=c    on reading the character c, end through exit(0) instead of returning
// PROBE_FRAME_MS=n    draw a whole screen (lock, put, unlock) then sleep n ms, every frame;
//                     otherwise poll every 2 ms without drawing
// PROBE_COLOUR=rrggbb the colour drawn (default 3366cc)
//
// Report lines: "ready 1" / "ready 0" (whether a screen opened), "key XX [XX]" (hex bytes),
// "down N" / "up N" (set-1 scancode), "bye".

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string>

#include "gfx/facility.h"

namespace {

int report_fd = 3;

void report(const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(report_fd, text.data() + done, text.size() - done);
        if (wrote <= 0) return;
        done += static_cast<std::size_t>(wrote);
    }
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char b : bytes) {
        const auto v = static_cast<unsigned char>(b);
        if (!out.empty()) out += ' ';
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

int env_int(const char* name, int fallback, int base = 10) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0'
               ? static_cast<int>(std::strtol(value, nullptr, base))
               : fallback;
}

}  // namespace

int main() {
    report_fd = env_int("PROBE_REPORT_FD", 3);
    const char* exit_key = std::getenv("PROBE_EXIT_KEY");
    const int frame_ms = env_int("PROBE_FRAME_MS", 0);
    const auto colour = static_cast<gfx::Pixel>(env_int("PROBE_COLOUR", 0x3366CC, 16));

    const bool screen = gfx::set_screen_mode(240, 160, 32, 0, 0, 0);
    report(screen ? "ready 1" : "ready 0");
    const auto frame = gfx::create_image(240, 160);
    if (frame) frame->pixels.assign(frame->pixels.size(), 0xFF000000 | colour);

    std::array<bool, 128> held{};
    for (;;) {
        if (frame && frame_ms > 0) {
            gfx::lock_screen();
            gfx::put_image(gfx::screen, 0, 0, frame.get(), gfx::PutMode::opaque);
            gfx::unlock_screen(-1, -1);
        }
        gfx::sleep_ms(frame_ms > 0 ? frame_ms : 2);
        // Drawing frames, poll what the animation polls (the arrows); else every key.
        for (int scancode = 0; scancode < 128; ++scancode) {
            if (frame_ms > 0 && scancode != 72 && scancode != 75 && scancode != 77 &&
                scancode != 80)
                continue;
            const bool down = gfx::is_key_down(scancode) != 0;
            if (down == held[static_cast<std::size_t>(scancode)]) continue;
            held[static_cast<std::size_t>(scancode)] = down;
            report((down ? "down " : "up ") + std::to_string(scancode));
        }
        const std::string code = gfx::read_key();
        if (code.empty()) continue;
        report("key " + hex(code));
        if (exit_key != nullptr && code == std::string(1, exit_key[0])) std::exit(0);
        if (code == "\x1b") break;
    }
    report("bye");
    return 0;
}
