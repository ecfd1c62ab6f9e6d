#include <gtest/gtest.h>

#include "common/random.h"

namespace {

TEST(Random, FollowsTheDocumentedGeneratorExactly) {
    Random_Seed(1);
    for (int expected : {41, 18467, 6334, 26500, 19169}) {
        EXPECT_EQ(Random_Next(), expected);
    }
    Random_Seed(0);
    EXPECT_EQ(Random_Next(), 38) << "0 x 214013 + 2531011, bits 16..30";
    Random_Seed(1);
    EXPECT_EQ(Random_Next(), 41) << "reseeding replays";
}

TEST(Random, StaysWithinFifteenBitsAndUsesThemAll) {
    Random_Seed(999);
    int lowest = 32767, highest = 0;
    for (int i = 0; i < 200000; ++i) {
        int value = Random_Next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_LT(lowest, 16);
    EXPECT_GT(highest, 32767 - 16);
}

}  // namespace
