// Pieces of cabinet furniture shared by the screens: plates, wells and screws.
#pragma once

#include "canvas.h"

// A raised plate: vertical gradient face, lit top-left rim, shaded bottom-right rim.
void raised_plate(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom, int rim = 3);
// A recessed box: shaded top-left rim, lit bottom-right rim, flat dark floor.
void sunken_box(Canvas& c, int x, int y, int w, int h, Rgb floor, int rim = 2);
// A round screw head with a slot, about 5 pixels across, centred on (x, y).
void screw(Canvas& c, int x, int y);
// A dark-edged lightning bolt from (x, y) down to y_end; seed shapes its zigzag.
void lightning(Canvas& c, int x, int y, int y_end, unsigned seed, float brightness = 1.0f);

// Fills the pixels of [x0, x1) x [y0, y1) where inside(fx, fy) holds, sampling each pixel
// 4 x 4 times so edges come out smooth.
template <class Inside>
void fill_shape(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour, Inside inside) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f))
                        ++hits;
            c.blend(x, y, colour, hits / 16.0f);
        }
}
