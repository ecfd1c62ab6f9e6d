#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

uint8_t clamp_channel(float v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Rgb mix(Rgb a, Rgb b, float t) {
    return Rgb{clamp_channel(a.r + (b.r - a.r) * t), clamp_channel(a.g + (b.g - a.g) * t),
               clamp_channel(a.b + (b.b - a.b) * t)};
}

Rgb scale(Rgb c, float factor) {
    return Rgb{clamp_channel(c.r * factor), clamp_channel(c.g * factor),
               clamp_channel(c.b * factor)};
}

Canvas::Canvas(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}

void Canvas::set(int x, int y, Rgb c) {
    if (inside(x, y))
        pixels[y * width + x] = c;
}

void Canvas::blend(int x, int y, Rgb c, float alpha) {
    if (!inside(x, y) || alpha <= 0.0f)
        return;
    Rgb& p = pixels[y * width + x];
    p = alpha >= 1.0f ? c : mix(p, c, alpha);
}

void Canvas::fill_rect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
}

void Canvas::gradient_rect(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    for (int j = 0; j < h; ++j) {
        Rgb c = mix(top, bottom, h > 1 ? float(j) / float(h - 1) : 0.0f);
        for (int i = 0; i < w; ++i)
            set(x + i, y + j, c);
    }
}

void Canvas::diagonal_bands(int rows, Rgb c, float alpha) {
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x)
            if (((x + y) / 48) % 2 == 0)
                blend(x, y, c, alpha);
}

void Canvas::bevel(int x, int y, int w, int h, int depth, Rgb light, Rgb dark) {
    for (int d = 0; d < depth; ++d) {
        int x0 = x + d, y0 = y + d, x1 = x + w - 1 - d, y1 = y + h - 1 - d;
        for (int i = x0; i <= x1; ++i) {
            set(i, y0, light);
            set(i, y1, dark);
        }
        for (int j = y0; j <= y1; ++j) {
            set(x0, j, light);
            set(x1, j, dark);
        }
        // The two off corners split the difference so the mitre reads cleanly.
        set(x1, y0, mix(light, dark, 0.5f));
        set(x0, y1, mix(light, dark, 0.5f));
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, Rgb c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::disc(float cx, float cy, float radius, Rgb c, float alpha) {
    int x0 = int(std::floor(cx - radius - 1)), x1 = int(std::ceil(cx + radius + 1));
    int y0 = int(std::floor(cy - radius - 1)), y1 = int(std::ceil(cy + radius + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float cover = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
            blend(x, y, c, cover * alpha);
        }
}
