#pragma once

// The state that the program's thread and a backend's thread share. Every field is guarded by
// `lock`, the screen lock: the program holds it while it draws, a backend takes it (without
// waiting) to present marked rows and to update the keys.

#include <array>
#include <mutex>

#include "gfx/blit.h"
#include "gfx/image.h"
#include "gfx/key_queue.h"

namespace gfx {

inline constexpr int scancode_count = 128;
inline constexpr Pixel screen_black = 0xFF000000;

struct Screen {
    std::recursive_mutex lock;
    int lock_depth = 0;  // lock_screen calls not yet matched by unlock_screen
    Image framebuffer;   // empty while no screen exists
    RowSpan marked;      // rows waiting to be presented
    std::array<bool, scancode_count> held{};
    KeyQueue keys;
    // An eventfd of the backend's, or -1. The outermost unlock that leaves rows marked writes
    // to it, so that the backend shows a frame as soon as it is complete instead of polling.
    // Set and cleared by the backend on the program's thread, when it starts and stops.
    int present_wake_fd = -1;
};

// Adds rows to the marked span, clamped to the framebuffer.
void mark_rows(Screen& screen, RowSpan rows);

// Takes the marked span and leaves it empty. Call with the lock held.
RowSpan take_marked_rows(Screen& screen);

// Program-side lock: nests by count, waits if a backend holds the lock for a moment.
void lock(Screen& screen);

// Marks `rows` and undoes one lock(). An unlock without a matching lock only marks the rows.
// When the lock is then free and rows are marked, wakes the backend (present_wake_fd).
void unlock(Screen& screen, RowSpan rows);

// Backend side: the lock if nobody holds it right now, else an empty guard. A backend's thread
// never waits for the program, which may keep the screen locked for as long as it likes.
std::unique_lock<std::recursive_mutex> try_lock_for_backend(Screen& screen);

}  // namespace gfx
