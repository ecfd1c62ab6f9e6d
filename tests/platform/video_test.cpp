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

    test_support::TestDisplay display;
};

TEST_F(Video, LockIsExclusiveAndReleasedObjectsAreRefused) {
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
    // What a flip shows is pinned by the recorded sessions' screenshots.
    EXPECT_EQ(surface_flip(display.primary, DDFLIP_WAIT), OK);

    desc = SurfaceDesc{0, DDSD_CAPS, 0, 0, 0, 0, nullptr, DDSCAPS_PRIMARYSURFACE};
    Surface* surface = nullptr;
    EXPECT_NE(display_create_surface(display.device, desc, &surface), OK) << "one primary only";
    EXPECT_EQ(surface_release(display.primary), 0u);
    EXPECT_NE(surface_lock(display.back, &desc, 0), OK) << "the back buffer went with it";
    EXPECT_EQ(headless::primary_pixels(), nullptr);
    EXPECT_FALSE(headless::save_screenshot("/tmp/never.bmp"));
    display_release(display.device);
    EXPECT_NE(palette_set_entries(display.palette, 0, 0, 0, nullptr), OK);
}

TEST_F(Video, TextInTheNearestPaletteColourFillsItsLineAndClipsAtEveryEdge) {
    const struct {
        ColorRef asked;
        uint8_t ink;
    } colours[] = {{rgb(255, 255, 0), 2}, {rgb(200, 0, 0), 3}, {rgb(60, 60, 60), 0}};
    for (const auto& c : colours) {  // a tie goes to the lower index; dark grey is nearest black
        std::vector<uint8_t> pixels = draw(10, 10, "Score", c.asked);
        EXPECT_EQ(std::set<uint8_t>(pixels.begin(), pixels.end()), std::set<uint8_t>({0, c.ink}));
    }
    const char* text = "Wg|@@";
    const int ox = 200, oy = 200;
    std::vector<uint8_t> whole = draw(ox, oy, text);
    int top = H, bottom = -1, left = W, right = -1;
    for (int i = 0; i < W * H; ++i) {
        if (whole[size_t(i)]) {
            top = std::min(top, i / W);
            bottom = std::max(bottom, i / W);
            left = std::min(left, i % W);
            right = std::max(right, i % W);
        }
    }
    EXPECT_GE(top, oy);
    EXPECT_LT(bottom, oy + common::FONT_LINE_HEIGHT);
    EXPECT_GE(bottom - top + 1, 13) << "from the tallest stroke to the descender";
    EXPECT_GE(left, ox);
    int half = (left + right) / 2 - ox;  // each cut below goes through the text
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
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), W * H)
            << place[0] << "," << place[1];
    }
}

}  // namespace
