// The real window, on a private Xvfb: what it shows, that it only ever shows whole frames, its
// title and size, and the keys it feeds (held keys, codes, focus, the close button). The screen
// is this test program's own, opened once through the facility's public calls.

#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gfx/facility.h"
#include "gfx/facility_testing.h"
#include "tests/gfx/probe_process.h"
#include "tests/support/x11_session.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto patience = 5s;  // shared CI machines and ASan are slow; passing cases are fast
const char* const title = "gfx_window_tests";
const std::string ext = "\xFF";

// Polls `condition` until it holds or `timeout` passes.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
}

// Appends the codes read from the queue to `codes` as they arrive, until `done(codes)` holds
// or patience runs out; false then.
bool read_codes_until(std::vector<std::string>& codes,
                      const std::function<bool(const std::vector<std::string>&)>& done) {
    return eventually(
        [&] {
            for (std::string k = gfx::read_key(); !k.empty(); k = gfx::read_key())
                codes.push_back(k);
            return done(codes);
        },
        patience);
}

// One X server and one window for the whole test program.
struct WindowWorld {
    std::unique_ptr<x11_test::X11Session> x;
    x11_test::WindowId window = 0;
    std::string problem;
};

WindowWorld& world() {
    static WindowWorld w;
    return w;
}

class WindowEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        WindowWorld& w = world();
        w.x = std::make_unique<x11_test::X11Session>();
        if (!w.x->ok()) {
            w.problem = "no Xvfb: " + w.x->error();
            return;
        }
        setenv("DISPLAY", w.x->display_name().c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
        if (!gfx::set_screen_mode(240, 160, 32, 0, 0, 0)) {
            w.problem = "set_screen_mode found no screen on " + w.x->display_name();
            return;
        }
        const auto found = w.x->find_window(title, patience);
        if (!found) {
            w.problem = "no window titled " + std::string(title);
            return;
        }
        w.window = *found;
    }
    void TearDown() override {
        // The window goes before its X server does.
        gfx::testing::close_screen();
        world().x.reset();
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

class RealWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(world().problem.empty()) << world().problem;
        x = world().x.get();
        window = world().window;
        // Start each test focused and with nothing queued.
        x->focus_window(window);
        ASSERT_TRUE(eventually([] { return gfx::read_key().empty(); }, patience));
        std::this_thread::sleep_for(30ms);
        while (!gfx::read_key().empty()) {
        }
    }

    // Waits until the window shows `expected` (rgb, any top byte); on failure says where.
    ::testing::AssertionResult shows(const gfx::Image& expected) {
        std::optional<x11_test::WindowPixels> grab;
        std::string difference = "no grab";
        const bool same = eventually(
            [&] {
                grab = x->grab(window);
                if (!grab) return false;
                if (grab->width != expected.width || grab->height != expected.height) {
                    difference =
                        "size " + std::to_string(grab->width) + "x" + std::to_string(grab->height);
                    return false;
                }
                for (int y = 0; y < expected.height; ++y)
                    for (int px = 0; px < expected.width; ++px) {
                        const std::uint32_t want = expected.at(px, y) & 0xFFFFFF;
                        if (grab->at(px, y) != want) {
                            std::ostringstream out;
                            out << "first difference at (" << px << ", " << y << "): expected "
                                << std::hex << want << ", window shows " << grab->at(px, y);
                            difference = out.str();
                            return false;
                        }
                    }
                return true;
            },
            patience);
        if (same) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << difference;
    }

    std::unique_ptr<gfx::Image> filled(int width, int height, gfx::Pixel colour) {
        auto image = gfx::create_image(width, height);
        if (image) image->pixels.assign(image->pixels.size(), colour);
        return image;
    }

    x11_test::X11Session* x = nullptr;
    x11_test::WindowId window = 0;
};

TEST_F(RealWindow, IsTitledAfterTheProgramAndShowsTheScreenUnscaled) {
    EXPECT_EQ(x->window_title(window), title);
    const auto geometry = x->geometry(window);
    ASSERT_TRUE(geometry.has_value());
    EXPECT_EQ(geometry->width, 240);
    EXPECT_EQ(geometry->height, 160);
    // Centred on Xvfb's 640 x 480 screen.
    EXPECT_EQ(geometry->x, (640 - 240) / 2);
    EXPECT_EQ(geometry->y, (480 - 160) / 2);
    EXPECT_EQ(x->focused_window(), window);
}

