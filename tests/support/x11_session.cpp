#include "tests/support/x11_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

namespace x11_test {
namespace {

using Clock = std::chrono::steady_clock;

// Tests provoke windows that vanish while we look at them: a BadWindow must not end the test
// program, which is what Xlib's default handler does.
int ignore_x_error(Display*, XErrorEvent*) {
    return 0;
}

// Reads the display number Xvfb writes to -displayfd, ending in a newline.
std::optional<int> read_display_number(int fd, Clock::time_point deadline) {
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || text.size() > 16) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buffer[16];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;  // Xvfb exited before it was ready
        text.append(buffer, static_cast<std::size_t>(got));
    }
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || number < 0 || number > 65535) return std::nullopt;
    return static_cast<int>(number);
}

std::string text_property(Display* display, Window window, Atom property, Atom type) {
    Atom actual_type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actual_type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 8 && actual_type != 0) text.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return text;
}

int channel_shift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// A channel of `pixel` under `mask`, scaled to 0-255.
std::uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = channel_shift(mask);
    const unsigned long max = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>(value * 255 / max);
}

}  // namespace

struct X11Session::State {
    pid_t server = -1;
    std::string display_name;
    std::string error;
    Display* display = nullptr;
    Window focus_window = 0;
    Atom net_wm_name = 0;
    Atom utf8_string = 0;
    Atom wm_protocols = 0;
    Atom wm_delete_window = 0;

    bool find(Window root, std::string_view title, Window& found) {
        Window root_return = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, root, &root_return, &parent, &children, &count)) return false;
        bool hit = false;
        for (unsigned int i = 0; i < count && !hit; ++i) {
            const Window child = children[i];
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, child, &attributes) &&
                attributes.map_state == IsViewable && title_of(child) == title) {
                found = child;
                hit = true;
            } else {
                hit = find(child, title, found);
            }
        }
        if (children != nullptr) XFree(children);
        return hit;
    }

    std::string title_of(Window window) {
        std::string title = text_property(display, window, net_wm_name, utf8_string);
        if (title.empty()) title = text_property(display, window, XA_WM_NAME, AnyPropertyType);
        return title;
    }

    bool fake_key(int keycode, bool down) {
        if (display == nullptr || keycode < 8 || keycode > 255) return false;
        if (!XTestFakeKeyEvent(display, static_cast<unsigned int>(keycode), down ? True : False,
                               CurrentTime))
            return false;
        XSync(display, False);
        return true;
    }

    int keycode_of(std::string_view keysym_name) {
        if (display == nullptr) return 0;
        const std::string name(keysym_name);
        const KeySym keysym = XStringToKeysym(name.c_str());
        if (keysym == NoSymbol) return 0;
        return XKeysymToKeycode(display, keysym);
    }
};

