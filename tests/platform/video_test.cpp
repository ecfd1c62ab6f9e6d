#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <set>
#include <vector>

#include "platform/common/font.h"
#include "platform/video.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

constexpr int W = 640;
constexpr int H = 480;

class Video : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        PaletteEntry entries[256] = {};
        entries[1] = {255, 255, 255, PC_NOCOLLAPSE};
        entries[2] = {250, 250, 40, PC_NOCOLLAPSE};
        entries[3] = entries[4] = {200, 0, 0, PC_NOCOLLAPSE};  // the same red twice
        ASSERT_TRUE(test_support::create_test_display(test_support::create_test_window(), &display,
                                                      entries));
    }

    // Draws text on the back surface as the game does; returns its pixels and clears it again.
    std::vector<uint8_t> draw(int x, int y, const char* text,
                              ColorRef colour = rgb(255, 255, 255)) {
        DeviceContext* dc = nullptr;
        EXPECT_EQ(surface_get_dc(display.back, &dc), OK);
        set_bk_mode(dc, TRANSPARENT);
        set_text_color(dc, colour);
        EXPECT_TRUE(text_out(dc, x, y, text, int(std::strlen(text))));
        EXPECT_EQ(surface_release_dc(display.back, dc), OK);
        uint8_t* back = const_cast<uint8_t*>(headless::back_pixels());
        std::vector<uint8_t> copy(back, back + W * H);
        std::memset(back, 0, W * H);
        return copy;
    }

    // The colours a word in this colour leaves on the surface.
    std::set<uint8_t> ink(ColorRef colour) {
        std::vector<uint8_t> pixels = draw(10, 10, "Score", colour);
        return {pixels.begin(), pixels.end()};
    }

    test_support::TestDisplay display;
};

bool all_of(const uint8_t* pixels, uint8_t value) {
    return std::all_of(pixels, pixels + W * H, [=](uint8_t p) { return p == value; });
}

TEST_F(Video, LockIsExclusiveAndFlipExchangesThePages) {
    SurfaceDesc desc{};
    ASSERT_EQ(surface_lock(display.back, &desc, DDLOCK_WAIT), OK);
    EXPECT_EQ(desc.lPitch, W);
    ASSERT_EQ(desc.lpSurface, headless::back_pixels());
    std::memset(desc.lpSurface, 9, W * H);
    SurfaceDesc again{};
    EXPECT_NE(surface_lock(display.back, &again, 0), OK);
    EXPECT_EQ(again.lpSurface, nullptr);
    DeviceContext* dc = nullptr;
    EXPECT_NE(surface_get_dc(display.back, &dc), OK);
    EXPECT_NE(surface_flip(display.primary, DDFLIP_WAIT), OK) << "not while the back is locked";
    uint8_t elsewhere = 0;
    EXPECT_NE(surface_unlock(display.back, &elsewhere), OK) << "not the lock's pointer";
    EXPECT_EQ(surface_unlock(display.back, desc.lpSurface), OK);
    EXPECT_NE(surface_unlock(display.back, desc.lpSurface), OK) << "nothing left to unlock";
    uint64_t changes = headless::primary_change_count();
    ASSERT_EQ(surface_flip(display.primary, DDFLIP_WAIT), OK);
    EXPECT_TRUE(all_of(headless::primary_pixels(), 9));
    EXPECT_TRUE(all_of(headless::back_pixels(), 0));
    EXPECT_EQ(headless::flip_count(), 1u);
    EXPECT_EQ(headless::primary_change_count(), changes + 1) << "the screen hears of it";
}

TEST_F(Video, PaletteEntriesChangeOnlyTheirRangeAndShowAtOnce) {
    std::vector<PaletteEntry> entries(16, PaletteEntry{150, 1, 200, PC_NOCOLLAPSE});
    uint64_t changes = headless::primary_change_count();
    ASSERT_EQ(palette_set_entries(display.palette, 0, 5, 11, entries.data()), OK);
    ASSERT_EQ(palette_set_entries(display.palette, 0, 255, 1, entries.data()), OK);
    auto hardware = headless::hardware_palette();
    EXPECT_EQ((std::vector<int>{hardware[4].peRed, hardware[5].peRed, hardware[15].peRed,
                                hardware[16].peRed, hardware[255].peRed}),
              (std::vector<int>{200, 150, 150, 0, 150}));
    EXPECT_EQ(headless::primary_change_count(), changes + 2);
    // Ranges outside the table are refused whole.
    for (auto [start, count] : {std::pair{255, 2}, {-1, 1}, {0x7FFFFFFF, 0x7FFFFFFF}}) {
        EXPECT_NE(palette_set_entries(display.palette, 0, start, count, entries.data()), OK)
            << start << "+" << count;
    }
    EXPECT_NE(palette_set_entries(display.palette, 0, 0, 1, nullptr), OK);
    EXPECT_EQ(std::memcmp(headless::hardware_palette().data(), hardware.data(), sizeof hardware), 0)
        << "nothing of a refused range is set";
}

