// One play update: spawn, turn, shift, fall, land, lock, and the row clearing that follows.
#pragma once
#include "game/piece.h"

// Input pacing.
// KEPT: not reset by a new game, so its first steps are paced by the last input of the one before.
extern int rotate_delay;  // updates before a rotation button is honoured again
extern int move_repeat;   // updates since the last horizontal step decision
extern int last_dx;       // dx seen at that decision

constexpr int ROTATE_DELAY = 2;
constexpr int MOVE_REPEAT = 2;
constexpr int LOCK_DELAY = 3;
constexpr int MAX_FALL_STEP = 12;
constexpr int DOWN_BOOST = 6;

// Runs one play update on the piece from input_state. Returns 1. Stores FLOW_GAME_ENDING in
// game_state when a new piece has no room.
int Update_Play(Piece* p);
