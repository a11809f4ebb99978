#pragma once

// The program's start-up and its one loop, written against a facility type so that a test can
// run the real loop on a recording facility. Production uses SystemFacility (app/main.cpp).

#include <string>

#include "gfx/facility.h"
#include "scene/scene.h"

namespace animation {

inline constexpr int screen_width = 240;
inline constexpr int screen_height = 160;
inline constexpr int background_width = background_period;
inline constexpr int background_height = 160;
inline constexpr int sprite_width = 112;
inline constexpr int sprite_height = 79;
inline constexpr int frame_pause_ms = 18;

// PC set-1 scancodes of the arrow keys.
inline constexpr int scancode_up = 72;
inline constexpr int scancode_down = 80;
inline constexpr int scancode_left = 75;
inline constexpr int scancode_right = 77;

inline const std::string escape_code(1, '\x1b');

// Opens the screen, loads the art from the working directory and runs frames until the key
// queue yields Escape. No result is tested: a failed call leaves the run going with whatever it
// left behind (no screen: keys from the terminal; a missing file: the image keeps its fill).
template <class Facility>
void run_animation(Facility& gfx) {
    gfx.set_screen_mode(screen_width, screen_height, 32, 0, 0, 0);

    const auto background = gfx.create_image(background_width, background_height);
    const auto sprite_frame_1 = gfx.create_image(sprite_width, sprite_height);
    const auto sprite_frame_2 = gfx.create_image(sprite_width, sprite_height);
    gfx.load_bitmap("background.bmp", background.get());
    gfx.load_bitmap("unicorn1.bmp", sprite_frame_1.get());
    gfx.load_bitmap("unicorn2.bmp", sprite_frame_2.get());

    Scene scene;
    for (;;) {
        HeldKeys held;
        held.up = gfx.is_key_down(scancode_up) != 0;
        held.down = gfx.is_key_down(scancode_down) != 0;
        held.left = gfx.is_key_down(scancode_left) != 0;
        held.right = gfx.is_key_down(scancode_right) != 0;
        step_scene(scene, held);

        // Under the lock the window sees none of this frame until the unlock hands it over
        // whole. The two copies of the background cover every column, so nothing is cleared.
        gfx.lock_screen();
        gfx.put_image(gfx::screen, scene.scroll_x, 0, background.get(), gfx::PutMode::opaque);
        gfx.put_image(gfx::screen, scene.scroll_x - background_period, 0, background.get(),
                      gfx::PutMode::opaque);
        const gfx::Image* sprite =
            sprite_frame_index(scene) == 1 ? sprite_frame_1.get() : sprite_frame_2.get();
        gfx.put_image(gfx::screen, scene.sprite_x, scene.sprite_y, sprite,
                      gfx::PutMode::transparent);
        gfx.unlock_screen(-1, -1);

        gfx.sleep_ms(frame_pause_ms);
        if (gfx.read_key() == escape_code) break;
    }
}

}  // namespace animation