X11Session::X11Session(std::chrono::milliseconds ready_timeout) : state_(new State) {
    State& s = *state_;
    const auto deadline = Clock::now() + ready_timeout;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        s.error = "pipe failed";
        return;
    }
    const pid_t parent = getpid();
    s.server = fork();
    if (s.server == 0) {
        // The child: die with the test, keep quiet, hand Xvfb the pipe's write end.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        const int write_end = dup(fds[1]);  // dup clears close-on-exec
        const std::string fd_text = std::to_string(write_end);
        execlp("Xvfb", "Xvfb", "-displayfd", fd_text.c_str(), "-screen", "0", "640x480x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (s.server < 0) {
        close(fds[0]);
        s.error = "fork failed";
        return;
    }
    const std::optional<int> number = read_display_number(fds[0], deadline);
    close(fds[0]);
    if (!number) {
        s.error = "Xvfb did not report a display (is it installed?)";
        return;
    }
    s.display_name = std::string(1, ':').append(std::to_string(*number));
    while (s.display == nullptr && Clock::now() < deadline) {
        s.display = XOpenDisplay(s.display_name.c_str());
        if (s.display == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (s.display == nullptr) {
        s.error = "cannot connect to Xvfb on " + s.display_name;
        return;
    }
    XSetErrorHandler(ignore_x_error);
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(s.display, &event_base, &error_base, &major, &minor)) {
        s.error = "the X server has no XTEST";
        return;
    }
    s.net_wm_name = XInternAtom(s.display, "_NET_WM_NAME", False);
    s.utf8_string = XInternAtom(s.display, "UTF8_STRING", False);
    s.wm_protocols = XInternAtom(s.display, "WM_PROTOCOLS", False);
    s.wm_delete_window = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
}

X11Session::~X11Session() {
    State& s = *state_;
    if (s.display != nullptr) XCloseDisplay(s.display);
    if (s.server > 0) {
        kill(s.server, SIGTERM);
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (waitpid(s.server, nullptr, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(s.server, SIGKILL);
                waitpid(s.server, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

bool X11Session::ok() const {
    return state_->display != nullptr && state_->error.empty();
}

const std::string& X11Session::error() const {
    return state_->error;
}

const std::string& X11Session::display_name() const {
    return state_->display_name;
}

pid_t X11Session::server_pid() const {
    return state_->server;
}

std::optional<WindowId> X11Session::find_window(std::string_view title,
                                                std::chrono::milliseconds timeout) {
    State& s = *state_;
    if (s.display == nullptr) return std::nullopt;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        Window found = 0;
        if (s.find(DefaultRootWindow(s.display), title, found)) return found;
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string X11Session::window_title(WindowId window) {
    if (state_->display == nullptr) return {};
    return state_->title_of(window);
}

std::optional<WindowGeometry> X11Session::geometry(WindowId window) {
    State& s = *state_;
    if (s.display == nullptr) return std::nullopt;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(s.display, window, &attributes)) return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(s.display, window, DefaultRootWindow(s.display), 0, 0, &x, &y,
                               &child))
        return std::nullopt;
    return WindowGeometry{x, y, attributes.width, attributes.height};
}

std::optional<WindowPixels> X11Session::grab(WindowId window) {
    State& s = *state_;
    if (s.display == nullptr) return std::nullopt;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(s.display, window, &attributes) || attributes.map_state != IsViewable)
        return std::nullopt;
    XImage* image = XGetImage(s.display, window, 0, 0, static_cast<unsigned int>(attributes.width),
                              static_cast<unsigned int>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) return std::nullopt;
    WindowPixels pixels;
    pixels.width = image->width;
    pixels.height = image->height;
    pixels.rgb.reserve(static_cast<std::size_t>(pixels.width) *
                       static_cast<std::size_t>(pixels.height));
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            pixels.rgb.push_back(channel(pixel, image->red_mask) << 16 |
                                 channel(pixel, image->green_mask) << 8 |
                                 channel(pixel, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return pixels;
}

bool X11Session::key_down(std::string_view keysym) {
    return key_down_code(state_->keycode_of(keysym));
}

bool X11Session::key_up(std::string_view keysym) {
    return key_up_code(state_->keycode_of(keysym));
}

bool X11Session::key_down_code(int keycode) {
    return state_->fake_key(keycode, true);
}

bool X11Session::key_up_code(int keycode) {
    return state_->fake_key(keycode, false);
}

bool X11Session::tap_key(std::string_view keysym, std::chrono::milliseconds hold) {
    return tap_key_code(state_->keycode_of(keysym), hold);
}

bool X11Session::tap_key_code(int keycode, std::chrono::milliseconds hold) {
    if (!key_down_code(keycode)) return false;
    std::this_thread::sleep_for(hold);
    return key_up_code(keycode);
}

std::optional<WindowId> X11Session::focus_away() {
    State& s = *state_;
    if (s.display == nullptr) return std::nullopt;
    if (s.focus_window == 0) {
        // In the top-left corner, clear of a window centred on the 640x480 screen, so grabs of
        // that window never show this one.
        s.focus_window =
            XCreateSimpleWindow(s.display, DefaultRootWindow(s.display), 0, 0, 64, 64, 0, 0, 0);
        XStoreName(s.display, s.focus_window, "x11_session focus");
        XMapRaised(s.display, s.focus_window);
        XSync(s.display, False);
        // Focus can only go to a viewable window: wait for the map to take effect.
        for (int i = 0; i < 200; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(s.display, s.focus_window, &attributes) &&
                attributes.map_state == IsViewable)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (!focus_window(s.focus_window)) return std::nullopt;
    return s.focus_window;
}

bool X11Session::focus_window(WindowId window) {
    State& s = *state_;
    if (s.display == nullptr) return false;
    XSetInputFocus(s.display, window, RevertToPointerRoot, CurrentTime);
    XSync(s.display, False);
    return focused_window() == window;
}

WindowId X11Session::focused_window() {
    State& s = *state_;
    if (s.display == nullptr) return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(s.display, &focus, &revert);
    return focus;
}

bool X11Session::send_delete_window(WindowId window) {
    State& s = *state_;
    if (s.display == nullptr) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = s.wm_protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(s.wm_delete_window);
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(s.display, window, False, NoEventMask, &event);
    XSync(s.display, False);
    return sent != 0;
}

bool X11Session::window_exists(WindowId window) {
    State& s = *state_;
    if (s.display == nullptr) return false;
    XWindowAttributes attributes;
    return XGetWindowAttributes(s.display, window, &attributes) != 0;
}

void X11Session::sync() {
    if (state_->display != nullptr) XSync(state_->display, False);
}

}  // namespace x11_test
