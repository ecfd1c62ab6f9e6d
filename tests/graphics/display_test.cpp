#include "graphics/display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;
using DisplayTest = test_support::GraphicsTest;

bool All_Bytes(const uint8_t* pixels, uint8_t value) {
    return std::count(pixels, pixels + SCREEN_WIDTH * SCREEN_HEIGHT, value) == 640 * 480;
}

bool Nothing_Held() {
    return !dd_object && !primary_surface && !back_surface && !dd_palette &&
           !headless::primary_pixels();
}

// shadow_palette and the hardware palette both hold exactly these 256 entries.
bool Showing(const PALETTEENTRY* palette) {
    return !std::memcmp(shadow_palette, palette, 1024) &&
           !std::memcmp(headless::hardware_palette().data(), palette, 1024);
}

// A palette whose entry i is distinct for every i (flags 4), for telling entries apart.
void Make_Palette(PALETTEENTRY out[256], int seed) {
    for (int i = 0; i < 256; ++i) {
        out[i] = PALETTEENTRY{uint8_t(i + seed), uint8_t(i * 3 + seed), uint8_t(255 - i),
                              platform::PC_NOCOLLAPSE};
    }
}

TEST_F(DisplayTest, AFailingStepReleasesEverythingMadeSoFarAndStopsAtOnce) {
    // Each required step, and the step after it that must not be tried once it has failed.
    const Step steps[][2] = {{Step::DisplayCreate, Step::DisplayCooperativeLevel},
                             {Step::DisplayCooperativeLevel, Step::DisplayMode},
                             {Step::DisplayMode, Step::CreateSurface},
                             {Step::CreateSurface, Step::GetAttachedSurface},
                             {Step::GetAttachedSurface, Step::CreatePalette},
                             {Step::CreatePalette, Step::CreatePalette}};
    for (const auto& step : steps) {
        SCOPED_TRACE(int(step[0]));
        const uint64_t next_calls = headless::step_calls(step[1]);
        headless::fail(step[0], 1);
        EXPECT_EQ(DD_Init(window_), 0);
        EXPECT_TRUE(Nothing_Held());
        EXPECT_EQ(headless::step_calls(step[1]), next_calls + (step[0] == step[1]));
        ASSERT_EQ(DD_Init(window_), 1);  // nothing of the failed attempt is in the way
        EXPECT_EQ(DD_Shutdown(), 1);
    }
}

TEST_F(DisplayTest, FillSetsEveryByteOrNothingWhenTheSurfaceCannotBeLocked) {
    ASSERT_EQ(DD_Init(window_), 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 5), 1);
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 5) && All_Bytes(headless::primary_pixels(), 0));
    ASSERT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 6), 1);  // already locked by the game
    DD_Unlock_Back_Surface();
    headless::fail(Step::SurfaceLock, 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 7) + DD_Fill_Surface(nullptr, 8), 2);
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 5));
}

TEST_F(DisplayTest, SetPaletteChangesTheFirstCountEntriesOneCallEachRestoreAllInOne) {
    ASSERT_EQ(DD_Init(window_), 1);
    PALETTEENTRY first[256], second[256], mixed[256], saved[256];
    Make_Palette(first, 10);
    Make_Palette(second, 90);
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
