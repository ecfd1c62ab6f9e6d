// Text on a 640 x 480 screen compared with the same text drawn by the platform's own font.
#pragma once
#include <cstdint>
#include <string>

// "" when, in the text's box at (x, y) and a small margin around it, exactly the pixels the
// text covers hold ink; otherwise where the first difference is.
std::string screen_text_mismatch(const uint8_t* pixels, int x, int y, const std::string& text,
                                 uint8_t ink);
