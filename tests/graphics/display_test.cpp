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

}  // namespace
