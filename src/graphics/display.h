// The full-screen 640 x 480 x 8 display: flip chain, hardware palette and its shadow copy.
#pragma once
#include <cstdint>

#include "platform/video.h"
#include "platform/window.h"

using PALETTEENTRY = platform::PaletteEntry;

constexpr int SCREEN_WIDTH = platform::SCREEN_WIDTH;
constexpr int SCREEN_HEIGHT = platform::SCREEN_HEIGHT;
constexpr int SCREEN_BPP = 8;

// Null (or all zero) until DD_Init and again after DD_Shutdown.
extern platform::DisplayDevice* dd_object;
extern platform::Surface* primary_surface;
extern platform::Surface* back_surface;
extern platform::Palette* dd_palette;
// What the hardware palette was last set to.
extern PALETTEENTRY shadow_palette[256];

// 1 when the display is ready; 0 when a step failed, with everything made so far released.
int DD_Init(platform::WindowHandle window);
// 1 when a display existed and was released, 0 when there was none.
int DD_Shutdown();
// Clears the whole surface to one colour; a surface that cannot be locked is left alone.
int DD_Fill_Surface(platform::Surface* surface, uint8_t color);
