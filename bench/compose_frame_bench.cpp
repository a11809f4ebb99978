// One frame of the animation's drawing: the scrolled background twice (at the offset and one
// background width to the left of it), then the sprite with its colour key, into a screen-sized
// destination. Ours against SDL_BlitSurface, and against a memcpy of as many bytes as the frame
// writes into the destination (the floor: no drawing writes those bytes faster).

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_pictures.h"
#include "gfx/blit.h"

namespace {

using namespace bench;

constexpr int sprite_x = 64, sprite_y = 40;

// Offsets step through the whole scroll so no single split is favoured.
int scroll_offset(std::int64_t frame) {
    return static_cast<int>(frame * 7 % background_w);
}

void compose_ours(benchmark::State& state) {
    const gfx::Image background = make_background();
    const gfx::Image sprite = make_sprite();
    gfx::Image screen = *gfx::make_image(screen_w, screen_h);
    std::int64_t frame = 0;
    for (auto _ : state) {
        const int offset = scroll_offset(frame++);
        gfx::blit(screen, offset, 0, background, gfx::PutMode::opaque);
        gfx::blit(screen, offset - background_w, 0, background, gfx::PutMode::opaque);
        gfx::blit(screen, sprite_x, sprite_y, sprite, gfx::PutMode::transparent);
        benchmark::DoNotOptimize(screen.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(compose_ours)->Name("compose_frame/ours");

void compose_sdl(benchmark::State& state) {
    const Surface background = make_surface(make_background());
    const Surface sprite = make_surface(make_sprite());
    const Surface screen = make_surface(*gfx::make_image(screen_w, screen_h));
    SDL_SetSurfaceBlendMode(background.get(), SDL_BLENDMODE_NONE);
    SDL_SetSurfaceBlendMode(sprite.get(), SDL_BLENDMODE_NONE);
    SDL_SetColorKey(sprite.get(), SDL_TRUE, 0xFF00FF);
    std::int64_t frame = 0;
    for (auto _ : state) {
        const int offset = scroll_offset(frame++);
        // SDL_BlitSurface clips the destination rectangle in place: a fresh one each time.
        SDL_Rect at{offset, 0, 0, 0};
        SDL_BlitSurface(background.get(), nullptr, screen.get(), &at);
        at = {offset - background_w, 0, 0, 0};
        SDL_BlitSurface(background.get(), nullptr, screen.get(), &at);
        at = {sprite_x, sprite_y, 0, 0};
        SDL_BlitSurface(sprite.get(), nullptr, screen.get(), &at);
        benchmark::DoNotOptimize(screen->pixels);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(compose_sdl)->Name("compose_frame/sdl");

void compose_memcpy(benchmark::State& state) {
    // The background blits write the whole screen, the sprite blit every one of its pixels
    // (a keyed pixel is written back unchanged).
    constexpr std::size_t pixels = screen_w * screen_h + sprite_w * sprite_h;
    const gfx::Image background = make_background();  // larger than `pixels`
    std::vector<gfx::Pixel> screen(pixels);
    const std::size_t bytes = pixels * sizeof(gfx::Pixel);
    for (auto _ : state) {
        std::memcpy(screen.data(), background.pixels.data(), bytes);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(compose_memcpy)->Name("compose_frame/memcpy");

}  // namespace
