#include "storm.h"

#include <algorithm>
#include <cmath>

#include "blocks.h"
#include "prng.h"

void sky(Canvas& c, Rgb top, Rgb middle, Rgb bottom, float at) {
    const int split = int(c.height * at);
    c.gradient_rect(0, 0, c.width, split, top, middle);
    c.gradient_rect(0, split, c.width, c.height - split, middle, bottom);
}

namespace {

// Smooth noise: hashed lattice values blended with an eased bilinear weight.
float value_noise(float x, float y, unsigned seed) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = hash_noise(ix, iy, seed), b = hash_noise(ix + 1, iy, seed);
    float c = hash_noise(ix, iy + 1, seed), d = hash_noise(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

float cloud_density(int x, int y, int y0, int y1, unsigned seed) {
    float n = 0, amp = 0.5f, freq = 1.0f / 110.0f;
    for (int octave = 0; octave < 4; ++octave) {
        n += amp * value_noise(x * freq, y * freq * 2.2f, seed + octave);
        amp *= 0.5f;
        freq *= 2.0f;
    }
    // Thin out towards the band's edges.
    float mid = (y0 + y1) * 0.5f, half = (y1 - y0) * 0.5f;
    float band = 1.0f - std::min(1.0f, std::fabs(y - mid) / half);
    float d = (n - 0.42f) / 0.25f * band;
    return std::clamp(d, 0.0f, 1.0f);
}

}  // namespace

void clouds(Canvas& c, int y0, int y1, Rgb colour, unsigned seed) {
    const Rgb rim = mix(colour, Rgb{200, 190, 255}, 0.35f);
    for (int y = std::max(0, y0); y < std::min(c.height, y1); ++y)
        for (int x = 0; x < c.width; ++x) {
            float d = cloud_density(x, y, y0, y1, seed);
            if (d <= 0)
                continue;
            // Lit from above: where the cloud thickens downwards its top edge catches light.
            float above = cloud_density(x, y - 3, y0, y1, seed);
            Rgb tone = d - above > 0.08f ? rim : colour;
            c.blend(x, y, tone, d * 0.8f);
        }
}

void falling_cells(Canvas& c, int count, int y_min, int y_max, Rgb haze, unsigned seed, float trail,
                   int clear_x0, int clear_x1) {
    Prng rng(seed);
    // Far layers first so near cells cover them.
    const int sizes[4] = {6, 9, 13, 18};
    for (int layer = 0; layer < 4; ++layer) {
        const float nearness = float(layer + 1) / 4.0f;
        for (int i = 0; i < count / 4; ++i) {
            int size = sizes[layer];
            int x = rng.below(c.width - size);
            int y = y_min + rng.below(std::max(1, y_max - y_min - size));
            if (x + size >= clear_x0 && x <= clear_x1)
                continue;
            Rgb base = mix(haze, piece_colour(1 + rng.below(15)), 0.35f + 0.65f * nearness);
            int streak = int(size * (1.2f + 1.6f * nearness) * trail);
            for (int j = 0; j < streak; ++j) {
                float u = float(j) / float(streak);
                float a = 0.3f * nearness * u * u;
                for (int k = 1; k < size - 1; ++k)
                    c.blend(x + k, y - streak + j, base, a);
            }
            draw_piece_block(c, x, y, size, base);
        }
    }
}

void cell_pile(Canvas& c, int height, unsigned seed, bool neat) {
    Prng rng(seed);
    const int size = 16, columns = c.width / size;
    for (int col = 0; col < columns; ++col) {
        float wave = std::sin(col * 0.31f) * 0.25f + std::sin(col * 0.77f + 1.0f) * 0.15f;
        int rows = std::max(1, int(height / size * (0.65f + wave)) + (neat ? 0 : rng.below(2)));
        for (int r = 0; r < rows; ++r) {
            int y = c.height - (r + 1) * size;
            if (r == 0) {
                draw_fixed_block(c, col * size, y, 17 + (col % 4));
                continue;
            }
            if (!neat && rng.below(9) == 0)
                continue;  // a gap left in the pile
            draw_piece_block(c, col * size, y, size, piece_colour(1 + rng.below(15)));
        }
    }
}
