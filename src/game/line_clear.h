// Full rows: finding them, the sparkle-and-collapse clearing, and the score, tallies and level.
#pragma once

constexpr int CLEAR_NONE = 0;
constexpr int CLEAR_START = 1;     // the update after the lock: the full rows are emptied
constexpr int CLEAR_FLASH = 2;     // three flashes of five updates each
constexpr int CLEAR_COLLAPSE = 3;  // the rows above drop, then the clear is credited

constexpr int MAX_FULL_ROWS = 8;
constexpr int FLASH_TICKS = 5;
constexpr int FLASH_COUNT = 3;
constexpr int LINES_PER_LEVEL = 10;
constexpr int TOP_SPEED = 12;  // what a level-up past speed 8 jumps to

extern int clear_phase;
extern int full_rows[MAX_FULL_ROWS];  // top to bottom
extern int full_row_count;
extern int flash_tick;
extern int flash_count;

// Game counters. The game flow zeroes all but level at every new game; level carries over.
extern int score;
extern int level;
extern int lines_total;
extern int level_lines;
extern int clears_of_3;
extern int clears_of_4;
extern int clears_of_6;

// Mode 1: lists the full rows (at most eight, top first) and returns how many. Any other mode:
// advances the clearing by one update and returns 1.
int Process_Lines(int mode);
