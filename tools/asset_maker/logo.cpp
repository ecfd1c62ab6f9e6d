#include "logo.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Distance in pixels from each covered pixel to the nearest uncovered one (chamfer 3-4).
std::vector<float> inside_distance(const Mask& m) {
    const int w = m.width, h = m.height;
    const float far = 1e6f;
    std::vector<float> d(size_t(w) * h);
    for (int i = 0; i < w * h; ++i)
        d[i] = m.cover[i] >= 0.5f ? far : 0.0f;
    auto at = [&](int x, int y) {
        return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : d[y * w + x];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float& v = d[y * w + x];
            if (v == 0.0f)
                continue;
            v = std::min({v, at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4,
                          at(x + 1, y - 1) + 4});
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            float& v = d[y * w + x];
            if (v == 0.0f)
                continue;
            v = std::min({v, at(x + 1, y) + 3, at(x, y + 1) + 3, at(x + 1, y + 1) + 4,
                          at(x - 1, y + 1) + 4});
        }
    for (float& v : d)
        v /= 3.0f;
    return d;
}

Rgb face_colour(const ChromeStyle& s, float t) {
    const float horizon = 0.55f;
    if (t < horizon)
        return mix(s.sky_top, s.sky_horizon, t / horizon);
    return mix(s.ground_top, s.ground_bottom, (t - horizon) / (1.0f - horizon));
}

}  // namespace

ChromeStyle storm_chrome() {
    return ChromeStyle{Rgb{30, 60, 170},
                       Rgb{225, 240, 255},
                       Rgb{70, 30, 110},
                       Rgb{255, 190, 240},
                       Rgb{8, 6, 24},
                       6,
                       3,
                       7};
}

ChromeStyle gold_chrome() {
    return ChromeStyle{Rgb{120, 60, 10},
                       Rgb{255, 245, 190},
                       Rgb{150, 70, 0},
                       Rgb{255, 220, 120},
                       Rgb{20, 10, 0},
                       4,
                       2,
                       4};
}

int draw_chrome_text(Canvas& canvas, Font& font, const std::string& text, int em, int tracking,
                     int cx, int y, const ChromeStyle& s) {
    const int border = s.rim_width + s.shadow_offset + 8;
    Mask m = pad(font.render(text, em, false, tracking), border);
    const int x0 = cx - m.width / 2, y0 = y - border;

    Mask rim = dilate(m, s.rim_width);
    Mask shadow = blur(rim, 3);
    paint(canvas, shadow, x0 + s.shadow_offset, y0 + s.shadow_offset, Rgb{0, 0, 0}, 0.75f);
    paint(canvas, rim, x0, y0, s.rim);

    // The face's vertical span gives the chrome gradient its scale.
    int top = m.height, bottom = 0;
    for (int j = 0; j < m.height; ++j)
        for (int i = 0; i < m.width; ++i)
            if (m.at(i, j) >= 0.5f) {
                top = std::min(top, j);
                bottom = std::max(bottom, j);
            }
    std::vector<float> dist = inside_distance(m);
    auto height_at = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= m.width || j >= m.height)
            return 0.0f;
        float t = std::min(dist[size_t(j) * m.width + i] / float(s.bevel), 1.0f);
        return t * t * (3 - 2 * t);
    };
    const float lx = -0.55f, ly = -0.6f, lz = 0.58f;  // light from the top left
    const float hx = lx, hy = ly, hz = lz + 1.0f;
    const float hn = std::sqrt(hx * hx + hy * hy + hz * hz);
    for (int j = 0; j < m.height; ++j)
        for (int i = 0; i < m.width; ++i) {
            float cover = m.at(i, j);
            if (cover <= 0.0f)
                continue;
            float gx = (height_at(i + 1, j) - height_at(i - 1, j)) * 0.5f * s.bevel;
            float gy = (height_at(i, j + 1) - height_at(i, j - 1)) * 0.5f * s.bevel;
            float nx = -gx, ny = -gy, nz = 1.0f;
            float n = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= n;
            ny /= n;
            nz /= n;
            float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            float spec = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hn), 24.0f);
            float t = bottom > top ? float(j - top) / float(bottom - top) : 0.0f;
            Rgb base = face_colour(s, std::clamp(t, 0.0f, 1.0f));
            Rgb lit = scale(base, 0.25f + 1.3f * diffuse);
            lit = mix(lit, Rgb{255, 255, 255}, std::min(spec, 1.0f) * 0.8f);
            canvas.blend(x0 + i, y0 + j, lit, cover);
        }
    return m.width - 2 * border;
}
