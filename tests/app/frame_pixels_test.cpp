// What the loop leaves on the screen: the scrolled background, the sprite frame at its place,
// and what missing, odd-sized or damaged bitmaps turn into.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "app/animation.h"
#include "tests/app/recording_facility.h"
#include "tests/app/temp_art_dir.h"

namespace {

using app_test::RecordingFacility;
using app_test::TempArtDir;
using gfx::Image;
using gfx::Pixel;

// A picture's 0xRRGGBB at (x, y), or nothing where the picture has no pixel.
using Picture = std::function<std::optional<Pixel>(int, int)>;

// An image as the loader leaves it: the fill, with the picture's pixels made opaque on top.
Image loaded_image(int width, int height, const Picture& picture) {
    Image image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::optional<Pixel> colour = picture(x, y);
            image.pixels.push_back(colour ? 0xFF000000 | *colour : 0xFFFF00FFu);
        }
    }
    return image;
}

Picture picture_of_size(int w, int h) {
    return [w, h](int x, int y) -> std::optional<Pixel> {
        if (x < w && y < h) return app_test::background_colour(x, y);
        return std::nullopt;
    };
}

Image sprite_image(int frame) {
    return loaded_image(112, 79,
                        [frame](int x, int y) { return app_test::sprite_colour(frame, x, y); });
}

// The screen that one frame should leave, worked out pixel by pixel: screen column c shows
// background column (c - scroll_x) mod 427, and the sprite's non-mask pixels lie on top with
// their top byte cleared.
Image expected_screen(const Image& background, const Image& sprite, int scroll_x, int sprite_x,
                      int sprite_y) {
    Image screen{240, 160, {}};
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 240; ++x) {
            const int bx = ((x - scroll_x) % 427 + 427) % 427;
            Pixel pixel = background.at(bx, y);
            const int sx = x - sprite_x, sy = y - sprite_y;
            if (sx >= 0 && sy >= 0 && sx < sprite.width && sy < sprite.height) {
                const Pixel p = sprite.at(sx, sy);
                if ((p & 0xFFFFFF) != 0xFF00FF) pixel = p & 0xFFFFFF;
            }
            screen.pixels.push_back(pixel);
        }
    }
    return screen;
}

