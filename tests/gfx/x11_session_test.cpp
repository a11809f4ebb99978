// The X11 test helpers on their own, against a window of the session's own, so that a fault in
// them is not mistaken for one in the facility.

#include "tests/support/x11_session.h"

#include <gtest/gtest.h>
#include <signal.h>

namespace {

using namespace std::chrono_literals;

TEST(X11Session, StartsAPrivateServerAndFindsItsWindowsByTitle) {
    x11_test::X11Session x;
    ASSERT_TRUE(x.ok()) << x.error();
    EXPECT_EQ(x.display_name().rfind(':', 0), 0u) << x.display_name();
    EXPECT_FALSE(x.find_window("no such window", 50ms).has_value());

    const auto own = x.focus_away();
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(x.focused_window(), *own);
    const auto found = x.find_window("x11_session focus", 2s);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, *own);
    EXPECT_EQ(x.window_title(*own), "x11_session focus");

    const auto geometry = x.geometry(*own);
    ASSERT_TRUE(geometry.has_value());
    EXPECT_EQ(geometry->width, 64);
    EXPECT_EQ(geometry->height, 64);
    const auto pixels = x.grab(*own);
    ASSERT_TRUE(pixels.has_value());
    ASSERT_EQ(pixels->rgb.size(), 64u * 64u);
    EXPECT_EQ(pixels->at(10, 10), 0x000000u);  // created with a black background
}

TEST(X11Session, KnowsKeysByNameAndRefusesUnknownOnes) {
    x11_test::X11Session x;
    ASSERT_TRUE(x.ok()) << x.error();
    EXPECT_TRUE(x.tap_key("KP_Up", 1ms));
    EXPECT_TRUE(x.tap_key_code(80, 1ms));
    EXPECT_FALSE(x.tap_key("NotAKeysym", 1ms));
    EXPECT_FALSE(x.key_down_code(3));  // X keycodes start at 8
}

TEST(X11Session, ServerStopsWithTheSession) {
    pid_t server = -1;
    {
        x11_test::X11Session x;
        ASSERT_TRUE(x.ok()) << x.error();
        server = x.server_pid();
    }
    EXPECT_NE(kill(server, 0), 0) << "Xvfb " << server << " still running";
}

}  // namespace
