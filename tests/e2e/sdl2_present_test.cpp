// The picture path: palette lookup, scaling into the texture, placement in the window, and
// which changes of the primary surface reach the screen when. A flip through the palette and the
// bars around the picture are checked on the real game's screenshots.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/common/video_internal.h"
#include "platform/sdl2/present.h"
#include "platform/sdl2/scaler.h"
#include "platform/sdl2/sdl2_backend.h"
#include "sdl2_fixture.h"

using namespace platform;
using platform::sdl2::picture_rect;

namespace {

// The picture in outputs of every common shape: fit fills the height (or the width of a tall
// window) at 4:3; integer takes whole steps, or scales down when not even one fits.
TEST(PictureRect, FitAndIntegerPlacesCentredWithBars) {
    using sdl2::ScaleMode;
    const struct {
        int width, height;
        ScaleMode mode;
        std::vector<int> place;
    } cases[] = {
        {1366, 768, ScaleMode::Fit, {171, 0, 1024, 768}},
        {1920, 1080, ScaleMode::Fit, {240, 0, 1440, 1080}},
        {2560, 1440, ScaleMode::Fit, {320, 0, 1920, 1440}},
        {800, 600, ScaleMode::Fit, {0, 0, 800, 600}},
        {600, 1000, ScaleMode::Fit, {0, 275, 600, 450}},
        {1366, 768, ScaleMode::Integer, {363, 144, 640, 480}},
        {1920, 1080, ScaleMode::Integer, {320, 60, 1280, 960}},
        {2560, 1440, ScaleMode::Integer, {320, 0, 1920, 1440}},
        {800, 600, ScaleMode::Integer, {80, 60, 640, 480}},
        {600, 1000, ScaleMode::Integer, {0, 275, 600, 450}},
        {0, 480, ScaleMode::Fit, {0, 0, 0, 0}},
        {-5, -5, ScaleMode::Integer, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        sdl2::PictureRect r = picture_rect(c.width, c.height, c.mode);
        EXPECT_EQ((std::vector<int>{r.x, r.y, r.w, r.h}), c.place)
            << c.width << " x " << c.height << (c.mode == ScaleMode::Fit ? " fit" : " integer");
    }
}

// Grey levels as indices: a colour's channels show which source pixels were mixed into it.
std::vector<uint8_t> Striped_Screen() {
    std::vector<uint8_t> pixels(640 * 480);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint8_t((i % 640) * 37 + (i / 640) * 101);
    }
    return pixels;
}

// Whole-number sizes are exact copies through the palette; other sizes keep the middle of every
// game pixel within an eighth of the way to its neighbour on each axis (plain bilinear would
// be a third);
// rows are drawn again only where the picture changed, all of them when the palette did.
TEST(Scaler, SharpAtEverySizeAndOnlyChangedRowsRedrawn) {
    std::vector<uint8_t> pixels = Striped_Screen();
    uint32_t lookup[256];
    for (uint32_t i = 0; i < 256; ++i) {
        lookup[i] = i * 0x010101u;
    }
    for (auto [w, h] : {std::pair{640, 480}, {1280, 960}, {1024, 768}, {1440, 1080}, {600, 450}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        sdl2::Scaler scaler;
        scaler.set_size(w, h);
        auto runs = [&] {
            std::vector<int> flat;
            for (const sdl2::RowSpan& run : scaler.update(pixels.data(), lookup)) {
                flat.insert(flat.end(), {run.first, run.last});
            }
            return flat;
        };
        ASSERT_EQ(runs(), (std::vector<int>{0, h}));
        // A pitch wider than the row, as textures may have: the padding stays untouched.
        const int pitch = w * 4 + 16;
        std::vector<uint8_t> out(size_t(pitch) * h, 0xAB);
        scaler.write_rows(0, h, out.data(), pitch);
        auto at = [&](int x, int y) {
            uint32_t v = 0;
            std::memcpy(&v, &out[size_t(y) * pitch + size_t(x) * 4], 4);
            return v;
        };
        // Scaled down, a pixel may fall between two: nothing to hold it to.
        const int tolerance = w < 640 ? 255 : (w % 640 == 0 ? 0 : 60);
        for (int sy = 0; sy < 480; sy += 7) {
            for (int sx = 0; sx < 640; sx += 3) {
                const int x = (2 * sx + 1) * w / 1280;
                const int y = (2 * sy + 1) * h / 960;
                const int want = int(lookup[pixels[size_t(sy) * 640 + sx]] & 0xFF);
                const int got = int(at(x, y) & 0xFF);
                ASSERT_LE(std::abs(got - want), tolerance) << sx << "," << sy;
                ASSERT_EQ(at(x, y), (at(x, y) & 0xFF) * 0x010101u);
            }
            ASSERT_EQ(out[size_t(sy * h / 480) * pitch + size_t(w) * 4], 0xAB);
        }
        EXPECT_EQ(runs(), std::vector<int>{}) << "nothing changed";
        // Two rows far apart: two short runs, not all the rows between them.
        pixels[100 * 640 + 5] ^= 0xFF;
        pixels[400 * 640 + 600] ^= 0xFF;
        std::vector<int> two = runs();
        ASSERT_EQ(two.size(), 4u);
        for (int i : {0, 2}) {
            const int row = i == 0 ? 100 : 400;
            EXPECT_GE(two[i], (row - 1) * h / 480);
            EXPECT_LE(two[i + 1], (row + 2) * h / 480 + 1);
            EXPECT_LT(two[i], two[i + 1]);
        }
        lookup[0] ^= 0x010101u;
        EXPECT_EQ(runs(), (std::vector<int>{0, h})) << "a new palette: everything";
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
        sdl2::PictureRect place = picture_rect(width, height, sdl2::ScaleMode::Fit);
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
