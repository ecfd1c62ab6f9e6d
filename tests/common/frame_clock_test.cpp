#include <gtest/gtest.h>

#include "common/frame_clock.h"
#include "support/headless_fixture.h"

namespace {

using platform::headless::now;
using platform::headless::set_time;

class FrameClock : public test_support::HeadlessTest {};

// From an ordinary start and from three milliseconds before the 32-bit tick count wraps.
TEST_F(FrameClock, WaitLastsTheTimeAskedNeitherCutShortNorStretchedByTheWrap) {
    for (uint64_t start : {1000ull, 0xFFFFFFFDull}) {
        set_time(start);
        EXPECT_EQ(Start_Clock(), uint32_t(start));
        Wait_Clock(43);
        EXPECT_GE(now(), start + 43);
        EXPECT_LE(now(), start + 45);
    }
    EXPECT_LT(Get_Clock(), 100u) << "the count has wrapped";
}

}  // namespace
