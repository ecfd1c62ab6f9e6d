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

void clouds(Canvas& c, int y0, int y1, Rgb colour, unsigned seed) {
    Prng rng(seed);
    for (int i = 0; i < 60; ++i) {
        float x = rng.uniform() * c.width, y = y0 + rng.uniform() * (y1 - y0);
        float r = 25 + rng.uniform() * 45;
        c.disc(x, y, r, colour, 0.25f);
        c.disc(x + r * 0.4f, y - r * 0.2f, r * 0.6f, mix(colour, Rgb{90, 80, 140}, 0.3f), 0.15f);
    }
}

void falling_cells(Canvas& c, int count, int y_min, int y_max, Rgb haze, unsigned seed,
                   float trail) {
    Prng rng(seed);
    // Far layers first so near cells cover them.
    const int sizes[4] = {6, 9, 13, 18};
    for (int layer = 0; layer < 4; ++layer) {
        const float nearness = float(layer + 1) / 4.0f;
        for (int i = 0; i < count / 4; ++i) {
            int size = sizes[layer];
            int x = rng.below(c.width - size);
            int y = y_min + rng.below(std::max(1, y_max - y_min - size));
            Rgb base = mix(haze, piece_colour(1 + rng.below(15)), 0.35f + 0.65f * nearness);
            int streak = int(size * (2.5f + 3.0f * nearness) * trail);
            for (int j = 0; j < streak; ++j) {
                float a = 0.45f * nearness * float(j) / float(streak);
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