TEST_F(RealWindow, ShowsTheDrawnFrameIgnoringTheTopByte) {
    gfx::Image frame = *gfx::make_image(240, 160);
    for (int y = 0; y < 160; ++y)
        for (int px = 0; px < 240; ++px)
            // Every channel varies; the top byte is 0 in some pixels and not in others.
            frame.at(px, y) = static_cast<gfx::Pixel>(((px + y) % 3) << 24 | (px & 0xFF) << 16 |
                                                      (y * 3 & 0xFF) << 8 | ((px ^ y) & 0xFF));
    gfx::lock_screen();
    gfx::put_image(gfx::screen, 0, 0, &frame, gfx::PutMode::opaque);
    gfx::unlock_screen(-1, -1);
    EXPECT_TRUE(shows(frame));

    // A put of a few rows shows those rows and leaves the rest as they were.
    const auto band = filled(100, 10, 0xFF10E020);
    gfx::put_image(gfx::screen, 70, 50, band.get(), gfx::PutMode::opaque);
    for (int y = 50; y < 60; ++y)
        for (int px = 70; px < 170; ++px)
            frame.at(px, y) = 0xFF10E020;
    EXPECT_TRUE(shows(frame));
    EXPECT_TRUE(shows(gfx::testing::screen_snapshot()));
}

TEST_F(RealWindow, NeverShowsAMixedFrame) {
    // A drawer paints whole frames of one colour each, in four puts with pauses between them;
    // without the lock a grab would catch the bands of two frames.
    const auto black = filled(240, 160, 0xFF000000);
    gfx::put_image(gfx::screen, 0, 0, black.get(), gfx::PutMode::opaque);
    ASSERT_TRUE(shows(*black));
    std::atomic<bool> stop{false};
    std::thread drawer([&] {
        const auto band = gfx::create_image(240, 40);
        for (std::uint32_t n = 1; !stop; ++n) {
            const gfx::Pixel colour = 0xFF000000 | ((n * 0x3F1D27u) & 0xFFFFFF);
            band->pixels.assign(band->pixels.size(), colour);
            gfx::lock_screen();
            for (int row = 0; row < 160; row += 40) {
                gfx::put_image(gfx::screen, 0, row, band.get(), gfx::PutMode::opaque);
                std::this_thread::sleep_for(1ms);
            }
            gfx::unlock_screen(-1, -1);
            std::this_thread::sleep_for(3ms);
        }
    });
    std::set<std::uint32_t> colours;
    int mixed = 0;
    std::string first_mixed;
    for (int i = 0; i < 300; ++i) {
        const auto grab = x->grab(window);
        ASSERT_TRUE(grab.has_value());
        const std::uint32_t top = grab->at(0, 0);
        colours.insert(top);
        for (int y = 0; y < 160; ++y) {
            if (grab->at(239, y) != top || grab->at(0, y) != top) {
                if (mixed++ == 0) {
                    std::ostringstream out;
                    out << "grab " << i << ": row 0 is " << std::hex << top << ", row " << std::dec
                        << y << " is " << std::hex << grab->at(0, y);
                    first_mixed = out.str();
                }
                break;
            }
        }
        std::this_thread::sleep_for(1ms);
    }
    stop = true;
    drawer.join();
    EXPECT_EQ(mixed, 0) << first_mixed;
    // The frames did get through: the test saw many of them.
    EXPECT_GE(colours.size(), 10u);
}

struct HeldCase {
    const char* name;
    const char* keysym;  // or nullptr to use keycode
    int keycode;
    int scancode;
};

