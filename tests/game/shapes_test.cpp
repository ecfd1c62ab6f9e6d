#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "common/random.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/shapes.h"
#include "support/game_rules.h"

namespace {

class ShapeDealing : public ::testing::Test {
  protected:
    void SetUp() override { Reset_Game_Rules(); }

    // The numbers the generator yields from `seed`, without disturbing the caller's stream.
    static std::vector<int> Stream(uint32_t seed, int count) {
        Random_Seed(seed);
        std::vector<int> numbers;
        for (int i = 0; i < count; i++) {
            numbers.push_back(Random_Next());
        }
        Random_Seed(seed);
        return numbers;
    }
};

TEST_F(ShapeDealing, GameTypeSetsTheDealtRangeAndAnUnknownTypeKeepsIt) {
    EXPECT_EQ(Set_Game_Type(GAME_XTREME), 1);
    EXPECT_EQ(first_shape, 0);
    EXPECT_EQ(shape_count, 16);
    EXPECT_EQ(Set_Game_Type(2), 1);
    EXPECT_EQ(shape_count, 16);
    Set_Game_Type(GAME_CLASSIC);
    EXPECT_EQ(shape_count, 7);
    Set_Game_Type(-1);
    EXPECT_EQ(first_shape, 0);
    EXPECT_EQ(shape_count, 7);
}

TEST_F(ShapeDealing, ResetDrawsTwoShapesAndTakesSpeedFromLevel) {
    // Seed 1 yields 41, 18467, 6334: shapes 6 and 1 in the classic range, nothing more drawn.
    level = 9;
    Reset_Piece(&piece);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(piece.y, 0);
    EXPECT_EQ(piece.lock_delay, 0);
    EXPECT_EQ(piece.speed, 11);
    EXPECT_EQ(piece.shape, 41 % 7);
    EXPECT_EQ(piece.next_shape, 18467 % 7);
    EXPECT_EQ(Random_Next(), 6334);

    level = 12;
    Reset_Piece(&piece);
    EXPECT_EQ(piece.speed, 14);
}

TEST_F(ShapeDealing, ResetDrawsAgainUntilTheNextShapeDiffers) {
    // A seed whose first two draws give the same classic shape and the third another.
    uint32_t seed = 0;
    std::vector<int> r;
    for (;; seed++) {
        r = Stream(seed, 3);
        if (r[0] % 7 == r[1] % 7 && r[2] % 7 != r[0] % 7) {
            break;
        }
    }
    Reset_Piece(&piece);
    EXPECT_EQ(piece.shape, r[0] % 7);
    EXPECT_EQ(piece.next_shape, r[2] % 7);
}

TEST_F(ShapeDealing, SpawnPromotesTheNextShapeAndDrawsAFreshOne) {
    Reset_Piece(&piece);  // shapes 6 and 1
    piece.x = 5;
    piece.y = 77;
    piece.lock_delay = 2;
    EXPECT_EQ(Spawn_Piece(&piece), 1);
    EXPECT_EQ(piece.state, PIECE_FALLING);
    EXPECT_EQ(piece.x, 112);
    EXPECT_EQ(piece.y, 0);
    EXPECT_EQ(piece.lock_delay, 0);
    EXPECT_EQ(piece.shape, 1);
    EXPECT_EQ(piece.next_shape, 6334 % 7);
    EXPECT_EQ(piece.body.image, shape_table[1].image);
    EXPECT_EQ(0, memcmp(piece.body.grid, shape_table[1].grid, sizeof piece.body.grid));
    EXPECT_EQ(Random_Next(), 26500);
}

TEST_F(ShapeDealing, RingIsAcceptedOnlyWhenTheExtraDrawIsAMultipleOfThree) {
    Set_Game_Type(GAME_XTREME);
    // Ring drawn, extra draw not a multiple of 3: both are spent and the next draw decides.
    uint32_t seed = 0;
    std::vector<int> r;
    for (;; seed++) {
        r = Stream(seed, 4);
        if (r[0] % 16 == SHAPE_RING && r[1] % 3 != 0 && r[2] % 16 != 0 && r[2] % 16 != 15) {
            break;
        }
    }
    EXPECT_EQ(Choose_Next_Shape(0), r[2] % 16);
    EXPECT_EQ(Random_Next(), r[3]);

    // Ring drawn and the extra draw a multiple of 3: the ring it is, after two draws.
    for (seed = 0;; seed++) {
        r = Stream(seed, 3);
        if (r[0] % 16 == SHAPE_RING && r[1] % 3 == 0) {
            break;
        }
    }
    EXPECT_EQ(Choose_Next_Shape(0), SHAPE_RING);
    EXPECT_EQ(Random_Next(), r[2]);

    // The current shape drawn again costs only that draw.
    for (seed = 0;; seed++) {
        r = Stream(seed, 3);
        if (r[0] % 16 == 4 && r[1] % 16 != 4 && r[1] % 16 != SHAPE_RING) {
            break;
        }
    }
    EXPECT_EQ(Choose_Next_Shape(4), r[1] % 16);
    EXPECT_EQ(Random_Next(), r[2]);
}

TEST_F(ShapeDealing, ClassicDealsOnlyTheFourCellShapesNeverTwiceInARow) {
    Random_Seed(12345);
    Reset_Piece(&piece);
    for (int i = 0; i < 5000; i++) {
        int previous = piece.shape;
        Spawn_Piece(&piece);
        ASSERT_GE(piece.shape, 0);
        ASSERT_LE(piece.shape, 6);
        ASSERT_NE(piece.next_shape, piece.shape);
        if (i > 0) {
            ASSERT_NE(piece.shape, previous);
        }
    }
}

TEST_F(ShapeDealing, ExtendedDealsAllSixteenWithTheRingAboutAThirdAsOften) {
    Set_Game_Type(GAME_XTREME);
    Random_Seed(777);
    Reset_Piece(&piece);
    std::array<int, SHAPE_TABLE_SIZE> dealt{};
    const int spawns = 60000;
    for (int i = 0; i < spawns; i++) {
        int previous = piece.shape;
        Spawn_Piece(&piece);
        ASSERT_NE(piece.shape, previous);
        dealt[piece.shape]++;
    }
    double others = 0;
    for (int shape = 0; shape < SHAPE_RING; shape++) {
        EXPECT_GT(dealt[shape], 0) << "shape " << shape;
        others += dealt[shape];
    }
    double ratio = dealt[SHAPE_RING] / (others / SHAPE_RING);
    EXPECT_GT(ratio, 0.28);
    EXPECT_LT(ratio, 0.40);
}

}  // namespace
