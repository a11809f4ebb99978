// Loading the background from a file: a 427x160 24-bit bottom-up BMP, written to a temporary
// file once and read from it every iteration. Ours decodes into an existing image; SDL loads a
// surface and converts it to ARGB8888, which is what it takes to get the same pixels.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_pictures.h"
#include "gfx/bmp_file.h"
#include "tests/support/bmp_writer.h"

namespace {

using namespace bench;

// The file, removed when the program ends.
struct BackgroundFile {
    std::string name;
    BackgroundFile() {
        const gfx::Image image = make_background();
        std::vector<std::uint32_t> rgb(image.pixels.size());
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = image.pixels[i] & 0xFFFFFF;
        const auto bytes = bmp_test::bmp24(background_w, background_h, rgb);
        char pattern[] = "/tmp/unicorn_bench_XXXXXX";
        const int fd = ::mkstemp(pattern);
        if (fd < 0) throw std::runtime_error("mkstemp");
        name = pattern;
        const bool written =
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ::close(fd);
        if (!written) throw std::runtime_error("write " + name);
    }
    ~BackgroundFile() { std::remove(name.c_str()); }
};

const std::string& background_file() {
    static const BackgroundFile file;
    return file.name;
}

void load_ours(benchmark::State& state) {
    const std::string& name = background_file();
    gfx::Image image = *gfx::make_image(background_w, background_h);
    for (auto _ : state) {
        if (gfx::load_bmp_file(name.c_str(), &image) != gfx::LoadResult::ok) {
            state.SkipWithError("load_bmp_file failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(load_ours)->Name("load_background/ours");

void load_sdl(benchmark::State& state) {
    const std::string& name = background_file();
    for (auto _ : state) {
        SDL_Surface* loaded = SDL_LoadBMP(name.c_str());
        if (loaded == nullptr) {
            state.SkipWithError(SDL_GetError());
            break;
        }
        SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(loaded);
        benchmark::DoNotOptimize(converted);
        SDL_FreeSurface(converted);
    }
}
BENCHMARK(load_sdl)->Name("load_background/sdl");

}  // namespace
