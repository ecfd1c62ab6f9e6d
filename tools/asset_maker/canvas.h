// True-colour drawing surface: every picture is painted here first and reduced to 256 colours last.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

inline bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
inline bool operator!=(Rgb a, Rgb b) {
    return !(a == b);
}

// t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, float t);
// Multiplies every channel, saturating.
Rgb scale(Rgb c, float factor);

struct Canvas {
    int width;
    int height;
    std::vector<Rgb> pixels;

    Canvas(int w, int h, Rgb fill = Rgb{});

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb get(int x, int y) const { return inside(x, y) ? pixels[y * width + x] : Rgb{}; }
    void set(int x, int y, Rgb c);
    // Lays c over the pixel with the given opacity (0 … 1).
    void blend(int x, int y, Rgb c, float alpha);

    void fill_rect(int x, int y, int w, int h, Rgb c);
    void gradient_rect(int x, int y, int w, int h, Rgb top, Rgb bottom);
    // Broad diagonal bands of c over the top `rows` rows, like light across a brushed plate.
    void diagonal_bands(int rows, Rgb c, float alpha);
    // Raised (light top-left, dark bottom-right) or, swapping the colours, sunken border.
    void bevel(int x, int y, int w, int h, int depth, Rgb light, Rgb dark);
    void line(int x0, int y0, int x1, int y1, Rgb c);
    // Soft-edged filled circle.
    void disc(float cx, float cy, float radius, Rgb c, float alpha = 1.0f);
};