TEST_F(Video, ScreenshotShowsThePrimaryThroughThePaletteInForce) {
    PaletteEntry red = {200, 10, 20, PC_NOCOLLAPSE};
    palette_set_entries(display.palette, 0, 7, 1, &red);
    const_cast<uint8_t*>(headless::primary_pixels())[0] = 7;  // top-left
    std::vector<uint8_t> bmp = headless::screenshot_bmp();
    ASSERT_EQ(bmp.size(), 54u + W * H * 3);
    EXPECT_EQ(bmp[28], 24) << "bits per pixel";
    size_t top_left = 54 + size_t(H - 1) * W * 3;  // rows bottom first, blue-green-red
    EXPECT_EQ(bmp[top_left], 20);
    EXPECT_EQ(bmp[top_left + 2], 200);
    EXPECT_EQ(bmp[top_left + 5], 0) << "colour 0 is black";
}

TEST_F(Video, ReleasedObjectsAreRefusedNeverTouched) {
    SurfaceDesc desc{0, DDSD_CAPS, 0, 0, 0, 0, nullptr, DDSCAPS_PRIMARYSURFACE};
    Surface* surface = nullptr;
    EXPECT_NE(display_create_surface(display.device, desc, &surface), OK) << "one primary only";
    EXPECT_EQ(surface_release(display.primary), 0u);
    EXPECT_NE(surface_lock(display.back, &desc, 0), OK) << "the back buffer went with it";
    EXPECT_EQ(headless::primary_pixels(), nullptr);
    EXPECT_FALSE(headless::save_screenshot("/tmp/never.bmp"));
    display_release(display.device);
    EXPECT_NE(palette_set_entries(display.palette, 0, 0, 0, nullptr), OK);
}

// One colour, no smoothing: the palette index nearest the colour asked for.
TEST_F(Video, TextIsMonochromeInTheNearestPaletteColour) {
    EXPECT_EQ(ink(rgb(255, 255, 0)), std::set<uint8_t>({0, 2}));
    EXPECT_EQ(ink(rgb(200, 0, 0)), std::set<uint8_t>({0, 3})) << "a tie goes to the lower index";
    EXPECT_EQ(ink(rgb(60, 60, 60)), std::set<uint8_t>({0})) << "dark grey is nearest black";
    PaletteEntry blue = {0, 0, 255, PC_NOCOLLAPSE};
    palette_set_entries(display.palette, 0, 9, 1, &blue);
    EXPECT_EQ(ink(rgb(0, 0, 240)), std::set<uint8_t>({0, 9})) << "against the palette in force";
}

// A line of 16 pixels from its top-left; running off any edge it shows exactly the part of it
// that lies on the surface.
TEST_F(Video, TextFillsItsLineAndClipsAtEveryEdge) {
    const char* text = "Wg|@@";
    const int ox = 200, oy = 200;
    std::vector<uint8_t> whole = draw(ox, oy, text);
    int top = H, bottom = -1, left = W;
    for (int i = 0; i < W * H; ++i) {
        if (whole[size_t(i)]) {
            top = std::min(top, i / W);
            bottom = std::max(bottom, i / W);
            left = std::min(left, i % W);
        }
    }
    EXPECT_GE(top, oy);
    EXPECT_LT(bottom, oy + common::FONT_LINE_HEIGHT);
    EXPECT_GE(bottom - top + 1, 13) << "from the tallest stroke to the descender";
    EXPECT_GE(left, ox);
    int half = common::text_width(text, int(std::strlen(text))) / 2;
    const int places[][2] = {{-half, 100}, {W - half, 100}, {100, -7},
                             {100, H - 7}, {-half, -7},     {W - half, H - 7}};
    for (const auto& place : places) {
        std::vector<uint8_t> clipped = draw(place[0], place[1], text);
        int shown = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                int sx = x - place[0] + ox, sy = y - place[1] + oy;
                uint8_t expected =
                    (sx >= 0 && sx < W && sy >= 0 && sy < H) ? whole[size_t(sy * W + sx)] : 0;
                ASSERT_EQ(clipped[size_t(y * W + x)], expected)
                    << "text at " << place[0] << "," << place[1] << ", pixel " << x << "," << y;
                shown += expected != 0;
            }
        }
        EXPECT_GT(shown, 0);
    }
    const int far[][2] = {{INT_MIN, 0}, {INT_MAX, 0}, {0, INT_MIN}, {0, INT_MAX}, {W, H}};
    for (const auto& place : far) {
        std::vector<uint8_t> pixels = draw(place[0], place[1], "WWWWWWWWWWWWWWWWWWWW");
        EXPECT_TRUE(all_of(pixels.data(), 0)) << place[0] << "," << place[1];
    }
}

TEST_F(Video, DeviceContextRules) {
    DeviceContext* dc = nullptr;
    ASSERT_EQ(surface_get_dc(display.primary, &dc), OK);
    DeviceContext* second = nullptr;
    EXPECT_NE(surface_get_dc(display.primary, &second), OK) << "one context at a time";
    EXPECT_FALSE(text_out(dc, 0, 0, nullptr, 3));
    EXPECT_FALSE(text_out(dc, 0, 0, "abc", -1));
    uint64_t changes = headless::primary_change_count();
    EXPECT_TRUE(text_out(dc, 200, 200, "PAUSED", 6));
    EXPECT_EQ(headless::primary_change_count(), changes + 1) << "text on the primary shows";
    EXPECT_NE(surface_release_dc(display.back, dc), OK) << "released on its own surface only";
    EXPECT_EQ(surface_release_dc(display.primary, dc), OK);
    EXPECT_FALSE(text_out(dc, 0, 0, "abc", 3)) << "a released context draws nothing";
}

}  // namespace
