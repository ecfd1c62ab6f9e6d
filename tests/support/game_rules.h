// Helpers for the game-rule tests: a known starting point, wells drawn as text, layout files.
#pragma once
#include <initializer_list>
#include <string>

// Puts every global the rules touch back to its start: a plain walled well, a zeroed piece,
// counters and clearing state, input pacing, input, game state, classic type, layout 0,
// seed 1.
void Reset_Game_Rules();

// Draws rows into the well from `top_row` down. Inside a row, column 0 is the first character:
// '.' empty, '#' a piece cell (value 1), 'X' a fixed cell (value 17), other characters keep
// the cell as it is.
void Set_Well_Rows(int top_row, std::initializer_list<const char*> rows);

// Makes the whole row a row of value `value`, walls included.
void Fill_Row(int row, int value);

// Empties the interior of every row (columns 1..16 of rows 0..24), keeping the walls and floor.
void Empty_Well();

// Puts the piece at (x, y) in `state` with shape `shape` as its body.
void Place_Piece(int shape, int x, int y, int state);

// Writes text to path; false when it cannot be written.
bool Write_Text_File(const std::string& path, const std::string& text);

// A fresh directory under the system's temporary directory; empty when none could be made.
std::string Make_Scratch_Directory();
void Remove_Scratch_Directory(const std::string& path);

// Loads the game's twelve sounds from short test files written into dir and makes dir the only
// place data files are looked for. True when all twelve loaded.
bool Load_Test_Sounds(const std::string& dir);
// Releases the sounds and puts the headless backend back to a fresh start.
void Release_Test_Sounds();
// How often the sound with this id has been started since the last Clear_Sound_Plays.
int Sound_Plays(int id);
void Clear_Sound_Plays();
