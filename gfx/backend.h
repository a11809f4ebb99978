#pragma once

// What shows the screen and feeds its keys. A backend runs a thread of its own that meets the
// program's thread only under the screen lock; destroying the backend stops that thread and
// gives back everything it took (the window, the terminal's modes).

#include <memory>

#include "gfx/screen.h"

namespace gfx {

class Backend {
  public:
    virtual ~Backend() = default;
};

// A window showing screen.framebuffer, with the held keys and key queue fed from it.
// nullptr when no display can be opened. Returns once the window shows its first frame.
std::unique_ptr<Backend> start_window_backend(Screen& screen);

// Keys from the terminal (standard input) for when there is no window. Never fails: with
// nothing to read it simply delivers no keys.
std::unique_ptr<Backend> start_console_backend(Screen& screen);

}  // namespace gfx
