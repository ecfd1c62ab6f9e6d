// Lettering from DejaVu through FreeType, as coverage masks that the pictures then paint.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

// Coverage 0 … 1 per pixel; the text's baseline lies `baseline` rows from the top.
struct Mask {
    int width = 0;
    int height = 0;
    int baseline = 0;
    std::vector<float> cover;

    float at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? cover[size_t(y) * width + x] : 0.0f;
    }
};

class Font {
  public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // em_pixels is the em size; tracking adds pixels between letters. Sharp masks have no
    // grey edges, like the game's own text.
    Mask render(const std::string& text, int em_pixels, bool sharp = false, int tracking = 0);

  private:
    void* library_ = nullptr;
    void* face_ = nullptr;
};

// The fonts the pictures use, all from the DejaVu set every Debian system has.
struct Fonts {
    explicit Fonts(const std::string& dir);
    Font bold;
    Font regular;
    Font serif_bold;
};

// Paints the mask's covered pixels in c with their top-left at (x, y).
void paint(Canvas& canvas, const Mask& mask, int x, int y, Rgb c, float opacity = 1.0f);
// Text with a hard drop shadow one pixel down and right: how small labels stay readable.
void label(Canvas& canvas, Font& font, const std::string& text, int em, int x, int y, Rgb c,
           Rgb shadow, bool sharp = true);
// Width in pixels of the covered part of the mask.
int ink_width(const Mask& mask);
// Grows the covered area by radius pixels (for outlines and glows).
Mask dilate(const Mask& mask, int radius);
// Box-blurs the coverage three times: a cheap near-Gaussian.
Mask blur(const Mask& mask, int radius);
// The same mask with an empty border of n pixels all round (room for glows and shadows).
Mask pad(const Mask& mask, int n);
