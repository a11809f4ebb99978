#pragma once

// The graphics facility's public face: one screen shown in a window, off-screen images,
// a bitmap loader, blits, the screen lock, and the keyboard. Every operation is safe to call
// when no screen could be opened; it then does what is documented for that case.

#include <memory>
#include <string>

#include "gfx/blit.h"
#include "gfx/bmp_decode.h"
#include "gfx/image.h"

namespace gfx {

// Opens the screen: a window showing a width x height framebuffer of `depth` bits, every pixel
// black. pages 0 (or 1) means one page, flags 0 windowed, refresh 0 the default rate. Returns
// whether a screen now exists. Without one, keys come from the terminal the process runs in.
bool set_screen_mode(int width, int height, int depth, int pages, int flags, int refresh);

// A new image filled with 0xFFFF00FF; nullptr when no screen exists or a size is unusable.
std::unique_ptr<Image> create_image(int width, int height);

// Loads a BMP file into an existing image (which keeps its size).
LoadResult load_bitmap(const char* file_name, Image* image);

// The screen as a drawing target.
struct ScreenTarget {};
inline constexpr ScreenTarget screen{};

// Draws `image` with its top-left corner at (x, y), clipped to the screen, under the screen
// lock, and marks the rows it touched for presentation. Does nothing without screen or image.
void put_image(ScreenTarget target, int x, int y, const Image* image, PutMode mode);

// While the screen is locked nothing reaches the window. Locks nest by count; only the outermost
// unlock releases. unlock_screen marks rows first_row..last_row for presentation: a negative
// first row means row 0, a negative last row means the last row.
void lock_screen();
void unlock_screen(int first_row, int last_row);

// -1 while the key with this PC set-1 scancode is held, 0 otherwise (always 0 outside 0-127).
int is_key_down(int scancode);

// The oldest queued key code, removed from the queue; "" when none is queued. Never waits.
std::string read_key();

// A plain sleep, not cut short by key presses.
void sleep_ms(int milliseconds);

}  // namespace gfx
