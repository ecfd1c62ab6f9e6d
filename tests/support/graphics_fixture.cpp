#include "support/graphics_fixture.h"

#include <cstring>

#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "platform/headless/control.h"

namespace test_support {

void reset_graphics_globals() {
    dd_object = nullptr;
    primary_surface = nullptr;
    back_surface = nullptr;
    dd_palette = nullptr;
    std::memset(shadow_palette, 0, sizeof(shadow_palette));
    back_buffer = nullptr;
    back_locked = 0;
    back_desc = platform::SurfaceDesc{};
    Unload_Bitmap_File(&work_bitmap);
    work_bitmap = BitmapFile{};
}

void GraphicsTest::SetUp() {
    HeadlessTest::SetUp();
    reset_graphics_globals();
    window_ = create_test_window();
    ASSERT_NE(window_, nullptr);
}

void GraphicsTest::TearDown() {
    reset_graphics_globals();
    HeadlessTest::TearDown();
}

void make_test_palette(PALETTEENTRY out[256], int seed) {
    for (int i = 0; i < 256; ++i) {
        out[i] = PALETTEENTRY{uint8_t(i + seed), uint8_t(i * 3 + seed), uint8_t(255 - i),
                              platform::PC_NOCOLLAPSE};
    }
}

}  // namespace test_support
