// The picture path: palette lookup, conversion into the texture, placement in the window, and
// which changes of the primary surface reach the screen when. A flip through the palette and the
// bars around the picture are checked on the real game's screenshots.
#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/common/video_internal.h"
#include "platform/sdl2/present.h"
#include "platform/sdl2/sdl2_backend.h"
#include "sdl2_fixture.h"

using namespace platform;
using platform::sdl2::picture_rect;

namespace {

TEST(PictureRect, WholeStepsWhenTheyFitOtherwiseScaledDownCentredWithBars) {
    const int cases[][6] = {{640, 480, 0, 0, 640, 480},
                            {800, 600, 80, 60, 640, 480},
                            {1280, 1024, 0, 32, 1280, 960},
                            {1920, 1080, 320, 60, 1280, 960},
                            {3840, 2160, 640, 120, 2560, 1920},
                            {320, 480, 0, 120, 320, 240},
                            {1000, 300, 300, 0, 400, 300},
                            {0, 480, 0, 0, 0, 0},
                            {-5, -5, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        sdl2::PictureRect r = picture_rect(c[0], c[1]);
        EXPECT_EQ((std::vector<int>{r.x, r.y, r.w, r.h}), (std::vector<int>(c + 2, c + 6)))
            << c[0] << " x " << c[1];
    }
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
            EXPECT_EQ(value,
                      (uint32_t(index) << 16) | (uint32_t(255 - index) << 8) | uint8_t(index * 7))
                << x << "," << y;
        }
        EXPECT_EQ(out[size_t(y) * pitch + 640 * 4], 0xAB);
        EXPECT_EQ(out[size_t(y) * pitch + pitch - 1], 0xAB);
    }
}

// The window with the game's display on it: primary, back buffer and an all-black palette.
class Present : public sdl2_test::Sdl2Window {
  protected:
    void SetUp() override {
        Sdl2Window::SetUp();
        ASSERT_TRUE(!HasFatalFailure() && test_support::create_test_display(window, &display));
    }

    void TearDown() override {
        common::reset_video();
        Sdl2Window::TearDown();
    }

    void set_colour(int index, uint8_t r, uint8_t g, uint8_t b) {
        PaletteEntry entry{r, g, b, PC_NOCOLLAPSE};
        ASSERT_EQ(palette_set_entries(display.palette, 0, index, 1, &entry), OK);
    }

    // Fills a surface with one index (the primary shows it at once, the back at the flip).
    void fill(Surface* surface, uint8_t index) {
        SurfaceDesc desc{};
        ASSERT_EQ(surface_lock(surface, &desc, DDLOCK_WAIT), OK);
        std::memset(desc.lpSurface, index, 640 * 480);
        ASSERT_EQ(surface_unlock(surface, desc.lpSurface), OK);
    }

    // The colour (0xRRGGBB) the window shows at the centre of screen pixel (x, y).
    uint32_t shown(int x, int y) {
        SDL_Renderer* renderer = SDL_GetRenderer(sdl2::game_window());
        int width = 0;
        int height = 0;
        SDL_GetRendererOutputSize(renderer, &width, &height);
        sdl2::PictureRect place = picture_rect(width, height);
        SDL_Rect one{place.x + (2 * x + 1) * place.w / 1280, place.y + (2 * y + 1) * place.h / 960,
                     1, 1};
        uint32_t pixel = 0;
        EXPECT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_RGB888, &pixel, 4), 0)
            << SDL_GetError();
        return pixel & 0xFFFFFF;
    }

    test_support::TestDisplay display;
};

// A fade step changes the palette alone, then waits: the change shows by the next clock read.
// A new picture sets all 256 entries in a row: the screen ends in the last of them.
TEST_F(Present, PaletteChangesAloneShowByTheNextClockRead) {
    set_colour(5, 10, 200, 30);
    fill(display.back, 5);
    ASSERT_EQ(surface_flip(display.primary, DDFLIP_WAIT), OK);
    sleep_ms(0);
    ASSERT_EQ(shown(100, 100), 0x0AC81Eu);
    SDL_Delay(20);
    set_colour(5, 1, 2, 3);
    tick_count();
    EXPECT_EQ(shown(100, 100), 0x010203u);
    for (int i = 0; i < 256; ++i) {
        set_colour(i, uint8_t(i), 100, 50);
    }
    SDL_Delay(10);
    tick_count();
    EXPECT_EQ(shown(100, 100), 0x056432u);
}

// The game blanks the primary between pictures; text on it (the pause line) is left to the
// whole-game run, which looks for it on the paused screen.
TEST_F(Present, FillOfThePrimaryShowsWithoutAFlip) {
    set_colour(3, 0, 0, 255);
    SDL_Delay(10);
    fill(display.primary, 3);
    tick_count();
    EXPECT_EQ(shown(500, 440), 0x0000FFu);
}

}  // namespace
