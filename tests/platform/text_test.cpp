#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "platform/common/font.h"
#include "platform/video.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

constexpr int W = 640;
constexpr int H = 480;

class Text : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        PaletteEntry entries[256] = {};
        entries[1] = {255, 255, 255, PC_NOCOLLAPSE};
        entries[2] = {250, 250, 40, PC_NOCOLLAPSE};
        entries[3] = {200, 0, 0, PC_NOCOLLAPSE};
        entries[4] = {200, 0, 0, PC_NOCOLLAPSE};  // the same red again
        ASSERT_TRUE(test_support::create_test_display(test_support::create_test_window(), &display,
                                                      entries));
    }

    // Draws on the back surface; returns its pixels and clears it again.
    std::vector<uint8_t> draw(int x, int y, const char* text, ColorRef colour = rgb(255, 255, 255),
                              int mode = TRANSPARENT) {
        DeviceContext* dc = nullptr;
        EXPECT_EQ(surface_get_dc(display.back, &dc), OK);
        set_bk_mode(dc, mode);
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

TEST_F(Text, FillsALineOfSixteenPixelsFromItsTopLeft) {
    std::vector<uint8_t> pixels = draw(100, 200, "Wg|");
    int top = H, bottom = -1, left = W;
    for (int i = 0; i < W * H; ++i) {
        if (pixels[size_t(i)]) {
            top = std::min(top, i / W);
            bottom = std::max(bottom, i / W);
            left = std::min(left, i % W);
        }
    }
    EXPECT_GE(top, 200);
    EXPECT_LT(bottom, 200 + common::FONT_LINE_HEIGHT);
    EXPECT_GE(bottom - top + 1, 13) << "from the tallest stroke to the descender";
    EXPECT_GE(left, 100);
}

TEST_F(Text, IsMonochromeInTheNearestPaletteColour) {
    int drawn = 0;
    for (uint8_t value : draw(10, 10, "Score", rgb(255, 255, 0))) {
        ASSERT_TRUE(value == 0 || value == 2) << "only the ink, no smoothing: " << int(value);
        drawn += value == 2;
    }
    EXPECT_GT(drawn, 20);
    for (uint8_t value : draw(10, 10, "Score", rgb(200, 0, 0))) {
        ASSERT_TRUE(value == 0 || value == 3) << "a tie goes to the lower index";
    }
    for (uint8_t value : draw(10, 10, "Score", rgb(60, 60, 60))) {
        ASSERT_EQ(value, 0) << "dark grey is nearest black";
    }
    PaletteEntry blue = {0, 0, 255, PC_NOCOLLAPSE};
    palette_set_entries(display.palette, 0, 9, 1, &blue);
    for (uint8_t value : draw(10, 10, "Level", rgb(0, 0, 240))) {
        ASSERT_TRUE(value == 0 || value == 9) << "matched against the palette now in force";
    }
}

TEST_F(Text, OpaqueModeFillsTheBoxInTheBackgroundColour) {
    std::vector<uint8_t> opaque = draw(50, 50, "Hi", rgb(200, 0, 0), OPAQUE);
    EXPECT_EQ(opaque[size_t(50 * W + 50)], 1) << "default background is white";
    EXPECT_EQ(opaque[size_t(49 * W + 50)], 0);
    EXPECT_EQ(draw(50, 50, "Hi", rgb(200, 0, 0))[size_t(50 * W + 50)], 0);
}

// Text running off any edge shows exactly the part of it that lies on the surface.
TEST_F(Text, ClipsAtEveryEdge) {
    const char* text = "WMW@@";
    const int ox = 200, oy = 200;
    std::vector<uint8_t> whole = draw(ox, oy, text);
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
        for (uint8_t value : draw(place[0], place[1], "WWWWWWWWWWWWWWWWWWWW")) {
            ASSERT_EQ(value, 0) << place[0] << "," << place[1];
        }
    }
}

TEST_F(Text, DeviceContextRules) {
    DeviceContext* dc = nullptr;
    ASSERT_EQ(surface_get_dc(display.primary, &dc), OK);
    DeviceContext* second = nullptr;
    EXPECT_NE(surface_get_dc(display.primary, &second), OK) << "one context at a time";
    EXPECT_EQ(set_text_color(dc, rgb(1, 2, 3)), rgb(0, 0, 0));
    EXPECT_EQ(set_bk_mode(dc, TRANSPARENT), OPAQUE);
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
