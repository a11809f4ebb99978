// The window backend: an SDL2 window showing the framebuffer, run by a thread of its own that
// makes every SDL call of the process (SDL_Init included), so that the window's events are
// pumped on the thread that created it and the program's thread never waits on SDL.

#include <SDL.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <string_view>
#include <thread>

#include "gfx/backend.h"
#include "gfx/key_codes.h"
#include "gfx/sdl_x11_fd.h"
#include "gfx/set1_scancodes.h"
#include "gfx/window_title.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GFX_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define GFX_LEAK_CHECKED 1
#endif

#ifdef GFX_LEAK_CHECKED
// SDL_Init starts libdbus, whose global state only dbus_shutdown frees, and SDL 2.26 never calls
// it. That memory is libdbus's own, once per process; the leak checker is told so here, where
// SDL is brought in, so that every program linking the facility can run under it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
// Without this the checker lists the suppression it used on stderr, which must stay silent.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

namespace gfx {
namespace {

// SDL's scancodes are USB HID usages; the set-1 and key-code tables are written in those.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_UP == 82 && SDL_SCANCODE_KP_8 == 96 &&
              SDL_SCANCODE_LCTRL == 224 && SDL_SCANCODE_RGUI == last_mapped_usb_usage);

constexpr long cycle_ns = 10'000'000;  // without an X socket: how often the window is refreshed
constexpr int retry_ms = 10;           // how soon to try again when the program held the lock
constexpr int after_present_ms = 25;   // see wait_for_work
constexpr int idle_ms = 250;           // longest sleep with nothing to do, as a safety net

void discard_log(void*, int, SDL_LogPriority, const char*) {}

bool env_set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Whether a Wayland compositor's socket is there to connect to. Without one, SDL's attempt
// prints libwayland's complaint on stderr, so it is better not made.
bool wayland_socket_exists() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || name[0] == '\0') return false;
    std::string path = name;
    if (path[0] != '/') {
        const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
        if (runtime_dir == nullptr || runtime_dir[0] != '/') return false;
        path = std::string(runtime_dir) + "/" + path;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// SDL never fails for want of a display: it falls back to an off-screen driver. So whether
// there can be a screen is decided here, and the driver SDL is to use along with it: the one
// the user chose through SDL_VIDEODRIVER, else SDL's own choice when a Wayland socket is
// there, else X11 when a display is named. nullptr: no screen. "": leave it to SDL.
const char* video_driver_to_use() {
    if (env_set("SDL_VIDEODRIVER")) return "";
    if (wayland_socket_exists()) return "";
    if (env_set("DISPLAY")) return "x11";
    return nullptr;
}

bool invisible_driver(const char* driver) {
    if (driver == nullptr) return true;
    const std::string_view name(driver);
    return name == "offscreen" || name == "dummy" || name == "evdev";
}

KeyPress key_press_of(const SDL_KeyboardEvent& key) {
    KeyPress press;
    press.usage = key.keysym.scancode;
    const SDL_Keycode sym = key.keysym.sym;
    if (sym > 0 && (sym & SDLK_SCANCODE_MASK) == 0) press.symbol = static_cast<char32_t>(sym);
    press.ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    press.alt = (key.keysym.mod & KMOD_ALT) != 0;
    press.num_lock = (key.keysym.mod & KMOD_NUM) != 0;
    return press;
}

class SdlWindowBackend final : public Backend {
  public:
    explicit SdlWindowBackend(Screen& screen) : screen_(screen) {}

    ~SdlWindowBackend() override {
        if (wake_fd_ >= 0) {
            std::lock_guard guard(screen_.lock);
            screen_.present_wake_fd = -1;
        }
        stop_ = true;
        wake();
        if (thread_.joinable()) thread_.join();
        if (wake_fd_ >= 0) ::close(wake_fd_);
    }

    // Starts the thread and waits for it to show the first frame or give up.
    bool start() {
        wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_fd_ >= 0) {
            std::lock_guard guard(screen_.lock);
            screen_.present_wake_fd = wake_fd_;
        }
        std::promise<bool> ready;
        std::future<bool> started = ready.get_future();
        thread_ = std::thread([this, promise = std::move(ready)]() mutable { run(promise); });
        if (started.get()) return true;
        thread_.join();
        return false;
    }

  private:
    void run(std::promise<bool>& ready) {
        // Woken by the program's unlock just before it goes to sleep itself: as a batch thread
        // this one waits for that instead of preempting it, which saves a switch per frame.
        sched_param batch{};
        pthread_setschedparam(pthread_self(), SCHED_BATCH, &batch);
        if (!open()) {
            close();
            ready.set_value(false);
            return;
        }
        present_first_frame();
        x_fd_ = x11_connection_fd(window_);
        ready.set_value(true);
        while (!stop_) {
            wait_for_work();
            cycle();
        }
        close();
    }

    void wake() {
        if (wake_fd_ < 0) return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t wrote = write(wake_fd_, &one, sizeof one);
    }

    // Sleeps until there is something to do: an X event, a frame the program completed (its
    // unlock writes wake_fd_), a stop, or a retry after the program held the lock. Waking only
    // then costs less than a timer would, and shows a frame as soon as it is done. Without an
    // X socket to wait on (another video driver), every cycle_ns instead.
    void wait_for_work() {
        if (x_fd_ < 0 || wake_fd_ < 0) {
            timespec tick{0, cycle_ns};
            while (clock_nanosleep(CLOCK_MONOTONIC, 0, &tick, &tick) == EINTR) {
            }
            return;
        }
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
        std::array<pollfd, 2> fds{};
        fds[0] = {wake_fd_, POLLIN, 0};
        fds[1] = {x_fd_, POLLIN, 0};
        // Presenting waits for the X server's reply, and Xlib queues events that arrive
        // meanwhile where poll() cannot see them: after a present, look again within about a
        // frame (a program drawing frames wakes this thread sooner with each one).
        poll(fds.data(), fds.size(), retry_ ? retry_ms : presented_ ? after_present_ms : idle_ms);
        if ((fds[0].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = read(wake_fd_, &count, sizeof count);
        }
    }

    bool open() {
        const Screen& s = screen_;
        const int width = s.framebuffer.width;
        const int height = s.framebuffer.height;
        const char* driver_hint = video_driver_to_use();
        if (driver_hint == nullptr) return false;
        // SDL writes its warnings to stderr; the program prints nothing.
        SDL_LogSetOutputFunction(discard_log, nullptr);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        if (driver_hint[0] != '\0') SDL_SetHint(SDL_HINT_VIDEODRIVER, driver_hint);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        sdl_started_ = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (invisible_driver(driver)) {
            const char* chosen = std::getenv("SDL_VIDEODRIVER");
            if (chosen == nullptr || driver == nullptr || std::strcmp(chosen, driver) != 0)
                return false;
        }
        const std::string title = window_title_from_path(executable_path());
        window_ =
            SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                             SDL_WINDOWPOS_CENTERED_DISPLAY(0), width, height, SDL_WINDOW_SHOWN);
        if (window_ == nullptr) return false;
        window_id_ = SDL_GetWindowID(window_);
        // An arrow over the window, as a desktop program has; X's own default is a cross.
        cursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        if (cursor_ != nullptr) SDL_SetCursor(cursor_);
        SDL_RaiseWindow(window_);
        SDL_StartTextInput();
        return SDL_GetWindowSurface(window_) != nullptr;
    }

    void close() {
        if (window_ != nullptr) SDL_DestroyWindow(window_);
        window_ = nullptr;
        if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
        cursor_ = nullptr;
        if (sdl_started_) SDL_Quit();
        sdl_started_ = false;
        // SDL keeps per-thread data (its error message) that it frees only when asked to, on
        // the thread it belongs to; this thread is about to end.
        SDL_TLSCleanup();
    }

    void present_first_frame() {
        SDL_PumpEvents();
        {
            // The program waits in set_screen_mode, but may do so under its own lock_screen:
            // the window surface starts black like the framebuffer, so it can be shown as is.
            auto guard = try_lock_for_backend(screen_);
            if (guard.owns_lock()) copy_rows(take_marked_rows(screen_));
        }
        SDL_UpdateWindowSurface(window_);
        focused_ = SDL_GetKeyboardFocus() == window_;
    }

    void cycle() {
        // One pump a cycle (SDL_PollEvent would pump once per event).
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
            handle(event);

        // The held table follows SDL's keyboard state while the window has the focus; at any
        // change of focus, and all the time without it, every key reads released.
        const bool focused = SDL_GetKeyboardFocus() == window_;
        const bool activation_changed = focused != focused_;
        focused_ = focused;
        std::array<bool, scancode_count> held{};
        if (focused && !activation_changed) {
            int count = 0;
            const Uint8* state = SDL_GetKeyboardState(&count);
            const int last = std::min(count - 1, last_mapped_usb_usage);
            for (int usage = 0; usage <= last; ++usage) {
                const int set1 = set1_from_usb_usage(usage);
                if (set1 != 0 && state[usage] != 0) held[static_cast<std::size_t>(set1)] = true;
            }
        }

        RowSpan copied;
        {
            auto guard = try_lock_for_backend(screen_);
            // Locked: nothing is shown, and the keys wait here until the next try.
            retry_ = !guard.owns_lock();
            if (retry_) return;
            while (pending_.count > 0)
                push_key_code(screen_.keys, pop_key_code(pending_));
            screen_.held = held;
            copied = copy_rows(take_marked_rows(screen_));
        }
        // Right after a change of focus every key reads released; come back soon to read the
        // keys that are down from then on.
        retry_ = activation_changed;
        presented_ = !copied.empty() || exposed_;
        if (!copied.empty()) {
            SDL_Rect rect{0, copied.first_row, screen_.framebuffer.width,
                          copied.last_row - copied.first_row + 1};
            SDL_UpdateWindowSurfaceRects(window_, &rect, 1);
        } else if (exposed_) {
            SDL_UpdateWindowSurface(window_);
        }
        exposed_ = false;
    }

    // Copies framebuffer rows to the window surface (call under the screen lock). Returns the
    // rows copied.
    RowSpan copy_rows(RowSpan rows) {
        if (rows.empty()) return rows;
        SDL_Surface* surface = SDL_GetWindowSurface(window_);  // may be new after a resize
        if (surface == nullptr) return RowSpan{};
        const Image& fb = screen_.framebuffer;
        rows.last_row = std::min(rows.last_row, std::min(fb.height, surface->h) - 1);
        const int width = std::min(fb.width, surface->w);
        if (rows.empty() || width <= 0) return RowSpan{};
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return RowSpan{};
        const int src_pitch = fb.width * static_cast<int>(sizeof(Pixel));
        const Pixel* src = fb.pixels.data() + static_cast<std::size_t>(rows.first_row) *
                                                  static_cast<std::size_t>(fb.width);
        auto* dst = static_cast<Uint8*>(surface->pixels) +
                    static_cast<std::ptrdiff_t>(rows.first_row) * surface->pitch;
        // The framebuffer is XRGB8888 as far as the window goes: the top byte is not shown.
        // On X11 the surface has that format too and SDL copies the rows with memcpy.
        SDL_ConvertPixels(width, rows.last_row - rows.first_row + 1, SDL_PIXELFORMAT_RGB888, src,
                          src_pitch, surface->format->format, dst, surface->pitch);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        return rows;
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
            case SDL_KEYDOWN:
                if (event.key.windowID == window_id_) {
                    push_key_code(pending_, code_for_key_press(key_press_of(event.key)));
                }
                break;
            case SDL_TEXTINPUT:
                push_key_code(pending_, code_for_text(event.text.text));
                break;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                    // The close button asks; the program decides. The window stays.
                    push_key_code(pending_, extended_code(extended::close_request));
                } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    exposed_ = true;
                }
                break;
            default:
                break;  // SDL_QUIT included: closing is the program's business
        }
    }

    Screen& screen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    bool sdl_started_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Cursor* cursor_ = nullptr;
    Uint32 window_id_ = 0;
    bool focused_ = false;
    bool exposed_ = false;
    KeyQueue pending_;  // codes typed while the program held the lock, oldest first
    int wake_fd_ = -1;  // eventfd: the program completed a frame, or stop
    int x_fd_ = -1;     // the X connection's socket, -1 for other drivers
    bool retry_ = false;
    bool presented_ = false;
};

}  // namespace

std::unique_ptr<Backend> start_window_backend(Screen& screen) {
    if (screen.framebuffer.width <= 0 || screen.framebuffer.height <= 0) return nullptr;
    auto backend = std::make_unique<SdlWindowBackend>(screen);
    if (!backend->start()) return nullptr;
    return backend;
}

}  // namespace gfx
