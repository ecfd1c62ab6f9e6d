// The game's twelve sounds by id, playback and the two volume settings.
#pragma once

// Slot numbers of the sound table; -1 (or anything outside 0..15) plays nothing.
extern int sound_menu_up;
extern int sound_menu_down;
extern int sound_menu_select;
extern int sound_intro;
extern int sound_line;
extern int sound_lock;
extern int sound_next_level;
extern int sound_loser;
extern int sound_song;
extern int sound_voice;
extern int sound_trail;
extern int sound_splash;

// Percent, 0..100 in steps of 5.
extern int music_volume;
extern int effects_volume;

int Load_Game_Sounds();
int Release_Game_Sounds();
// flags: 0 once, 1 looping. The three middle arguments are unused; callers pass 0.
int Play_Sound(int id, int unused1, int unused2, int unused3, int flags);
int Stop_Sound(int id);
int Stop_All_Sounds();
int Get_Sound_Status(int id);
int Set_Effects_Volume();
int Set_Music_Volume();