::testing::AssertionResult same_pixels(const Image& want, const Image& got) {
    if (want.width != got.width || want.height != got.height) {
        return ::testing::AssertionFailure() << "size " << got.width << "x" << got.height
                                             << ", expected " << want.width << "x" << want.height;
    }
    for (int y = 0; y < want.height; ++y) {
        for (int x = 0; x < want.width; ++x) {
            if (want.at(x, y) != got.at(x, y)) {
                std::ostringstream out;
                out << std::hex << "first difference at (" << std::dec << x << ", " << y
                    << "): expected 0x" << std::hex << want.at(x, y) << ", got 0x" << got.at(x, y);
                return ::testing::AssertionFailure() << out.str();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int scroll_after(int frames) {
    return ((-3 * frames) % 427 + 427) % 427;
}

// Runs the loop until Escape on `frames` and returns the screen it left.
Image screen_after(int frames) {
    RecordingFacility gfx;
    gfx.escape_on_frame = frames;
    animation::run_animation(gfx);
    EXPECT_EQ(gfx.frames_run, frames);
    return gfx::testing::screen_snapshot();
}

TEST(FramePixels, FirstFrameShowsBackgroundColumnThreeAtTheLeftAndFrameOneAt100_50) {
    TempArtDir dir;
    dir.write_default_art();
    const Image screen = screen_after(1);
    ASSERT_EQ(screen.width, 240);
    EXPECT_EQ(screen.at(0, 0), 0xFF000000 | app_test::background_colour(3, 0));
    EXPECT_EQ(screen.at(239, 159), 0xFF000000 | app_test::background_colour(242, 159));
    // The sprite's first non-mask pixel (3, 2) lands at (103, 52), top byte cleared.
    EXPECT_EQ(screen.at(103, 52), app_test::sprite_colour(1, 3, 2));
    // Its mask border and hole let the background through.
    EXPECT_EQ(screen.at(100, 50), 0xFF000000 | app_test::background_colour(103, 50));
    EXPECT_EQ(screen.at(155, 85), 0xFF000000 | app_test::background_colour(158, 85));
    EXPECT_TRUE(same_pixels(expected_screen(loaded_image(427, 160, picture_of_size(427, 160)),
                                            sprite_image(1), 424, 100, 50),
                            screen));
}

class FramePixelsAtOffset : public ::testing::TestWithParam<int> {};

TEST_P(FramePixelsAtOffset, ColumnCShowsBackgroundColumnCMinusScrollModulo427) {
    TempArtDir dir;
    dir.write_default_art();
    const int frames = GetParam();
    const int scroll_x = scroll_after(frames);
    const Image screen = screen_after(frames);
    ASSERT_EQ(screen.width, 240);
    for (int x = 0; x < 240; ++x) {
        const int bx = ((x - scroll_x) % 427 + 427) % 427;
        ASSERT_EQ(screen.at(x, 0), 0xFF000000 | app_test::background_colour(bx, 0))
            << "column " << x << " with scroll_x " << scroll_x;
    }
    Scene scene;
    for (int i = 0; i < frames; ++i)
        step_scene(scene, {});
    EXPECT_TRUE(
        same_pixels(expected_screen(loaded_image(427, 160, picture_of_size(427, 160)),
                                    sprite_image(sprite_frame_index(scene)), scroll_x, 100, 50),
                    screen));
}

// Frames whose offsets are: 424 and 277 (first copy wholly off to the right, the second alone
// fills the screen), 240 (just off), 239 (one column of the first copy), 127, 1 and 0.
INSTANTIATE_TEST_SUITE_P(Offsets, FramePixelsAtOffset,
                         ::testing::Values(1, 50, 347, 205, 100, 142, 427));

TEST(FramePixelsOnFailure, AllThreeFilesMissingShowsSolidMagentaAndEscapeStillEnds) {
    TempArtDir dir;
    const Image screen = screen_after(12);
    ASSERT_EQ(screen.width, 240);
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 240; ++x) {
            ASSERT_EQ(screen.at(x, y), 0xFFFF00FFu) << "at (" << x << ", " << y << ")";
        }
    }
}

// The background's file and how the loaded image should look.
struct BackgroundCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> file;
    Picture loaded_picture;
};

class FramePixelsWithBackground : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(FramePixelsWithBackground, ShowsWhatTheLoadLeftInTheImage) {
    TempArtDir dir;
    dir.write_default_art();
    dir.write("background.bmp", GetParam().file());
    const Image screen = screen_after(1);
    EXPECT_TRUE(same_pixels(expected_screen(loaded_image(427, 160, GetParam().loaded_picture),
                                            sprite_image(1), 424, 100, 50),
                            screen));
}

std::vector<std::uint8_t> background_file(int w, int h) {
    return bmp_test::bmp24(w, h, app_test::background_picture(w, h));
}

// A bottom-up file cut inside the row that holds picture row 99: rows 100-159, stored first,
// were converted; the rest of the image keeps its fill.
std::vector<std::uint8_t> truncated_background() {
    const std::size_t stride = bmp_test::row_stride(427, 24);
    return bmp_test::truncated(background_file(427, 160), 54 + 60 * stride + stride / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FramePixelsWithBackground,
    ::testing::Values(BackgroundCase{"smaller", [] { return background_file(200, 100); },
                                     picture_of_size(200, 100)},
                      BackgroundCase{"larger", [] { return background_file(500, 200); },
                                     picture_of_size(427, 160)},
                      BackgroundCase{"truncated", truncated_background,
                                     [](int x, int y) -> std::optional<Pixel> {
                                         if (y >= 100) return app_test::background_colour(x, y);
                                         return std::nullopt;
                                     }},
                      BackgroundCase{
                          "not_a_bitmap",
                          [] {
                              return std::vector<std::uint8_t>{'G', 'I', 'F', '8'};
                          },
                          [](int, int) -> std::optional<Pixel> { return std::nullopt; }}),
    [](const ::testing::TestParamInfo<BackgroundCase>& param) {
        return std::string(param.param.name);
    });

TEST(FramePixelsOnFailure, AMissingSpriteFileLeavesThatFrameDrawingNothing) {
    TempArtDir dir;
    dir.write_default_art();
    std::filesystem::remove("unicorn2.bmp");
    const Image background = loaded_image(427, 160, picture_of_size(427, 160));
    const Image see_through =
        loaded_image(112, 79, [](int, int) -> std::optional<Pixel> { return std::nullopt; });
    // Frame 5 shows sprite frame 2: only the background is seen.
    EXPECT_TRUE(same_pixels(expected_screen(background, see_through, scroll_after(5), 100, 50),
                            screen_after(5)));
    // Frame 4 still shows frame 1.
    EXPECT_TRUE(same_pixels(expected_screen(background, sprite_image(1), scroll_after(4), 100, 50),
                            screen_after(4)));
}

TEST(FramePixels, SpriteAtTheRightAndBottomBoundsIsClipped) {
    TempArtDir dir;
    dir.write_default_art();
    RecordingFacility gfx;
    for (int frame = 1; frame <= 12; ++frame)
        gfx.held_on_frame[frame] = {77, 80};
    gfx.escape_on_frame = 12;
    animation::run_animation(gfx);
    // At (130, 100): the sprite's last two columns and bottom 19 rows fall off the screen.
    EXPECT_TRUE(same_pixels(expected_screen(loaded_image(427, 160, picture_of_size(427, 160)),
                                            sprite_image(1), scroll_after(12), 130, 100),
                            gfx::testing::screen_snapshot()));
}

}  // namespace
