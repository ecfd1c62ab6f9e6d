#include "graphics/back_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;

class BackBufferTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_EQ(DD_Init(window_), 1);
    }
};

// shadow_palette and the hardware palette both hold exactly these 256 entries.
bool Showing(const PALETTEENTRY* palette) {
    return !std::memcmp(shadow_palette, palette, 1024) &&
           !std::memcmp(headless::hardware_palette().data(), palette, 1024);
}

TEST_F(BackBufferTest, SetPaletteChangesTheFirstCountEntriesOneCallEachRestoreAllInOne) {
    PALETTEENTRY first[256], second[256], mixed[256], saved[256];
    test_support::make_test_palette(first, 10);
    test_support::make_test_palette(second, 90);
    second[9].peFlags = 0;  // flags are kept as given
    struct Case {
        const PALETTEENTRY* entries;
        int count;
        const PALETTEENTRY* showing;
    };
    std::memcpy(mixed, second, 16 * sizeof(PALETTEENTRY));
    std::memcpy(mixed + 16, first + 16, 240 * sizeof(PALETTEENTRY));
    for (Case c : {Case{first, 256, first}, Case{second, 0, first}, Case{second, -5, first},
                   Case{second, 16, mixed}}) {
        const uint64_t calls = headless::palette_set_count();
        EXPECT_EQ(Set_Palette(c.entries, c.count), 1);
        EXPECT_EQ(headless::palette_set_count() - calls, uint64_t(std::max(c.count, 0)));
        EXPECT_TRUE(Showing(c.showing)) << c.count;
    }
    EXPECT_EQ(Save_Palette(saved), 1);
    EXPECT_EQ(std::memcmp(saved, mixed, sizeof saved), 0);
    const uint64_t calls = headless::palette_set_count();
    EXPECT_EQ(Restore_Palette(first), 1);
    EXPECT_EQ(headless::palette_set_count(), calls + 1);
    EXPECT_TRUE(Showing(first));
    EXPECT_EQ(Set_Palette_Entry(&second[0], -1) + Set_Palette_Entry(&second[0], 256), 0);
    EXPECT_TRUE(Showing(first));
}

}  // namespace
