// Drawing access to the back buffer, the page flip, and the palette with its shadow copy.
#pragma once
#include <cstdint>

#include "graphics/display.h"
#include "platform/video.h"

// Start of the locked back buffer (pixel (x, y) at y * 640 + x); null whenever it is not locked,
// and also null after a lock the platform refused.
extern uint8_t* back_buffer;
// 1 from a successful DD_Lock_Back_Surface until the matching DD_Unlock_Back_Surface.
extern int back_locked;
extern platform::SurfaceDesc back_desc;

// The platform's result of the flip. The back buffer must be unlocked.
platform::Result DD_Flip();
// 1 when this call locked, 0 when the back buffer was already locked.
int DD_Lock_Back_Surface();
// 1 when this call unlocked, 0 when nothing was locked.
int DD_Unlock_Back_Surface();

// One entry into the hardware palette and shadow_palette; 0 for an index outside 0..255.
int Set_Palette_Entry(const PALETTEENTRY* entry, int index);
// Entries 0..count-1 one at a time; the rest stay as they were.
int Set_Palette(const PALETTEENTRY* palette, int count);
// Copies all 256 entries of shadow_palette out.
int Save_Palette(PALETTEENTRY* palette);
// Copies 256 entries into shadow_palette and sets them in one platform call.
int Restore_Palette(const PALETTEENTRY* palette);
