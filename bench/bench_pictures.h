#pragma once

// The pictures the benchmarks draw, at the animation's sizes, and their SDL twins.

#include <SDL.h>

#include <memory>

#include "gfx/image.h"

namespace bench {

inline constexpr int screen_w = 240, screen_h = 160;
inline constexpr int background_w = 427, background_h = 160;
inline constexpr int sprite_w = 112, sprite_h = 79;

// A background of stripes and gradients, opaque.
gfx::Image make_background();

// An ellipse of varied colour on the mask colour: about four in five pixels drawn.
gfx::Image make_sprite();

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// An ARGB8888 surface holding a copy of `image`.
Surface make_surface(const gfx::Image& image);

}  // namespace bench
