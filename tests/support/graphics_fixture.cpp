#include "support/graphics_fixture.h"

#include <cstring>

#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"

namespace test_support {

namespace {

// Frees work_bitmap's pixels and puts every display global back to its start.
void Reset_Graphics_Globals() {
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

}  // namespace

void GraphicsTest::SetUp() {
    HeadlessTest::SetUp();
    Reset_Graphics_Globals();
    window_ = create_test_window();
    ASSERT_NE(window_, nullptr);
}

void GraphicsTest::TearDown() {
    Reset_Graphics_Globals();
    HeadlessTest::TearDown();
}

}  // namespace test_support
