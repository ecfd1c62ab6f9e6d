// Checks on text drawn through a device context: compares a screen's pixels with the same text
// rendered by the platform's own font, so tests can tell "5" from "4" and find where text went.
#pragma once
#include <cstdint>
#include <set>
#include <string>

// "" when, in the text's box at (x, y) (with a small margin), exactly the pixels the text covers
// hold ink; otherwise a description of the first difference. pixels: 640 x 480, pitch 640.
std::string screen_text_mismatch(const uint8_t* pixels, int x, int y, const std::string& text,
                                 uint8_t ink);

// The distinct pixel values in the screen rectangle [x, x + w) x [y, y + h), except `except`.
std::set<uint8_t> screen_values_in(const uint8_t* pixels, int x, int y, int w, int h,
                                   uint8_t except);

// Width in pixels of the text as the platform draws it.
int screen_text_width(const std::string& text);
