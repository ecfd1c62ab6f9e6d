// The text face of device contexts: DejaVu Sans Bold through FreeType, one bit per pixel, about
// the size of the default Windows system font (16-pixel lines).
#pragma once
#include <cstdint>

namespace platform::common {

constexpr int FONT_LINE_HEIGHT = 16;

// Draws length bytes of text (Latin-1) with the top-left of its line at (x, y) into an 8-bit
// surface of width x height bytes with the given pitch, setting covered pixels to index and
// leaving the rest. Everything is clipped to the surface. False when no font could be loaded.
bool draw_text(uint8_t* pixels, int width, int height, int pitch, int x, int y, const char* text,
               int length, uint8_t index);

}  // namespace platform::common
