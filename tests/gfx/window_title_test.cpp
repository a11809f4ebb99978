#include "gfx/window_title.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    const char* path;
    const char* title;
};

class WindowTitle : public ::testing::TestWithParam<TitleCase> {};

TEST_P(WindowTitle, IsTheFileNameWithoutItsExtension) {
    EXPECT_EQ(gfx::window_title_from_path(GetParam().path), GetParam().title) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WindowTitle,
    ::testing::Values(TitleCase{"./unicorn", "unicorn"},
                      TitleCase{"/usr/local/bin/unicorn", "unicorn"},
                      TitleCase{"unicorn", "unicorn"}, TitleCase{"my.demo.exe", "my.demo"},
                      TitleCase{"/opt/v1.2/game", "game"}, TitleCase{"/opt/game.exe", "game"},
                      TitleCase{".hidden", ".hidden"}, TitleCase{"/x/.hidden.bin", ".hidden"},
                      TitleCase{"trailing.", "trailing"}, TitleCase{"dir/", ""},
                      TitleCase{"", ""}));

TEST(WindowTitle, ComesFromTheRunningExecutable) {
    EXPECT_EQ(gfx::window_title_from_path(gfx::executable_path()), "gfx_unit_tests");
}

}  // namespace
