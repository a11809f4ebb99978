#include "gfx/facility.h"

#include <cerrno>
#include <ctime>
#include <limits>

#include "gfx/backend.h"
#include "gfx/bmp_file.h"
#include "gfx/facility_testing.h"
#include "gfx/screen.h"

namespace gfx {
namespace {

// The one screen of the process. At exit its backend goes first (members die in reverse
// order), while the screen it feeds still exists: the window is removed and the terminal gets
// its modes back without the program having to ask.
struct Facility {
    Screen screen;
    std::unique_ptr<Backend> backend;
    bool memory_screen = false;
};

Facility& facility() {
    static Facility instance;
    return instance;
}

bool has_screen(const Screen& shared) {
    return shared.framebuffer.width > 0;
}

bool mode_supported(int width, int height, int depth, int pages, int flags, int refresh) {
    // One windowed 32-bit page is all a software framebuffer in a window can honestly offer.
    return width > 0 && height > 0 && width <= max_image_side && height <= max_image_side &&
           depth == 32 && (pages == 0 || pages == 1) && flags == 0 && refresh >= 0;
}

void close(Facility& f) {
    f.backend.reset();
    std::lock_guard guard(f.screen.lock);
    f.screen.framebuffer = Image{};
    f.screen.marked = RowSpan{};
    f.screen.held = {};
    f.screen.keys = KeyQueue{};
}

}  // namespace

bool set_screen_mode(int width, int height, int depth, int pages, int flags, int refresh) {
    Facility& f = facility();
    close(f);
    if (mode_supported(width, height, depth, pages, flags, refresh)) {
        {
            std::lock_guard guard(f.screen.lock);
            f.screen.framebuffer = std::move(*make_image(width, height, screen_black));
            mark_rows(f.screen, RowSpan{0, height - 1});
        }
        if (f.memory_screen) return true;
        f.backend = start_window_backend(f.screen);
        if (f.backend) return true;
        close(f);  // no window after all: back to no screen
    }
    if (!f.memory_screen) f.backend = start_console_backend(f.screen);
    return false;
}

std::unique_ptr<Image> create_image(int width, int height) {
    Screen& shared = facility().screen;
    {
        std::lock_guard guard(shared.lock);
        if (!has_screen(shared)) return nullptr;
    }
    return make_image(width, height);
}

LoadResult load_bitmap(const char* file_name, Image* image) {
    Screen& shared = facility().screen;
    {
        std::lock_guard guard(shared.lock);
        if (!has_screen(shared)) return LoadResult::no_screen;
    }
    return load_bmp_file(file_name, image);
}

void put_image(ScreenTarget, int x, int y, const Image* image, PutMode mode) {
    Screen& shared = facility().screen;
    if (image == nullptr) return;
    lock(shared);
    RowSpan touched;
    if (has_screen(shared)) touched = blit(shared.framebuffer, x, y, *image, mode);
    unlock(shared, touched);
}

void lock_screen() {
    lock(facility().screen);
}

void unlock_screen(int first_row, int last_row) {
    Screen& shared = facility().screen;
    // Negative rows stand for the screen's edges; the span is then clamped to the screen.
    const int last_screen_row = std::numeric_limits<int>::max();
    unlock(shared,
           RowSpan{first_row < 0 ? 0 : first_row, last_row < 0 ? last_screen_row : last_row});
}

int is_key_down(int scancode) {
    if (scancode < 0 || scancode >= scancode_count) return 0;
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    return shared.held[static_cast<std::size_t>(scancode)] ? -1 : 0;
}

std::string read_key() {
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    return pop_key_code(shared.keys);
}

void sleep_ms(int milliseconds) {
    if (milliseconds <= 0) return;
    // To a deadline, so that a signal interrupting the sleep neither shortens nor stretches it.
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1'000'000L;
    if (deadline.tv_nsec >= 1'000'000'000L) {
        deadline.tv_nsec -= 1'000'000'000L;
        ++deadline.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

namespace testing {

void use_memory_screen(bool on) {
    facility().memory_screen = on;
}

void close_screen() {
    close(facility());
}

void set_key_held(int scancode, bool held) {
    if (scancode < 0 || scancode >= scancode_count) return;
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    shared.held[static_cast<std::size_t>(scancode)] = held;
}

void queue_key_code(std::string_view code) {
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    push_key_code(shared.keys, code);
}

Image screen_snapshot() {
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    return shared.framebuffer;
}

RowSpan take_marked_rows() {
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    return gfx::take_marked_rows(shared);
}

int lock_depth() {
    Screen& shared = facility().screen;
    std::lock_guard guard(shared.lock);
    return shared.lock_depth;
}

}  // namespace testing
}  // namespace gfx
