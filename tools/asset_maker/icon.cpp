#include "icon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "blocks.h"
#include "logo.h"
#include "storm.h"

namespace {

constexpr int S = ICON_MASTER_SIZE;
constexpr float MARGIN = S / 32.0f;  // room for the panel's soft edge, as themes expect
constexpr float RADIUS = S * 0.19f;

// Distance from the rounded square's edge, negative inside.
float panel_distance(float x, float y) {
    const float half = S / 2.0f - MARGIN, inner = half - RADIUS;
    float dx = std::max(std::fabs(x - S / 2.0f) - inner, 0.0f);
    float dy = std::max(std::fabs(y - S / 2.0f) - inner, 0.0f);
    float outside = std::hypot(dx, dy);
    float inside =
        std::min(std::max(std::fabs(x - S / 2.0f), std::fabs(y - S / 2.0f)) - inner, 0.0f);
    return outside + inside - RADIUS;
}

// Rows of ink in the letter's own mask, so it can be centred by what shows.
void ink_rows(const Mask& m, int* top, int* bottom) {
    *top = m.height;
    *bottom = 0;
    for (int j = 0; j < m.height; ++j)
        for (int i = 0; i < m.width; ++i)
            if (m.at(i, j) >= 0.5f) {
                *top = std::min(*top, j);
                *bottom = std::max(*bottom, j);
            }
}

Canvas draw_master(Fonts& fonts) {
    Canvas art(S, S);
    sky(art, Rgb{12, 14, 52}, Rgb{48, 26, 96}, Rgb{104, 40, 116}, 0.6f);
    // A settled, ragged pile along the bottom: the well the cells fall into.
    const int cell = S / 8;
    const int heights[] = {2, 1, 1, 2, 1, 2, 2, 1};
    const int colours[] = {4, 13, 8, 5, 11, 1, 6, 3};
    for (int column = 0; column < 8; ++column)
        for (int row = 0; row < heights[column]; ++row)
            draw_piece_block(art, column * cell, S - int(MARGIN) - (row + 1) * cell, cell,
                             piece_colour(colours[(column + row * 3) % 8]));
    // One cell on its way down into the letter's mouth.
    draw_piece_block(art, S / 2 + cell / 2, S / 2 - cell / 2, cell, piece_colour(8));

    ChromeStyle chrome = storm_chrome();
    chrome.bevel = 40;
    chrome.rim_width = 16;
    chrome.shadow_offset = 18;
    const int em = 660;
    int top = 0, bottom = 0;
    ink_rows(fonts.bold.render("C", em), &top, &bottom);
    const int border = chrome.rim_width + chrome.shadow_offset + 8;
    draw_chrome_text(art, fonts.bold, "C", em, 0, S / 2 - cell / 3,
                     S / 2 - (top + bottom) / 2 + border - cell / 4, chrome);
    return art;
}

}  // namespace

std::vector<IconImage> make_icons(Fonts& fonts, const std::vector<int>& sizes) {
    const Canvas art = draw_master(fonts);
    // Opacity from the panel's shape, with a lighter rim so the icon holds on dark themes too.
    std::vector<float> alpha(size_t(S) * S);
    std::vector<float> rgb(size_t(S) * S * 3);
    const Rgb rim{150, 140, 230};
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            float d = panel_distance(x + 0.5f, y + 0.5f);
            Rgb p = art.get(x, y);
            p = mix(p, rim, std::clamp(1.0f - std::fabs(d + S / 96.0f) / (S / 96.0f), 0.0f, 1.0f));
            size_t at = size_t(y) * S + x;
            alpha[at] = std::clamp(0.5f - d, 0.0f, 1.0f);
            rgb[at * 3] = p.r * alpha[at];
            rgb[at * 3 + 1] = p.g * alpha[at];
            rgb[at * 3 + 2] = p.b * alpha[at];
        }
    std::vector<IconImage> icons;
    for (int size : sizes) {
        if (size <= 0 || S % size != 0)
            throw std::invalid_argument("icon size");
        const int f = S / size;
        IconImage icon{size, std::vector<uint8_t>(size_t(size) * size * 4)};
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                // Averaged with the colours weighted by their opacity, so no dark fringe.
                float sum[4] = {};
                for (int j = 0; j < f; ++j)
                    for (int i = 0; i < f; ++i) {
                        size_t at = size_t(y * f + j) * S + size_t(x * f + i);
                        for (int c = 0; c < 3; ++c)
                            sum[c] += rgb[at * 3 + c];
                        sum[3] += alpha[at];
                    }
                uint8_t* out = &icon.rgba[(size_t(y) * size + x) * 4];
                for (int c = 0; c < 3; ++c)
                    out[c] =
                        sum[3] > 0 ? uint8_t(std::lround(std::min(sum[c] / sum[3], 255.0f))) : 0;
                out[3] = uint8_t(std::lround(sum[3] / float(f * f) * 255.0f));
            }
        icons.push_back(std::move(icon));
    }
    return icons;
}
