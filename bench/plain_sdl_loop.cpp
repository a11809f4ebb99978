// The yardstick for the program's CPU: the same animation written the ordinary way, as one
// thread that blits SDL surfaces straight onto the window surface and presents it itself.
// scripts/compare_cpu.sh runs it side by side with the program. Run it from a folder holding
// the three bitmaps; Escape ends it.

#include <SDL.h>
#include <time.h>

#include <cerrno>

#include "scene/scene.h"

namespace {

constexpr int screen_width = 240;
constexpr int screen_height = 160;
constexpr long frame_pause_ns = 18'000'000;

// Loaded and converted once to the window's format, as an SDL program would, so that each
// frame's blits are plain copies. Magenta is the transparent colour of the sprite frames.
SDL_Surface* load(const char* name, const SDL_PixelFormat* format, bool keyed) {
    SDL_Surface* loaded = SDL_LoadBMP(name);
    if (loaded == nullptr) return nullptr;
    SDL_Surface* converted = SDL_ConvertSurface(loaded, format, 0);
    SDL_FreeSurface(loaded);
    if (converted != nullptr && keyed)
        SDL_SetColorKey(converted, SDL_TRUE, SDL_MapRGB(converted->format, 255, 0, 255));
    return converted;
}

bool escape_pressed() {
    SDL_Event event;
    bool escape = false;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) escape = true;
    }
    return escape;
}

void pause_between_frames() {
    timespec pause{0, frame_pause_ns};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, &pause) == EINTR) {
    }
}

int run(SDL_Window* window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return 1;
    SDL_Surface* background = load("background.bmp", surface->format, false);
    SDL_Surface* frame_1 = load("unicorn1.bmp", surface->format, true);
    SDL_Surface* frame_2 = load("unicorn2.bmp", surface->format, true);
    int status = background != nullptr && frame_1 != nullptr && frame_2 != nullptr ? 0 : 1;

    Scene scene;
    while (status == 0 && !escape_pressed()) {
        const Uint8* keys = SDL_GetKeyboardState(nullptr);
        HeldKeys held;
        held.up = keys[SDL_SCANCODE_UP] != 0;
        held.down = keys[SDL_SCANCODE_DOWN] != 0;
        held.left = keys[SDL_SCANCODE_LEFT] != 0;
        held.right = keys[SDL_SCANCODE_RIGHT] != 0;
        step_scene(scene, held);

        surface = SDL_GetWindowSurface(window);
        if (surface == nullptr) {
            status = 1;
            break;
        }
        SDL_Rect first{scene.scroll_x, 0, 0, 0};
        SDL_Rect second{scene.scroll_x - background_period, 0, 0, 0};
        SDL_Rect sprite{scene.sprite_x, scene.sprite_y, 0, 0};
        SDL_BlitSurface(background, nullptr, surface, &first);
        SDL_BlitSurface(background, nullptr, surface, &second);
        SDL_BlitSurface(sprite_frame_index(scene) == 1 ? frame_1 : frame_2, nullptr, surface,
                        &sprite);
        SDL_UpdateWindowSurface(window);
        pause_between_frames();
    }
    SDL_FreeSurface(frame_2);
    SDL_FreeSurface(frame_1);
    SDL_FreeSurface(background);
    return status;
}

}  // namespace

int main() {
    // The same window path as the program's: SDL's software framebuffer, not OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window =
        SDL_CreateWindow("plain_sdl_loop", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         screen_width, screen_height, SDL_WINDOW_SHOWN);
    const int status = window != nullptr ? run(window) : 1;
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}
