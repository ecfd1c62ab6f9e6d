#include "support/play_screen_fixture.h"

#include <cstring>

#include "app/level_art.h"
#include "game/play_screen.h"
#include "graphics/back_buffer.h"
#include "graphics/image.h"
#include "support/game_rules.h"

namespace test_support {
namespace {

void Make_Image(BitmapImage* image, int width, int height, uint8_t value) {
    Destroy_Image(image);
    ASSERT_EQ(Create_Image(image, 0, 0, width, height), 1);
    std::memset(image->buffer, value, size_t(image->num_bytes));
    image->state = IMAGE_LOADED;
}

}  // namespace

void PlayScreenTest::SetUp() {
    GraphicsTest::SetUp();
    ASSERT_EQ(DD_Init(window_), 1);
    PALETTEENTRY palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = PALETTEENTRY{255, 255, 255, platform::PC_NOCOLLAPSE};
    }
    for (int k = 0; k <= 51; ++k) {
        palette[PLAY_DARK_GREEN + k] = PALETTEENTRY{0, uint8_t(2 * k), 0, platform::PC_NOCOLLAPSE};
    }
    palette[PLAY_GREEN] = PALETTEENTRY{0, 255, 0, platform::PC_NOCOLLAPSE};
    Set_Palette(palette, 256);

    Reset_Game_Rules();
    banner_glow = 0;
    banner_glow_step = 2;
    for (int i = 0; i < BLOCK_IMAGE_COUNT; ++i) {
        Make_Image(&block_images[i], 16, 16, uint8_t(PLAY_BLOCK_PIXEL + i));
    }
    Make_Image(&play_background, 640, 480, PLAY_BACKGROUND_PIXEL);
    ASSERT_EQ(DD_Lock_Back_Surface(), 1);
    ASSERT_NE(back_buffer, nullptr);
}

void PlayScreenTest::TearDown() {
    DD_Unlock_Back_Surface();
    for (BitmapImage& block : block_images) {
        Destroy_Image(&block);
    }
    Destroy_Image(&play_background);
    DD_Shutdown();
    GraphicsTest::TearDown();
}

bool PlayScreenTest::Block_At(int x, int y, uint8_t value) {
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            if (back_buffer[(y + r) * 640 + x + c] != value) {
                return false;
            }
        }
    }
    return true;
}

uint8_t PlayScreenTest::Pixel(int x, int y) {
    return back_buffer[y * 640 + x];
}

}  // namespace test_support