class HeldKeys : public RealWindow, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldKeys, ReadHeldWhileDownAndReleasedAfter) {
    const HeldCase& c = GetParam();
    const auto down = [&] {
        return c.keysym ? x->key_down(c.keysym) : x->key_down_code(c.keycode);
    };
    const auto up = [&] { return c.keysym ? x->key_up(c.keysym) : x->key_up_code(c.keycode); };
    ASSERT_EQ(gfx::is_key_down(c.scancode), 0);
    ASSERT_TRUE(down());
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(eventually([&] { return gfx::is_key_down(c.scancode) == -1; }, patience));
    ASSERT_TRUE(up());
    EXPECT_TRUE(eventually([&] { return gfx::is_key_down(c.scancode) == 0; }, patience));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HeldKeys,
    ::testing::Values(HeldCase{"up", "Up", 0, 72}, HeldCase{"down", "Down", 0, 80},
                      HeldCase{"left", "Left", 0, 75}, HeldCase{"right", "Right", 0, 77},
                      HeldCase{"keypad_up", "KP_Up", 0, 72},
                      HeldCase{"keypad_8_by_keycode", nullptr, 80, 72},
                      HeldCase{"keypad_down", "KP_Down", 0, 80},
                      HeldCase{"keypad_left", "KP_Left", 0, 75},
                      HeldCase{"keypad_right", "KP_Right", 0, 77}, HeldCase{"home", "Home", 0, 71},
                      HeldCase{"escape", "Escape", 0, 1}, HeldCase{"a", "a", 0, 30},
                      HeldCase{"space", "space", 0, 57}, HeldCase{"left_ctrl", "Control_L", 0, 29},
                      HeldCase{"right_shift", "Shift_R", 0, 54}, HeldCase{"f12", "F12", 0, 88}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(RealWindow, MovingTheFocusAwayReleasesEveryKey) {
    ASSERT_TRUE(x->key_down("Left"));
    ASSERT_TRUE(eventually([] { return gfx::is_key_down(75) == -1; }, patience));
    EXPECT_EQ(gfx::read_key(), ext + "K");
    ASSERT_TRUE(x->focus_away().has_value());
    // Still physically down, but the window is no longer active.
    EXPECT_TRUE(eventually([] { return gfx::is_key_down(75) == 0; }, patience));
    ASSERT_TRUE(x->key_down("Up"));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(gfx::is_key_down(72), 0) << "a key pressed elsewhere counts as held";
    x->key_up("Up");
    x->key_up("Left");
    EXPECT_EQ(gfx::read_key(), "") << "a key typed elsewhere was queued";
    ASSERT_TRUE(x->focus_window(window));
    ASSERT_TRUE(x->key_down("Down"));
    EXPECT_TRUE(eventually([] { return gfx::is_key_down(80) == -1; }, patience));
    x->key_up("Down");
    EXPECT_TRUE(eventually([] { return gfx::is_key_down(80) == 0; }, patience));
}

TEST_F(RealWindow, TheCloseButtonQueuesACodeAndTheWindowStays) {
    ASSERT_TRUE(x->send_delete_window(window));
    std::string code;
    EXPECT_TRUE(eventually([&] { return !(code = gfx::read_key()).empty(); }, patience));
    EXPECT_EQ(code, "\xFFk");
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(x->window_exists(window));
    EXPECT_TRUE(x->find_window(title, 0ms).has_value()) << "no longer viewable";
    EXPECT_EQ(gfx::read_key(), "");
}

struct CodeCase {
    const char* name;
    std::vector<const char*> modifiers;  // held around the key
    const char* keysym;
    std::string code;  // "" : nothing may be queued
};

class KeyCodes : public RealWindow, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(KeyCodes, ATypedKeyQueuesItsCode) {
    const CodeCase& c = GetParam();
    for (const char* m : c.modifiers)
        ASSERT_TRUE(x->key_down(m)) << m;
    ASSERT_TRUE(x->tap_key(c.keysym, 20ms)) << c.keysym;
    for (auto m = c.modifiers.rbegin(); m != c.modifiers.rend(); ++m)
        x->key_up(*m);
    // A marker key after it: everything before it has been handled by the time it arrives.
    ASSERT_TRUE(x->tap_key("z", 5ms));
    std::vector<std::string> codes;
    EXPECT_TRUE(
        read_codes_until(codes, [](const auto& got) { return !got.empty() && got.back() == "z"; }));
    std::vector<std::string> expected;
    if (!c.code.empty()) expected.push_back(c.code);
    expected.push_back("z");
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(x->window_exists(window));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyCodes,
    ::testing::Values(
        CodeCase{"escape", {}, "Escape", "\x1b"}, CodeCase{"enter", {}, "Return", "\r"},
        CodeCase{"keypad_enter", {}, "KP_Enter", "\r"}, CodeCase{"tab", {}, "Tab", "\t"},
        CodeCase{"backspace", {}, "BackSpace", "\b"}, CodeCase{"letter", {}, "a", "a"},
        CodeCase{"shifted_letter", {"Shift_L"}, "a", "A"},
        CodeCase{"shifted_digit", {"Shift_L"}, "1", "!"}, CodeCase{"space", {}, "space", " "},
        CodeCase{"ctrl_c", {"Control_L"}, "c", "\x03"},
        CodeCase{"ctrl_a", {"Control_R"}, "a", "\x01"}, CodeCase{"up", {}, "Up", ext + "H"},
        CodeCase{"down", {}, "Down", ext + "P"}, CodeCase{"left", {}, "Left", ext + "K"},
        CodeCase{"right", {}, "Right", ext + "M"}, CodeCase{"home", {}, "Home", ext + "G"},
        CodeCase{"end", {}, "End", ext + "O"}, CodeCase{"page_up", {}, "Prior", ext + "I"},
        CodeCase{"page_down", {}, "Next", ext + "Q"}, CodeCase{"insert", {}, "Insert", ext + "R"},
        CodeCase{"delete", {}, "Delete", ext + "S"}, CodeCase{"f1", {}, "F1", ext + "\x3b"},
        CodeCase{"f10", {}, "F10", ext + "\x44"}, CodeCase{"f11", {}, "F11", ext + "\x85"},
        CodeCase{"f12", {}, "F12", ext + "\x86"},
        CodeCase{"keypad_up_without_num_lock", {}, "KP_Up", ext + "H"},
        CodeCase{"keypad_home_without_num_lock", {}, "KP_Home", ext + "G"},
        CodeCase{"keypad_delete_without_num_lock", {}, "KP_Delete", ext + "S"},
        CodeCase{"alt_f4", {"Alt_L"}, "F4", ""}, CodeCase{"shift_alone", {}, "Shift_L", ""}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(RealWindow, WithNumLockTheKeypadTypesDigits) {
    ASSERT_TRUE(x->tap_key("Num_Lock", 10ms));
    x->tap_key_code(80, 10ms);  // keypad 8
    x->tap_key_code(87, 10ms);  // keypad 1
    ASSERT_TRUE(x->tap_key("Num_Lock", 10ms));
    x->tap_key_code(80, 10ms);
    std::vector<std::string> codes;
    EXPECT_TRUE(read_codes_until(codes, [](const auto& got) { return got.size() >= 3; }));
    EXPECT_EQ(codes, (std::vector<std::string>{"8", "1", ext + "H"}));
}

TEST_F(RealWindow, EachAutoRepeatQueuesACode) {
    // Xvfb repeats a held key after 660 ms, 25 times a second.
    ASSERT_TRUE(x->tap_key("Right", 1000ms));
    std::this_thread::sleep_for(50ms);
    int rights = 0;
    for (std::string k = gfx::read_key(); !k.empty(); k = gfx::read_key()) {
        EXPECT_EQ(k, ext + "M");
        ++rights;
    }
    EXPECT_GE(rights, 3) << "one for the press, more for the repeats";
}

TEST_F(RealWindow, KeysTypedWhileLockedArriveInOrderAfterTheUnlock) {
    gfx::lock_screen();
    for (const char* key : {"h", "Up", "i", "Escape"})
        ASSERT_TRUE(x->tap_key(key, 5ms));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(gfx::read_key(), "") << "queued while the program held the lock";
    gfx::unlock_screen(0, -1);
    std::vector<std::string> codes;
    EXPECT_TRUE(read_codes_until(codes, [](const auto& got) { return got.size() >= 4; }));
    EXPECT_EQ(codes, (std::vector<std::string>{"h", ext + "H", "i", "\x1b"}));
}

TEST_F(RealWindow, ClosingTheScreenRemovesTheWindowAndANewModeOpensANewOne) {
    gfx::testing::close_screen();
    EXPECT_TRUE(eventually([&] { return !x->window_exists(window); }, patience));
    ASSERT_TRUE(gfx::set_screen_mode(240, 160, 32, 0, 0, 0));
    const auto again = x->find_window(title, patience);
    ASSERT_TRUE(again.has_value());
    world().window = *again;
    window = *again;
    EXPECT_TRUE(shows(*gfx::make_image(240, 160, 0xFF000000)));
}

// A program of its own (facility_probe) on this display: its window appears, Escape typed into
// it ends it with 0, and at exit its window is gone, with nothing printed on the way.
TEST_F(RealWindow, AProgramsWindowClosesWhenItEnds) {
    probe::ProbeProcess p(
        {probe::Input::dev_null, {{"DISPLAY", x->display_name()}, {"PROBE_FRAME_MS", "18"}}, {}});
    ASSERT_TRUE(p.wait_for("ready 1", patience)) << p.lines_text() << p.output();
    const auto probe_window = x->find_window("facility_probe", patience);
    ASSERT_TRUE(probe_window.has_value());
    EXPECT_TRUE(eventually(
        [&] {
            const auto grab = x->grab(*probe_window);
            return grab && grab->at(0, 0) == 0x3366CC && grab->at(239, 159) == 0x3366CC;
        },
        patience))
        << "the probe's frame never showed";
    ASSERT_TRUE(x->focus_window(*probe_window));
    ASSERT_TRUE(x->tap_key("Escape", 20ms));
    ASSERT_TRUE(p.wait_for("bye", patience)) << p.lines_text();
    const auto exit = p.wait_exit(patience);
    ASSERT_TRUE(exit.has_value());
    EXPECT_TRUE(exit->exited) << "signal " << exit->signal;
    EXPECT_EQ(exit->status, 0);
    EXPECT_FALSE(x->window_exists(*probe_window));
    EXPECT_EQ(p.output(), "");
}

}  // namespace
