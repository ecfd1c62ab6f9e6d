#include <gtest/gtest.h>

#include "app/frame_clock.h"
#include "support/headless_fixture.h"

namespace {

using platform::headless::now;
using platform::headless::set_time;

class FrameClock : public test_support::HeadlessTest {};

TEST_F(FrameClock, WaitLastsAtLeastTheTimeAsked) {
    set_time(1000);
    EXPECT_EQ(Start_Clock(), 1000u);
    EXPECT_EQ(clock_start, 1000u);
    Wait_Clock(12);
    EXPECT_GE(now(), 1012u);
    EXPECT_LE(now(), 1014u);
}

TEST_F(FrameClock, WaitSurvivesTheTickCountWrapping) {
    set_time(0xFFFFFFFDull);  // three milliseconds before the 32-bit count wraps
    Start_Clock();
    Wait_Clock(43);
    EXPECT_GE(now(), 0xFFFFFFFDull + 43);
    EXPECT_LE(now(), 0xFFFFFFFDull + 45) << "neither cut short nor stretched by the wrap";
    EXPECT_LT(Get_Clock(), 100u);
}

}  // namespace
