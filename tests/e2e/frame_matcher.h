#pragma once

// Recognises a grabbed window as one frame of the animation: which background offset, which
// sprite frame and where the sprite is, by composing candidates from the shipped art with the
// scene's rules and comparing every pixel.

#include <filesystem>
#include <optional>
#include <string>

#include "gfx/image.h"
#include "tests/support/x11_session.h"

namespace e2e {

struct Art {
    gfx::Image background;
    gfx::Image sprite[2];
};

// The three shipped bitmaps, decoded; nullopt if one does not load.
std::optional<Art> load_art(const std::filesystem::path& directory);

struct ShownFrame {
    int scroll_x = 0;
    int sprite_frame = 0;  // 1 or 2
    int sprite_x = 0;
    int sprite_y = 0;
};

// The frame the grab shows exactly, with the sprite at a place the steering rules can reach;
// nullopt when no frame matches every pixel (a torn or wrong frame).
std::optional<ShownFrame> identify_frame(const Art& art, const x11_test::WindowPixels& grab);

// Writes a grab as a PPM file in the temporary directory and returns its path, so a failing
// test can name the picture it saw.
std::string write_ppm(const x11_test::WindowPixels& grab, const std::string& stem);

}  // namespace e2e
