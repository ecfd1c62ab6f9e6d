// The game flow's state, read and written by the flow, the menu and the play update.
#pragma once

// The numbers are fixed: the menu and the play update store them directly.
constexpr int FLOW_STARTUP = 0;
constexpr int FLOW_NEW_GAME = 1;
constexpr int FLOW_PLAYING = 4;
constexpr int FLOW_PAUSED = 5;
constexpr int FLOW_MENU = 6;
constexpr int FLOW_GAME_ENDING = 7;
constexpr int FLOW_EXIT = 8;
constexpr int FLOW_CLOSING_SCREEN = 9;
constexpr int FLOW_SHUTDOWN = 10;

extern int game_state;

// 1 while a started game can be resumed from the menu: set by a new game, cleared when it ends.
extern int game_in_progress;

// 1 from the Esc that moved between play and the menu until a poll sees Esc up, so one press
// acts once: a held Esc neither reopens the menu nor resumes again.
extern int menu_latch;
