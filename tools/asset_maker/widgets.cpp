#include "widgets.h"

#include <cmath>
#include <vector>

#include "prng.h"

void raised_plate(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom, int rim) {
    c.gradient_rect(x, y, w, h, top, bottom);
    Rgb mid = mix(top, bottom, 0.5f);
    for (int d = 0; d < rim; ++d) {
        float f = float(rim - d) / float(rim);
        c.bevel(x + d, y + d, w - 2 * d, h - 2 * d, 1, mix(mid, Rgb{255, 255, 255}, 0.45f * f),
                scale(mid, 1.0f - 0.6f * f));
    }
}

void sunken_box(Canvas& c, int x, int y, int w, int h, Rgb floor, int rim) {
    c.fill_rect(x, y, w, h, floor);
    for (int d = 0; d < rim; ++d) {
        float f = float(rim - d) / float(rim);
        c.bevel(x + d, y + d, w - 2 * d, h - 2 * d, 1, Rgb{uint8_t(4 * f), uint8_t(4 * f), 8},
                mix(floor, Rgb{170, 180, 210}, 0.55f * f));
    }
    // Inner shadow under the top rim.
    for (int i = x + rim; i < x + w - rim; ++i)
        c.blend(i, y + rim, Rgb{0, 0, 0}, 0.5f);
}

void screw(Canvas& c, int x, int y) {
    c.disc(x + 0.5f, y + 0.5f, 3.0f, Rgb{30, 32, 40});
    c.disc(x, y, 2.4f, Rgb{170, 176, 190});
    c.disc(x + 0.6f, y + 0.6f, 1.6f, Rgb{110, 116, 130});
    c.line(x - 1, y + 1, x + 1, y - 1, Rgb{40, 42, 52});
}

void lightning(Canvas& c, int x, int y, int y_end, unsigned seed, float brightness) {
    Prng rng(seed);
    std::vector<std::pair<float, float>> pts{{float(x), float(y)}};
    float px = float(x);
    for (float py = float(y); py < float(y_end);) {
        py += 10.0f + rng.uniform() * 22.0f;
        px += rng.signed_unit() * 22.0f;
        pts.push_back({px, std::min(py, float(y_end))});
    }
    const Rgb glow{120, 140, 255}, core{235, 240, 255};
    for (int pass = 0; pass < 2; ++pass)
        for (size_t k = 1; k < pts.size(); ++k) {
            float x0 = pts[k - 1].first, y0 = pts[k - 1].second;
            float x1 = pts[k].first, y1 = pts[k].second;
            int steps = int(std::hypot(x1 - x0, y1 - y0)) + 1;
            for (int s = 0; s <= steps; ++s) {
                float t = float(s) / float(steps);
                float fx = x0 + (x1 - x0) * t, fy = y0 + (y1 - y0) * t;
                if (pass == 0)
                    c.disc(fx, fy, 4.0f, glow, 0.08f * brightness);
                else
                    c.disc(fx, fy, 1.1f, core, brightness);
            }
        }
}
