// Screen transitions: palette fades that leave the pixels alone and return when complete.
#pragma once
#include <cstdint>

constexpr int SCREEN_DARKNESS = 0;   // fade to black; entry 0 keeps its colour
constexpr int SCREEN_WHITENESS = 1;  // fade to white

// The buffer and pitch are not touched by the fades. Other effect numbers do nothing.
void Screen_Transition(int effect, uint8_t* video_buffer, int lpitch);
