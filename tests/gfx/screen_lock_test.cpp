// The screen lock and row marking: nesting by count, which rows an unlock or a put marks, and
// that a backend's thread is kept out for exactly as long as the program holds the lock.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>

#include <chrono>
#include <future>
#include <limits>

#include "gfx/facility.h"
#include "gfx/facility_testing.h"
#include "gfx/screen.h"

namespace {

using gfx::RowSpan;

// Whether another thread (a backend's) could take the lock right now.
bool backend_can_lock(gfx::Screen& screen) {
    return std::async(std::launch::async,
                      [&screen] { return gfx::try_lock_for_backend(screen).owns_lock(); })
        .get();
}

std::string span_text(RowSpan rows) {
    if (rows.empty()) return "none";
    return std::to_string(rows.first_row) + ".." + std::to_string(rows.last_row);
}

TEST(ScreenLock, OnlyTheOutermostUnlockLetsTheBackendIn) {
    gfx::Screen screen;
    screen.framebuffer = *gfx::make_image(4, 4);
    EXPECT_TRUE(backend_can_lock(screen));
    gfx::lock(screen);
    gfx::lock(screen);
    gfx::lock(screen);
    EXPECT_FALSE(backend_can_lock(screen));
    gfx::unlock(screen, RowSpan{0, 0});
    gfx::unlock(screen, RowSpan{1, 1});
    EXPECT_FALSE(backend_can_lock(screen));
    EXPECT_EQ(screen.lock_depth, 1);
    gfx::unlock(screen, RowSpan{3, 3});
    EXPECT_EQ(screen.lock_depth, 0);
    EXPECT_TRUE(backend_can_lock(screen));
    // Every unlock marked its rows, inner ones too.
    EXPECT_EQ(span_text(gfx::take_marked_rows(screen)), "0..3");
}

TEST(ScreenLock, AnUnbalancedUnlockOnlyMarksRows) {
    gfx::Screen screen;
    screen.framebuffer = *gfx::make_image(4, 4);
    gfx::unlock(screen, RowSpan{2, 2});
    EXPECT_EQ(screen.lock_depth, 0);
    EXPECT_TRUE(backend_can_lock(screen));
    // The mutex was not released once too often: locking and unlocking still pair up.
    gfx::lock(screen);
    EXPECT_FALSE(backend_can_lock(screen));
    gfx::unlock(screen, RowSpan{});
    EXPECT_TRUE(backend_can_lock(screen));
    EXPECT_EQ(span_text(gfx::take_marked_rows(screen)), "2..2");
}

// The facility's own calls, on the in-memory screen (240 x 160).
class MemoryScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        gfx::testing::close_screen();
        gfx::testing::use_memory_screen(true);
        ASSERT_TRUE(gfx::set_screen_mode(240, 160, 32, 0, 0, 0));
        gfx::testing::take_marked_rows();  // the opening mark of the whole screen
    }
    void TearDown() override {
        gfx::testing::close_screen();
        gfx::testing::use_memory_screen(false);
    }
};

struct UnlockCase {
    int first_row, last_row;
    const char* marked;
};

class UnlockMarks : public MemoryScreen, public ::testing::WithParamInterface<UnlockCase> {};

TEST_P(UnlockMarks, RowsAreClampedAndNegativeOnesStandForTheEdges) {
    const UnlockCase c = GetParam();
    gfx::lock_screen();
    gfx::unlock_screen(c.first_row, c.last_row);
    EXPECT_EQ(gfx::testing::lock_depth(), 0);
    EXPECT_EQ(span_text(gfx::testing::take_marked_rows()), c.marked)
        << "unlock_screen(" << c.first_row << ", " << c.last_row << ")";
}

constexpr int int_min = std::numeric_limits<int>::min();
constexpr int int_max = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(
    Rows, UnlockMarks,
    ::testing::Values(UnlockCase{-1, -1, "0..159"}, UnlockCase{10, 20, "10..20"},
                      UnlockCase{-7, 20, "0..20"}, UnlockCase{100, -1, "100..159"},
                      UnlockCase{150, 400, "150..159"}, UnlockCase{159, 159, "159..159"},
                      UnlockCase{160, 200, "none"}, UnlockCase{20, 10, "none"},
                      UnlockCase{int_min, int_max, "0..159"},
                      UnlockCase{int_max, int_min, "none"}));

TEST_F(MemoryScreen, MarksAddUpUntilPresented) {
    gfx::lock_screen();
    gfx::lock_screen();
    gfx::unlock_screen(30, 40);
    gfx::unlock_screen(5, 8);
    EXPECT_EQ(span_text(gfx::testing::take_marked_rows()), "5..40");
    EXPECT_EQ(span_text(gfx::testing::take_marked_rows()), "none");
}

struct PutCase {
    const char* name;
    int x, y;
    const char* marked;
};

class PutMarks : public MemoryScreen, public ::testing::WithParamInterface<PutCase> {};

