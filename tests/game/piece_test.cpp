// Dealing shapes, the cell probes, and rotation.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "common/random.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/well.h"
#include "support/game_rules.h"

namespace {

class PieceTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset_Game_Rules(); }
};

// The first seed whose next `count` draws satisfy `wanted`, with the generator left at that seed.
template <typename Wanted>
Ints Seed_Where(int count, Wanted wanted) {
    for (uint32_t seed = 0;; seed++) {
        Random_Seed(seed);
        Ints n(count);
        for (int& v : n) {
            v = Random_Next();
        }
        if (wanted(n)) {
            Random_Seed(seed);
            return n;
        }
    }
}

TEST_F(PieceTest, ResetAndSpawnDrawInTheDocumentedOrder) {
    // Seed 1 yields 41, 18467, 6334, 26500: reset takes shapes 6 and 1, the spawn plays 1 and
    // draws the next one from 6334.
    level = 9;
    piece.y = 77;
    piece.lock_delay = 2;
    Reset_Piece(&piece);
    EXPECT_EQ(Piece_Fields(), (Ints{PIECE_SPAWN, 0, 0, 11, 0, 6, 1}));
    EXPECT_EQ(Spawn_Piece(&piece), 1);
    EXPECT_EQ(Piece_Fields(), (Ints{PIECE_FALLING, 112, 0, 11, 0, 1, 6334 % 7}));
    EXPECT_EQ(0, std::memcmp(&piece.body, &shape_table[1], sizeof(Shape)));
    EXPECT_EQ(Random_Next(), 26500);
}

TEST_F(PieceTest, TheRingNeedsAnExtraDrawThatIsAMultipleOfThree) {
    Set_Game_Type(GAME_XTREME);
    Ints r = Seed_Where(4, [](const Ints& n) {
        return n[0] % 16 == SHAPE_RING && n[1] % 3 != 0 && n[2] % 16 != 0 && n[2] % 16 != 15;
    });
    EXPECT_EQ(Choose_Next_Shape(0), r[2] % 16);
    EXPECT_EQ(Random_Next(), r[3]);
    r = Seed_Where(3, [](const Ints& n) { return n[0] % 16 == SHAPE_RING && n[1] % 3 == 0; });
    EXPECT_EQ(Choose_Next_Shape(0), SHAPE_RING);
    EXPECT_EQ(Random_Next(), r[2]);
    // Drawing the current shape again costs that one draw.
    r = Seed_Where(3, [](const Ints& n) {
        return n[0] % 16 == 4 && n[1] % 16 != 4 && n[1] % 16 != SHAPE_RING;
    });
    EXPECT_EQ(Choose_Next_Shape(4), r[1] % 16);
    EXPECT_EQ(Random_Next(), r[2]);
}

TEST_F(PieceTest, LongRunsDealTheTypesShapesNeverTwiceInARowTheRingAThirdAsOften) {
    for (int type : {GAME_CLASSIC, GAME_XTREME}) {
        Set_Game_Type(type);
        Set_Game_Type(2);  // an unknown type keeps the range
        Random_Seed(777);
        Reset_Piece(&piece);
        std::array<int, SHAPE_TABLE_SIZE> dealt{};
        for (int i = 0; i < 60000; i++) {
            int previous = piece.shape;
            ASSERT_NE(Spawn_Piece(&piece), previous);
            dealt[piece.shape]++;
        }
        const int others = type == GAME_CLASSIC ? 7 : SHAPE_RING;
        for (int shape = 0; shape < SHAPE_TABLE_SIZE; shape++) {
            EXPECT_TRUE(shape < others ? dealt[shape] > 3000 : type == GAME_XTREME || !dealt[shape])
                << type << " " << shape;
        }
        double ratio = dealt[SHAPE_RING] * SHAPE_RING / (60000.0 - dealt[SHAPE_RING]);
        EXPECT_TRUE(type == GAME_CLASSIC || (ratio > 0.28 && ratio < 0.40)) << ratio;
    }
}

TEST_F(PieceTest, CellsProbeTheRowOfTheirBottomPixelAndOutsideTheGridIsOccupied) {
    struct Case {
        int x, y, row, column, value, collides;
    };
    // The square fills box rows and columns 1..2; at y = 8 its bottom pixels lie in rows 2 and
    // 3. Hanging over an edge is fine while only empty box rows and columns lie outside.
    const Case cases[] = {{112, 8, 1, 8, 1, 0}, {112, 8, 3, 9, 1, 1},   {112, 8, 3, 9, 31, 1},
                          {-16, 0, 0, 0, 0, 0}, {-32, 0, 0, 0, 0, 1},   {240, 0, 0, 0, 0, 0},
                          {256, 0, 0, 0, 0, 1}, {112, 368, 0, 0, 0, 0}, {112, 369, 0, 0, 0, 1}};
    for (const Case& c : cases) {
        Fill_Well(0);
        well[c.row][c.column].value = c.value;
        Place_Piece(6, c.x, c.y, PIECE_FALLING);
        EXPECT_EQ(Piece_Collides(&piece), c.collides) << c.x << "," << c.y << " " << c.value;
    }
}

TEST_F(PieceTest, RotationTurnsTheWholeBoxBothWays) {
    struct Case {
        int shape, direction;
        const char* turned;
    };
    // The bar stands in box column 1 turning clockwise, in column 2 the other way.
    const Case cases[] = {{11, ROTATE_CLOCKWISE, ".###/...#/...#/...."},
                          {11, ROTATE_COUNTER_CLOCKWISE, "..../#.../#.../###."},
                          {5, ROTATE_CLOCKWISE, ".#../.#../.#../.#.."},
                          {5, ROTATE_COUNTER_CLOCKWISE, "..#./..#./..#./..#."}};
    for (const Case& c : cases) {
        Place_Piece(c.shape, 112, 0, PIECE_FALLING);
        EXPECT_EQ(Rotate_Piece(&piece, c.direction), 1);
        EXPECT_EQ(Grid_Text(piece.body), c.turned);
        EXPECT_EQ(piece.x, 112);
    }
}

TEST_F(PieceTest, ATurnThatDoesNotFitIsRefusedWithoutANudge) {
    Place_Piece(5, 16, 0, PIECE_FALLING);  // the bar lying over well columns 1..4
    well[3][2].value = 1;                  // where the clockwise turn would stand it
    Piece before = piece;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
    EXPECT_EQ(0, std::memcmp(&before, &piece, sizeof piece));
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 1);  // column 3 is free
    // Between rows (y = 8) the standing bar's bottom pixels lie in rows 1..4, not row 0.
    for (int row : {0, 4}) {
        Place_Piece(5, 112, 8, PIECE_FALLING);
        Empty_Well();
        well[row][8].value = 1;
        EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), row == 0) << row;
    }
}

}  // namespace
