#pragma once

// The socket of the X connection behind an SDL window, for waiting on its events with poll().
// Kept apart from the window backend: SDL_syswm.h brings in Xlib, whose macros (KeyPress, None,
// Status, ...) would clash with the backend's own names.

struct SDL_Window;

namespace gfx {

// The X connection's file descriptor, or -1 when the window is not an X11 one.
int x11_connection_fd(SDL_Window* window);

}  // namespace gfx
