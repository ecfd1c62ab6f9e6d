// The game's one frame function and the voice timer of play.
#pragma once

// 1 from the play frame that paused the game until the first paused frame with the pause key up.
extern int pause_latch;
// Play frames since the start of the run or since the voice last played.
// KEPT: never reset otherwise, so it runs on across pauses, menus and games.
extern int voice_timer;

// One step of the game for the state in game_state: the set-up of a start or a new game runs
// together with the first frame that follows it. 1 keeps the message loop going; 0 (only when
// the closing picture cannot be loaded) ends it.
int Game_Main();

// Counts a play frame; past 3000 of them each frame has a one-in-five chance to play the voice
// and start counting again. Always 1.
int Voice_Timer_Tick();
