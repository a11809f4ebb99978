#include "gfx/sdl_x11_fd.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace gfx {

int x11_connection_fd(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return -1;
    return ConnectionNumber(info.info.x11.display);
#else
    static_cast<void>(window);
    return -1;
#endif
}

}  // namespace gfx
