// The real program in a real X server: its window, what it shows, how it answers keys and
// close requests, and how it ends.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/e2e/frame_matcher.h"
#include "tests/e2e/program_process.h"
#include "tests/support/x11_session.h"

namespace {

using namespace std::chrono_literals;
using e2e::ProgramProcess;
using e2e::ShownFrame;

const std::filesystem::path assets_dir = UNICORN_ASSETS_DIR;
const std::filesystem::path executable = UNICORN_EXECUTABLE;

// A working directory holding copies of the shipped bitmaps, as the program expects.
class WorkingDirectory {
  public:
    WorkingDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "unicorn-wd-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        for (const char* name : {"background.bmp", "unicorn1.bmp", "unicorn2.bmp"}) {
            std::filesystem::copy_file(assets_dir / name, path_ / name);
        }
    }
    ~WorkingDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class ProgramInWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << x.error();
        auto loaded = e2e::load_art(assets_dir);
        ASSERT_TRUE(loaded) << "the shipped art in " << assets_dir << " does not load";
        art = std::move(*loaded);
        program = std::make_unique<ProgramProcess>(e2e::ProgramOptions{
            executable, dir.path(), {{"DISPLAY", x.display_name()}}, {"WAYLAND_DISPLAY"}, {}});
        ASSERT_TRUE(program->started());
        const auto found = x.find_window("unicorn", 10s);
        ASSERT_TRUE(found) << "no window titled \"unicorn\"";
        window = *found;
        // The window opens black; the first frame follows once the art is loaded.
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto grab = x.grab(window);
            if (grab && e2e::identify_frame(art, *grab)) return;
            std::this_thread::sleep_for(5ms);
        }
        FAIL() << "no whole frame within 5 s of the window opening";
    }

    // The frame the window shows now; fails the test if the grab is not a whole frame.
    ShownFrame shown() {
        const auto grab = x.grab(window);
        EXPECT_TRUE(grab);
        if (!grab) return {};
        const auto frame = e2e::identify_frame(art, *grab);
        EXPECT_TRUE(frame) << "the window shows no whole frame of the animation; grab written to "
                           << e2e::write_ppm(*grab, "unicorn-grab");
        return frame.value_or(ShownFrame{});
    }

    // Holds a key long enough for the 5-pixel steps to reach any bound.
    void hold(const char* keysym, std::chrono::milliseconds how_long) {
        ASSERT_TRUE(x.key_down(keysym));
        std::this_thread::sleep_for(how_long);
        ASSERT_TRUE(x.key_up(keysym));
        std::this_thread::sleep_for(100ms);  // let a last step and its frame through
    }

    void expect_ends_with_escape() {
        ASSERT_TRUE(x.tap_key("Escape", 40ms));
        const auto code = program->wait_for_exit(1000ms);
        ASSERT_TRUE(code) << "still running a second after Escape";
        EXPECT_EQ(*code, 0);
        EXPECT_EQ(program->stdout_text(), "");
        EXPECT_EQ(program->stderr_text(), "");
    }

    x11_test::X11Session x;
    WorkingDirectory dir;
    e2e::Art art;
    std::unique_ptr<ProgramProcess> program;
    x11_test::WindowId window = 0;
};

TEST_F(ProgramInWindow, OpensA240By160WindowTitledAfterTheExecutable) {
    EXPECT_EQ(x.window_title(window), "unicorn");
    const auto geometry = x.geometry(window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->width, 240);
    EXPECT_EQ(geometry->height, 160);
    expect_ends_with_escape();
}

TEST_F(ProgramInWindow, EveryGrabIsAWholeFrameOfTheShippedArtAndTheBackgroundScrolls) {
    int offsets_seen = 0;
    int last_offset = -1;
    for (int i = 0; i < 25; ++i) {
        const ShownFrame frame = shown();
        EXPECT_EQ(frame.sprite_x, 100);
        EXPECT_EQ(frame.sprite_y, 50);
        if (frame.scroll_x != last_offset) ++offsets_seen;
        last_offset = frame.scroll_x;
        std::this_thread::sleep_for(23ms);
    }
    EXPECT_GT(offsets_seen, 10) << "the background hardly moved";
    expect_ends_with_escape();
}

TEST_F(ProgramInWindow, ArrowsSteerTheSpriteUpToItsBoundsAndNoFurther) {
    hold("Right", 600ms);
    EXPECT_EQ(shown().sprite_x, 130);
    hold("Up", 400ms);
    EXPECT_EQ(shown().sprite_y, 40);
    hold("Left", 1000ms);
    EXPECT_EQ(shown().sprite_x, 0);
    hold("Down", 700ms);
    const ShownFrame frame = shown();
    EXPECT_EQ(frame.sprite_x, 0);
    EXPECT_EQ(frame.sprite_y, 100);
    expect_ends_with_escape();
}

TEST_F(ProgramInWindow, KeypadArrowsSteerLikeTheArrowKeys) {
    hold("KP_Right", 300ms);
    EXPECT_EQ(shown().sprite_x, 130);
    hold("KP_Up", 300ms);
    EXPECT_EQ(shown().sprite_y, 40);
    expect_ends_with_escape();
}

TEST_F(ProgramInWindow, WithTheWindowInactiveHeldKeysDoNotSteerButTheBackgroundScrolls) {
    ASSERT_TRUE(x.focus_away());
    std::this_thread::sleep_for(100ms);
    const int offset_before = shown().scroll_x;
    hold("Right", 300ms);
    const ShownFrame frame = shown();
    EXPECT_EQ(frame.sprite_x, 100);
    EXPECT_NE(frame.scroll_x, offset_before);
    ASSERT_TRUE(x.focus_window(window));
    std::this_thread::sleep_for(100ms);
    expect_ends_with_escape();
}

TEST_F(ProgramInWindow, CloseRequestAndAltF4LeaveItRunning) {
    ASSERT_TRUE(x.send_delete_window(window));
    ASSERT_TRUE(x.key_down("Alt_L"));
    ASSERT_TRUE(x.tap_key("F4", 40ms));
    ASSERT_TRUE(x.key_up("Alt_L"));
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(program->running());
    EXPECT_TRUE(x.window_exists(window));
    const int offset_before = shown().scroll_x;
    std::this_thread::sleep_for(100ms);
    EXPECT_NE(shown().scroll_x, offset_before) << "frames stopped after the close request";
    expect_ends_with_escape();
}

TEST(ProgramWithoutDisplay, EndsWithZeroOnEscapeFromStandardInput) {
    WorkingDirectory dir;
    ProgramProcess program(e2e::ProgramOptions{
        executable, dir.path(), {}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, "\x1b"});
    ASSERT_TRUE(program.started());
    const auto code = program.wait_for_exit(3000ms);
    ASSERT_TRUE(code) << "still running after Escape on standard input";
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(program.stdout_text(), "");
    EXPECT_EQ(program.stderr_text(), "");
}

TEST(ProgramWithoutDisplay, ArrowCodesBeforeEscapeAreReadAndDiscarded) {
    WorkingDirectory dir;
    ProgramProcess program(e2e::ProgramOptions{executable,
                                               dir.path(),
                                               {},
                                               {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"},
                                               "\x1b[A\x1b[Cq\x1b"});
    ASSERT_TRUE(program.started());
    const auto code = program.wait_for_exit(3000ms);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(program.stderr_text(), "");
}

}  // namespace
