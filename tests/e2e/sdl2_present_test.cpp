// The picture path: palette lookup, conversion into the texture, placement in the window, and
// which changes of the primary surface reach the screen when.
#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/sdl2/present.h"
#include "platform/sdl2/sdl2_backend.h"
#include "sdl2_fixture.h"

using namespace platform;
using platform::sdl2::picture_rect;
using platform::sdl2::PictureRect;

namespace {

bool same_rect(PictureRect a, PictureRect b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

TEST(PictureRect, WholeStepsWhenTheyFitCentredWithBars) {
    EXPECT_TRUE(same_rect(picture_rect(640, 480), {0, 0, 640, 480}));
    EXPECT_TRUE(same_rect(picture_rect(800, 600), {80, 60, 640, 480}));
    EXPECT_TRUE(same_rect(picture_rect(1280, 1024), {0, 32, 1280, 960}));
    EXPECT_TRUE(same_rect(picture_rect(1920, 1080), {320, 60, 1280, 960}));
    EXPECT_TRUE(same_rect(picture_rect(3840, 2160), {640, 120, 2560, 1920}));
}

TEST(PictureRect, SmallerThanTheScreenScalesDownKeepingTheAspect) {
    EXPECT_TRUE(same_rect(picture_rect(320, 480), {0, 120, 320, 240}));
    EXPECT_TRUE(same_rect(picture_rect(1000, 300), {300, 0, 400, 300}));
    EXPECT_TRUE(same_rect(picture_rect(0, 480), {0, 0, 0, 0}));
    EXPECT_TRUE(same_rect(picture_rect(-5, -5), {0, 0, 0, 0}));
}

TEST(Conversion, EveryIndexThroughTheLookupAndNothingPastEachRow) {
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), PC_NOCOLLAPSE};
    }
    uint32_t lookup[256];
    sdl2::build_lookup(palette, lookup);
    std::vector<uint8_t> pixels(640 * 480);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint8_t(i * 31 + i / 640);
    }
    // A pitch wider than the row, as textures may have: the padding stays untouched.
    const int pitch = 640 * 4 + 64;
    std::vector<uint8_t> out(size_t(pitch) * 480, 0xAB);
    sdl2::convert_pixels(pixels.data(), lookup, out.data(), pitch);
    for (int y : {0, 1, 239, 479}) {
        for (int x : {0, 1, 320, 639}) {
            uint8_t index = pixels[size_t(y) * 640 + x];
            uint32_t value = 0;
            std::memcpy(&value, &out[size_t(y) * pitch + x * 4], 4);
            uint32_t expected = (uint32_t(index) << 16) | (uint32_t(255 - index) << 8) |
                                uint32_t(uint8_t(index * 7));
            EXPECT_EQ(value, expected) << x << "," << y;
        }
        EXPECT_EQ(out[size_t(y) * pitch + 640 * 4], 0xAB);
        EXPECT_EQ(out[size_t(y) * pitch + pitch - 1], 0xAB);
    }
}

class Present : public sdl2_test::Sdl2Display {};

TEST_F(Present, FlipShowsTheBackBufferThroughThePaletteWithBlackBars) {
    set_colour(5, 10, 200, 30);
    set_colour(7, 255, 0, 128);
    flip_with(5, 639, 479, 7);
    sleep_ms(0);
    EXPECT_EQ(shown(0, 0), 0x0AC81Eu);
    EXPECT_EQ(shown(320, 240), 0x0AC81Eu);
    EXPECT_EQ(shown(639, 479), 0xFF0080u);
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(SDL_GetRenderer(sdl2::game_window()), &width, &height);
    PictureRect place = picture_rect(width, height);
    if (place.x > 0) {
        EXPECT_EQ(shown_output(place.x - 1, place.y + 10), 0u);
    }
    if (place.y > 0) {
        EXPECT_EQ(shown_output(place.x + 10, place.y - 1), 0u);
    }
}

TEST_F(Present, PaletteChangeAloneShowsByTheNextClockRead) {
    set_colour(5, 10, 200, 30);
    flip_with(5, 0, 0, 5);
    sleep_ms(0);
    ASSERT_EQ(shown(100, 100), 0x0AC81Eu);
    // A fade step: a palette change well after the last present, then the step's timed wait.
    SDL_Delay(20);
    set_colour(5, 1, 2, 3);
    tick_count();
    EXPECT_EQ(shown(100, 100), 0x010203u);
}

TEST_F(Present, BurstOfEntriesEndsInTheLastPaletteByTheNextClockRead) {
    flip_with(9, 0, 0, 9);
    sleep_ms(0);
    // A new picture's palette: 256 single-entry sets in a row.
    for (int i = 0; i < 256; ++i) {
        set_colour(i, uint8_t(i), 100, 50);
    }
    SDL_Delay(10);
    tick_count();
    EXPECT_EQ(shown(10, 10), 0x096432u);
}

TEST_F(Present, FillAndTextOnThePrimaryShowWithoutAFlip) {
    set_colour(3, 0, 0, 255);
    set_colour(4, 255, 0, 0);
    SDL_Delay(10);
    SurfaceDesc desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(surface_lock(primary, &desc, DDLOCK_WAIT), OK);
    std::memset(desc.lpSurface, 3, 640 * 480);
    ASSERT_EQ(surface_unlock(primary, desc.lpSurface), OK);
    tick_count();
    EXPECT_EQ(shown(500, 440), 0x0000FFu);

    SDL_Delay(10);
    DeviceContext* dc = nullptr;
    ASSERT_EQ(surface_get_dc(primary, &dc), OK);
    set_text_color(dc, rgb(255, 0, 0));
    set_bk_mode(dc, TRANSPARENT);
    ASSERT_TRUE(text_out(dc, 448, 432, "GAME PAUSED...", 14));
    ASSERT_EQ(surface_release_dc(primary, dc), OK);
    // The paused frame's next step is the message loop's peek.
    platform::Message message{};
    peek_message(&message);
    int red = 0;
    for (int y = 432; y < 448; ++y) {
        for (int x = 448; x < 600; ++x) {
            red += shown(x, y) == 0xFF0000u ? 1 : 0;
        }
    }
    EXPECT_GT(red, 50);
    EXPECT_EQ(shown(440, 440), 0x0000FFu);
}

}  // namespace
