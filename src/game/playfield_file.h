// The sixteen preset layouts, "playf1.xpf" .. "playf16.xpf", and the loader that fills the well.
#pragma once

constexpr int PLAYFIELD_COUNT = 16;

// 0..15, shown as 1..16; chosen in the menu, loaded at every new game.
extern int playfield_number;

// Fills the whole well from layout `number` (16 or more means 15). Returns 1 when loaded, 0 when
// the file cannot be opened or holds fewer than 26 words; the well is then left as it was.
int Load_Playfield(int number);
