#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "common/random.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "support/game_rules.h"

namespace {

class ShapeDealing : public ::testing::Test {
  protected:
    void SetUp() override { Reset_Game_Rules(); }

    // The first seed whose stream satisfies `wanted`, with the generator left at that seed.
    template <typename Wanted>
    static std::vector<int> Seed_Where(int count, Wanted wanted) {
        for (uint32_t seed = 0;; seed++) {
            Random_Seed(seed);
            std::vector<int> numbers;
            for (int i = 0; i < count; i++) {
                numbers.push_back(Random_Next());
            }
            if (wanted(numbers)) {
                Random_Seed(seed);
                return numbers;
            }
        }
    }
};

TEST_F(ShapeDealing, GameTypeSetsTheDealtRangeAndAnUnknownTypeKeepsIt) {
    EXPECT_EQ(Set_Game_Type(GAME_XTREME), 1);
    EXPECT_EQ(first_shape, 0);
    EXPECT_EQ(shape_count, 16);
    EXPECT_EQ(Set_Game_Type(2), 1);
    EXPECT_EQ(shape_count, 16);
    Set_Game_Type(GAME_CLASSIC);
    Set_Game_Type(-1);
    EXPECT_EQ(shape_count, 7);
}

TEST_F(ShapeDealing, ResetAndSpawnDrawInTheDocumentedOrder) {
    // Seed 1 yields 41, 18467, 6334, 26500: reset takes shapes 6 and 1, the spawn plays 1 and
    // draws 6 as the next one.
    level = 9;
    Reset_Piece(&piece);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(piece.speed, 11);
    EXPECT_EQ(piece.shape, 6);
    EXPECT_EQ(piece.next_shape, 1);
    piece.y = 77;
    piece.lock_delay = 2;
    EXPECT_EQ(Spawn_Piece(&piece), 1);
    EXPECT_EQ(piece.state, PIECE_FALLING);
    EXPECT_EQ(piece.x, 112);
    EXPECT_EQ(piece.y, 0);
    EXPECT_EQ(piece.lock_delay, 0);
    EXPECT_EQ(piece.next_shape, 6334 % 7);
    EXPECT_EQ(0, std::memcmp(&piece.body, &shape_table[1], sizeof(Shape)));
    EXPECT_EQ(Random_Next(), 26500);

    level = 12;  // a game started straight after one that reached level 12
    Reset_Piece(&piece);
    EXPECT_EQ(piece.speed, 14);
}

TEST_F(ShapeDealing, TheRingNeedsAnExtraDrawThatIsAMultipleOfThree) {
    Set_Game_Type(GAME_XTREME);
    std::vector<int> r = Seed_Where(4, [](const std::vector<int>& n) {
        return n[0] % 16 == SHAPE_RING && n[1] % 3 != 0 && n[2] % 16 != 0 && n[2] % 16 != 15;
    });
    EXPECT_EQ(Choose_Next_Shape(0), r[2] % 16);
    EXPECT_EQ(Random_Next(), r[3]);

    r = Seed_Where(
        3, [](const std::vector<int>& n) { return n[0] % 16 == SHAPE_RING && n[1] % 3 == 0; });
    EXPECT_EQ(Choose_Next_Shape(0), SHAPE_RING);
    EXPECT_EQ(Random_Next(), r[2]);

    // Drawing the current shape again costs that one draw.
    r = Seed_Where(3, [](const std::vector<int>& n) {
        return n[0] % 16 == 4 && n[1] % 16 != 4 && n[1] % 16 != SHAPE_RING;
    });
    EXPECT_EQ(Choose_Next_Shape(4), r[1] % 16);
    EXPECT_EQ(Random_Next(), r[2]);
}

TEST_F(ShapeDealing, LongRunsDealTheRightShapesNeverTwiceInARow) {
    for (int type : {GAME_CLASSIC, GAME_XTREME}) {
        Set_Game_Type(type);
        Random_Seed(777);
        Reset_Piece(&piece);
        std::array<int, SHAPE_TABLE_SIZE> dealt{};
        for (int i = 0; i < 60000; i++) {
            int previous = piece.shape;
            Spawn_Piece(&piece);
            ASSERT_NE(piece.shape, previous);
            dealt[piece.shape]++;
        }
        if (type == GAME_CLASSIC) {
            for (int shape = 7; shape < SHAPE_TABLE_SIZE; shape++) {
                EXPECT_EQ(dealt[shape], 0) << shape;
            }
            continue;
        }
        double others = 0;
        for (int shape = 0; shape < SHAPE_RING; shape++) {
            EXPECT_GT(dealt[shape], 3000) << shape;
            others += dealt[shape];
        }
        double ratio = dealt[SHAPE_RING] / (others / SHAPE_RING);  // about a third
        EXPECT_GT(ratio, 0.28);
        EXPECT_LT(ratio, 0.40);
    }
}

}  // namespace
