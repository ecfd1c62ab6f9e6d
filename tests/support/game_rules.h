// Helpers for the game-rule tests: a known starting point, wells written as text, sounds.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "game/piece.h"

using Ints = std::vector<int>;

// Every global the rules touch back to its start: a plain walled well, a zeroed piece, counters,
// clearing state, input pacing, input, FLOW_PLAYING, classic type, layout 0, seed 1.
void Reset_Game_Rules();

// Cells as text, one character each: '.' empty, 'a'..'o' piece values 1..15, '0'..'?' fixed
// values 16..31 (as in layout files), '!' anything else.
std::string Well_Row(int row);
// Writes rows in that text from top_row down; a shorter row leaves the rest of its cells alone.
void Set_Well_Rows(int top_row, std::initializer_list<const char*> rows);
// Every cell of the grid, walls included, set to value.
void Fill_Well(int value);
// Empties columns 1..16 of rows 0..24, keeping the walls and floor.
void Empty_Well();

void Place_Piece(int shape, int x, int y, int state);

// Fresh rules and headless platform, with the game's own data files and its twelve sounds loaded.
class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

// How often the sound with this id has been started since the sound log was last cleared.
int Sound_Plays(int id);
