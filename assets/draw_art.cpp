// Draws the animation's pictures and writes them as BMP files into the directory given.
#include <cstdio>
#include <string>

#include "assets/art/background_art.h"
#include "assets/art/bmp24_writer.h"
#include "assets/art/unicorn_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: draw_art OUTPUT_DIRECTORY\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    const struct {
        const char* name;
        art::Canvas canvas;
    } pictures[] = {
        {"background.bmp", art::draw_background()},
        {"unicorn1.bmp", art::draw_unicorn(0)},
        {"unicorn2.bmp", art::draw_unicorn(1)},
    };
    for (const auto& picture : pictures) {
        const std::string path = dir + "/" + picture.name;
        if (!art::write_file(path, art::encode_bmp24(picture.canvas))) {
            std::fprintf(stderr, "draw_art: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
