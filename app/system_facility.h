#pragma once

// The loop's facility in the real program: the graphics facility's own operations.

#include <memory>
#include <string>

#include "gfx/facility.h"

namespace animation {

struct SystemFacility {
    bool set_screen_mode(int w, int h, int depth, int pages, int flags, int refresh) {
        return gfx::set_screen_mode(w, h, depth, pages, flags, refresh);
    }
    std::unique_ptr<gfx::Image> create_image(int w, int h) { return gfx::create_image(w, h); }
    gfx::LoadResult load_bitmap(const char* name, gfx::Image* image) {
        return gfx::load_bitmap(name, image);
    }
    int is_key_down(int scancode) { return gfx::is_key_down(scancode); }
    void lock_screen() { gfx::lock_screen(); }
    void put_image(gfx::ScreenTarget target, int x, int y, const gfx::Image* image,
                   gfx::PutMode mode) {
        gfx::put_image(target, x, y, image, mode);
    }
    void unlock_screen(int first_row, int last_row) { gfx::unlock_screen(first_row, last_row); }
    void sleep_ms(int ms) { gfx::sleep_ms(ms); }
    std::string read_key() { return gfx::read_key(); }
};

}  // namespace animation
