#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/video.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

class Video : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        window = test_support::create_test_window();
        ASSERT_TRUE(test_support::create_test_display(window, &display));
    }

    // What the game's fill does: lock, set every byte, unlock.
    void fill(Surface* surface, uint8_t colour) {
        SurfaceDesc desc{};
        ASSERT_EQ(surface_lock(surface, &desc, DDLOCK_WAIT), OK);
        std::memset(desc.lpSurface, colour, size_t(desc.dwWidth) * desc.dwHeight);
        ASSERT_EQ(surface_unlock(surface, desc.lpSurface), OK);
    }

    WindowHandle window = nullptr;
    test_support::TestDisplay display;
};

TEST_F(Video, LockIsExclusiveAndBlocksFlipAndText) {
    SurfaceDesc desc{};
    ASSERT_EQ(surface_lock(display.back, &desc, 0), OK);
    EXPECT_EQ(desc.lPitch, 640);
    EXPECT_EQ(desc.lpSurface, headless::back_pixels());
    SurfaceDesc again{};
    EXPECT_NE(surface_lock(display.back, &again, 0), OK);
    EXPECT_EQ(again.lpSurface, nullptr);
    EXPECT_NE(surface_flip(display.primary, DDFLIP_WAIT), OK);
    DeviceContext* dc = nullptr;
    EXPECT_NE(surface_get_dc(display.back, &dc), OK);
    uint8_t elsewhere = 0;
    EXPECT_NE(surface_unlock(display.back, &elsewhere), OK) << "not the lock's pointer";
    EXPECT_EQ(surface_unlock(display.back, desc.lpSurface), OK);
    EXPECT_NE(surface_unlock(display.back, desc.lpSurface), OK) << "nothing left to unlock";
}

TEST_F(Video, FillSetsEveryByteAndFlipExchangesThePages) {
    fill(display.back, 9);
    fill(display.primary, 3);
    std::vector<uint8_t> nines(640 * 480, 9);
    EXPECT_EQ(std::memcmp(headless::back_pixels(), nines.data(), nines.size()), 0);
    uint64_t changes = headless::primary_change_count();
    ASSERT_EQ(surface_flip(display.primary, DDFLIP_WAIT), OK);
    EXPECT_EQ(std::memcmp(headless::primary_pixels(), nines.data(), nines.size()), 0);
    EXPECT_EQ(headless::back_pixels()[0], 3);
    EXPECT_EQ(headless::flip_count(), 1u);
    EXPECT_EQ(headless::primary_change_count(), changes + 1) << "the screen hears of it";
}

TEST_F(Video, PaletteEntriesChangeOnlyTheirRange) {
    for (const PaletteEntry& entry : headless::hardware_palette()) {
        ASSERT_EQ(entry.peRed + entry.peGreen + entry.peBlue, 0) << "starts all black";
    }
    std::vector<PaletteEntry> entries(16, PaletteEntry{150, 1, 200, PC_NOCOLLAPSE});
    uint64_t changes = headless::primary_change_count();
    ASSERT_EQ(palette_set_entries(display.palette, 0, 0, 16, entries.data()), OK);
    ASSERT_EQ(palette_set_entries(display.palette, 0, 255, 1, entries.data()), OK);
    auto hardware = headless::hardware_palette();
    EXPECT_EQ(hardware[15].peRed, 150);
    EXPECT_EQ(hardware[15].peFlags, PC_NOCOLLAPSE);
    EXPECT_EQ(hardware[16].peBlue, 0);
    EXPECT_EQ(hardware[255].peBlue, 200);
    EXPECT_EQ(headless::palette_set_count(), 2u);
    EXPECT_EQ(headless::primary_change_count(), changes + 2) << "palette changes show at once";
    // Ranges outside the table are refused whole.
    EXPECT_NE(palette_set_entries(display.palette, 0, 255, 2, entries.data()), OK);
    EXPECT_NE(palette_set_entries(display.palette, 0, -1, 1, entries.data()), OK);
    EXPECT_NE(palette_set_entries(display.palette, 0, 0x7FFFFFFF, 0x7FFFFFFF, entries.data()), OK);
    EXPECT_NE(palette_set_entries(display.palette, 0, 0, 1, nullptr), OK);
}

TEST_F(Video, ScreenshotShowsThePrimaryThroughThePaletteInForce) {
    PaletteEntry red = {200, 10, 20, PC_NOCOLLAPSE};
    palette_set_entries(display.palette, 0, 7, 1, &red);
    SurfaceDesc desc{};
    ASSERT_EQ(surface_lock(display.primary, &desc, 0), OK);
    static_cast<uint8_t*>(desc.lpSurface)[0] = 7;  // top-left
    surface_unlock(display.primary, desc.lpSurface);
    std::vector<uint8_t> bmp = headless::screenshot_bmp();
    ASSERT_EQ(bmp.size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(bmp[28], 24) << "bits per pixel";
    size_t top_left = 54 + size_t(479) * 640 * 3;  // rows bottom first, blue-green-red
    EXPECT_EQ(bmp[top_left], 20);
    EXPECT_EQ(bmp[top_left + 2], 200);
    EXPECT_EQ(bmp[top_left + 5], 0) << "colour 0 is black";
}

TEST_F(Video, OnlyTheGameModeOnePrimaryAndLiveObjects) {
    DisplayDevice* device = nullptr;
    ASSERT_EQ(display_create(&device), OK);
    EXPECT_NE(display_set_mode(device, 640, 480, 8), OK) << "no mode without exclusive access";
    EXPECT_NE(display_set_cooperative_level(device, nullptr, DDSCL_EXCLUSIVE), OK);
    ASSERT_EQ(display_set_cooperative_level(device, window, DDSCL_EXCLUSIVE), OK);
    EXPECT_NE(display_set_mode(device, 640, 480, 16), OK);
    SurfaceDesc desc{0, DDSD_CAPS, 0, 0, 0, 0, nullptr, DDSCAPS_PRIMARYSURFACE};
    Surface* surface = nullptr;
    EXPECT_EQ(display_create_surface(device, desc, &surface), OK);
    EXPECT_NE(display_create_surface(device, desc, &surface), OK) << "one primary per display";
    display_release(device);
    // Released objects are refused, never touched.
    EXPECT_EQ(surface_release(display.primary), 0u);
    EXPECT_NE(surface_lock(display.back, &desc, 0), OK);
    EXPECT_EQ(headless::primary_pixels(), nullptr);
    EXPECT_FALSE(headless::save_screenshot("/tmp/never.bmp"));
    display_release(display.device);
    EXPECT_NE(palette_set_entries(display.palette, 0, 0, 0, nullptr), OK);
}

}  // namespace
