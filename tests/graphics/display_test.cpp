#include "graphics/display.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;

using DisplayTest = test_support::GraphicsTest;

bool All_Bytes(const uint8_t* pixels, uint8_t value) {
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) {
        if (pixels[i] != value) {
            return false;
        }
    }
    return true;
}

void Expect_Nothing_Held() {
    EXPECT_EQ(dd_object, nullptr);
    EXPECT_EQ(primary_surface, nullptr);
    EXPECT_EQ(back_surface, nullptr);
    EXPECT_EQ(dd_palette, nullptr);
    EXPECT_EQ(headless::primary_pixels(), nullptr);
}

TEST_F(DisplayTest, InitMakesABlackScreenWithTwoPagesAndABlackPalette) {
    ASSERT_EQ(DD_Init(window_), 1);
    EXPECT_NE(dd_object, nullptr);
    EXPECT_NE(primary_surface, nullptr);
    EXPECT_NE(back_surface, nullptr);
    EXPECT_NE(dd_palette, nullptr);
    ASSERT_NE(headless::primary_pixels(), nullptr);
    EXPECT_TRUE(All_Bytes(headless::primary_pixels(), 0));
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 0));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(shadow_palette[i].peRed | shadow_palette[i].peGreen | shadow_palette[i].peBlue,
                  0);
        EXPECT_EQ(shadow_palette[i].peFlags, platform::PC_NOCOLLAPSE);
        const PALETTEENTRY hardware = headless::hardware_palette()[i];
        EXPECT_EQ(std::memcmp(&hardware, &shadow_palette[i], sizeof(hardware)), 0);
    }
}

// Each required step, and the steps after it that must not be tried once it has failed.
struct FailingStep {
    Step step;
    Step next;
};

TEST_F(DisplayTest, AFailingStepReleasesEverythingMadeSoFarAndStopsAtOnce) {
    const FailingStep cases[] = {
        {Step::DisplayCreate, Step::DisplayCooperativeLevel},
        {Step::DisplayCooperativeLevel, Step::DisplayMode},
        {Step::DisplayMode, Step::CreateSurface},
        {Step::CreateSurface, Step::GetAttachedSurface},
        {Step::GetAttachedSurface, Step::CreatePalette},
        {Step::CreatePalette, Step::CreatePalette},
    };
    for (const FailingStep& c : cases) {
        SCOPED_TRACE(int(c.step));
        headless::clear_faults();
        const uint64_t next_calls = headless::step_calls(c.next);
        headless::fail(c.step, 1);
        EXPECT_EQ(DD_Init(window_), 0);
        Expect_Nothing_Held();
        if (c.next != c.step) {
            EXPECT_EQ(headless::step_calls(c.next), next_calls);
        }
        // Nothing of the failed attempt is in the way of the next one.
        ASSERT_EQ(DD_Init(window_), 1);
        EXPECT_EQ(DD_Shutdown(), 1);
    }
}

TEST_F(DisplayTest, ClearingFailuresDoNotStopInit) {
    headless::fail(Step::SurfaceLock, 2);
    EXPECT_EQ(DD_Init(window_), 1);
    EXPECT_NE(dd_palette, nullptr);
}

TEST_F(DisplayTest, ShutdownReleasesOnceAndOnlyWhatExists) {
    EXPECT_EQ(DD_Shutdown(), 0);
    ASSERT_EQ(DD_Init(window_), 1);
    EXPECT_EQ(DD_Shutdown(), 1);
    Expect_Nothing_Held();
    EXPECT_EQ(DD_Shutdown(), 0);
    // The display can be made again afterwards.
    EXPECT_EQ(DD_Init(window_), 1);
}

TEST_F(DisplayTest, FillSetsEveryByteOrNothingWhenTheSurfaceCannotBeLocked) {
    ASSERT_EQ(DD_Init(window_), 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 5), 1);
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 5));
    EXPECT_TRUE(All_Bytes(headless::primary_pixels(), 0));

    ASSERT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 6), 1);
    DD_Unlock_Back_Surface();
    headless::fail(Step::SurfaceLock, 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 7), 1);
    EXPECT_EQ(DD_Fill_Surface(nullptr, 8), 1);
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 5));
}

}  // namespace
