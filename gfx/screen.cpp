#include "gfx/screen.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace gfx {

void mark_rows(Screen& screen, RowSpan rows) {
    const int last_screen_row = screen.framebuffer.height - 1;
    rows.first_row = std::max(rows.first_row, 0);
    rows.last_row = std::min(rows.last_row, last_screen_row);
    if (rows.empty()) return;
    if (screen.marked.empty()) {
        screen.marked = rows;
    } else {
        screen.marked.first_row = std::min(screen.marked.first_row, rows.first_row);
        screen.marked.last_row = std::max(screen.marked.last_row, rows.last_row);
    }
}

RowSpan take_marked_rows(Screen& screen) {
    const RowSpan rows = screen.marked;
    screen.marked = RowSpan{};
    return rows;
}

void lock(Screen& screen) {
    screen.lock.lock();
    ++screen.lock_depth;
}

void unlock(Screen& screen, RowSpan rows) {
    int wake_fd = -1;
    {
        // Taking the mutex once more tells us safely whether this thread is the holder: a
        // recursive mutex only lets its owner in again, so lock_depth > 0 here means it is ours.
        std::lock_guard guard(screen.lock);
        mark_rows(screen, rows);
        if (screen.lock_depth > 0) {
            --screen.lock_depth;
            screen.lock.unlock();
        }
        if (screen.lock_depth == 0 && !screen.marked.empty()) wake_fd = screen.present_wake_fd;
    }
    // Once the lock is free, or the woken backend would find it taken. The descriptor is closed
    // only when the screen is closed, which a program does not do while it draws.
    if (wake_fd >= 0) {
        const std::uint64_t one = 1;
        // A full counter (never, in practice) already means "wake up": nothing to handle.
        [[maybe_unused]] const ssize_t wrote = write(wake_fd, &one, sizeof one);
    }
}

std::unique_lock<std::recursive_mutex> try_lock_for_backend(Screen& screen) {
    std::unique_lock guard(screen.lock, std::try_to_lock);
    // Owning it means no lock_screen is outstanding: only the program's thread nests it, and
    // it would be holding the mutex. The check keeps that true if a backend ever nested it.
    if (guard.owns_lock() && screen.lock_depth > 0) guard.unlock();
    return guard;
}

}  // namespace gfx