TEST_P(PutMarks, APutMarksTheRowsItTouched) {
    const PutCase c = GetParam();
    const auto image = gfx::create_image(10, 5);
    ASSERT_NE(image, nullptr);
    gfx::put_image(gfx::screen, c.x, c.y, image.get(), gfx::PutMode::opaque);
    EXPECT_EQ(gfx::testing::lock_depth(), 0);  // the put took and released the lock itself
    EXPECT_EQ(span_text(gfx::testing::take_marked_rows()), c.marked);
}

INSTANTIATE_TEST_SUITE_P(Puts, PutMarks,
                         ::testing::Values(PutCase{"inside", 3, 7, "7..11"},
                                           PutCase{"over_the_top", 0, -3, "0..1"},
                                           PutCase{"over_the_bottom", 0, 157, "157..159"},
                                           PutCase{"left_of_the_screen", -10, 20, "none"},
                                           PutCase{"below_the_screen", 0, 160, "none"}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(MemoryScreen, PutWithoutImageDoesNothing) {
    gfx::put_image(gfx::screen, 0, 0, nullptr, gfx::PutMode::opaque);
    EXPECT_EQ(span_text(gfx::testing::take_marked_rows()), "none");
    EXPECT_EQ(gfx::testing::lock_depth(), 0);
}

struct ModeCase {
    int width, height, depth, pages, flags, refresh;
    bool opens;
};

class ScreenModes : public ::testing::TestWithParam<ModeCase> {
  protected:
    void TearDown() override {
        gfx::testing::close_screen();
        gfx::testing::use_memory_screen(false);
    }
};

TEST_P(ScreenModes, OpenWhatCanBeShownAndLeaveNoScreenOtherwise) {
    const ModeCase c = GetParam();
    gfx::testing::use_memory_screen(true);
    EXPECT_EQ(gfx::set_screen_mode(c.width, c.height, c.depth, c.pages, c.flags, c.refresh),
              c.opens);
    const auto image = gfx::create_image(8, 8);
    EXPECT_EQ(image != nullptr, c.opens);
    gfx::Image target = *gfx::make_image(1, 1);
    EXPECT_EQ(gfx::load_bitmap("does-not-exist.bmp", &target),
              c.opens ? gfx::LoadResult::cannot_open : gfx::LoadResult::no_screen);
    const gfx::Image shown = gfx::testing::screen_snapshot();
    if (c.opens) {
        ASSERT_EQ(shown.width, c.width);
        ASSERT_EQ(shown.height, c.height);
        for (const gfx::Pixel p : shown.pixels)
            ASSERT_EQ(p, 0xFF000000u);  // starts black
    } else {
        EXPECT_EQ(shown.width, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ScreenModes,
    ::testing::Values(ModeCase{240, 160, 32, 0, 0, 0, true}, ModeCase{240, 160, 32, 1, 0, 60, true},
                      ModeCase{640, 480, 32, 0, 0, 0, true}, ModeCase{240, 160, 16, 0, 0, 0, false},
                      ModeCase{240, 160, 24, 0, 0, 0, false},
                      ModeCase{240, 160, 32, 2, 0, 0, false},
                      ModeCase{240, 160, 32, 0, 1, 0, false}, ModeCase{0, 160, 32, 0, 0, 0, false},
                      ModeCase{240, -1, 32, 0, 0, 0, false},
                      ModeCase{240, 160, 32, 0, 0, -1, false}));

TEST(HeldKeys, OnlyScancodesZeroTo127CanBeHeld) {
    gfx::testing::use_memory_screen(true);
    ASSERT_TRUE(gfx::set_screen_mode(240, 160, 32, 0, 0, 0));
    gfx::testing::set_key_held(72, true);
    gfx::testing::set_key_held(127, true);
    EXPECT_EQ(gfx::is_key_down(72), -1);
    EXPECT_EQ(gfx::is_key_down(127), -1);
    EXPECT_EQ(gfx::is_key_down(80), 0);
    for (const int outside : {-1, 128, 72 + 256, int_min, int_max})
        EXPECT_EQ(gfx::is_key_down(outside), 0) << outside;
    gfx::testing::set_key_held(72, false);
    EXPECT_EQ(gfx::is_key_down(72), 0);
    gfx::testing::close_screen();
    gfx::testing::use_memory_screen(false);
}

void ignore_alarm(int) {}

TEST(SleepMs, ASignalDoesNotCutTheSleepShort) {
    struct sigaction action {};
    action.sa_handler = ignore_alarm;  // no SA_RESTART: the sleep sees EINTR
    sigemptyset(&action.sa_mask);
    struct sigaction old {};
    sigaction(SIGALRM, &action, &old);
    itimerval timer{};
    timer.it_value.tv_usec = 5000;
    timer.it_interval.tv_usec = 5000;  // many interruptions, not one
    setitimer(ITIMER_REAL, &timer, nullptr);
    const auto start = std::chrono::steady_clock::now();
    gfx::sleep_ms(60);
    const auto slept = std::chrono::steady_clock::now() - start;
    timer = itimerval{};
    setitimer(ITIMER_REAL, &timer, nullptr);
    sigaction(SIGALRM, &old, nullptr);
    EXPECT_GE(slept, std::chrono::milliseconds(60));
}

}  // namespace
