#pragma once

// A private X server for a test program, and the few things a test does with windows on it.
//
//   x11_test::X11Session x;                 // starts Xvfb on a free display, connects to it
//   if (!x.ok()) GTEST_SKIP() << x.error(); // (or fail: Xvfb is a test dependency)
//   setenv("DISPLAY", x.display_name().c_str(), 1);   // or pass it to a child's environment
//   ... start the program or open the facility's screen ...
//   auto window = x.find_window("unicorn", std::chrono::seconds(5));
//   auto pixels = x.grab(*window);          // 0xRRGGBB, row after row
//   x.tap_key("Escape", std::chrono::milliseconds(40));
//
// The server is killed when the session is destroyed, and also if the test process dies
// (it is started with a parent-death signal). Nothing here needs a window manager: there is
// none, so windows get focus only when a client (or focus_away/focus_window) sets it.
// Xlib stays out of this header: windows are plain X ids.

#include <sys/types.h>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace x11_test {

using WindowId = unsigned long;  // an X window id (XID)

struct WindowGeometry {
    int x = 0;  // position of the client area on the root window
    int y = 0;
    int width = 0;  // size of the client area
    int height = 0;
};

// A window's pixels as the screen shows them, 0xRRGGBB, width * height entries.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t at(int x, int y) const {
        return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)];
    }
};

class X11Session {
  public:
    // Starts `Xvfb -displayfd <fd> -screen 0 640x480x24 -nolisten tcp`, waits (up to
    // `ready_timeout`) for it to report its display and accept a connection, and connects.
    explicit X11Session(std::chrono::milliseconds ready_timeout = std::chrono::seconds(15));
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool ok() const;                          // server running and connected
    const std::string& error() const;         // why not, when !ok()
    const std::string& display_name() const;  // ":N"
    pid_t server_pid() const;

    // A viewable window whose WM_NAME or _NET_WM_NAME is `title`, searched through the whole
    // window tree until it appears or `timeout` passes.
    std::optional<WindowId> find_window(std::string_view title, std::chrono::milliseconds timeout);

    // The window's title (_NET_WM_NAME if set, else WM_NAME); "" when it has none.
    std::string window_title(WindowId window);

    std::optional<WindowGeometry> geometry(WindowId window);

    // The window's client area as shown on the screen (XGetImage), or nullopt on failure.
    std::optional<WindowPixels> grab(WindowId window);

    // Synthetic keyboard through XTEST. A keysym is named as for XStringToKeysym ("Up",
    // "KP_Up", "Escape", "a"); a keycode is the server's (Xvfb's keycode 80 is the keypad's
    // 8/Up key). Return false when the name or code is unknown or XTEST is missing.
    bool key_down(std::string_view keysym);
    bool key_up(std::string_view keysym);
    bool key_down_code(int keycode);
    bool key_up_code(int keycode);
    // Press, wait `hold`, release.
    bool tap_key(std::string_view keysym, std::chrono::milliseconds hold);
    bool tap_key_code(int keycode, std::chrono::milliseconds hold);

    // Gives the keyboard focus to a window of this session's own (created on first use),
    // taking it from every other window. Returns that window.
    std::optional<WindowId> focus_away();
    // Gives the keyboard focus to `window`.
    bool focus_window(WindowId window);
    // The window that has the keyboard focus (0 when none).
    WindowId focused_window();

    // What a window manager sends when the user clicks the close button: a WM_PROTOCOLS client
    // message carrying WM_DELETE_WINDOW.
    bool send_delete_window(WindowId window);

    // Whether `window` still exists on the server.
    bool window_exists(WindowId window);

    // Waits until the server has handled every request sent so far.
    void sync();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace x11_test
