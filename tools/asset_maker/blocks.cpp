#include "blocks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "prng.h"

namespace {

const Rgb WHITE{255, 255, 255};

// Which bevel edge a pixel lies on, and how deep: top/left edges are lit, bottom/right dark.
struct EdgeDepth {
    bool lit;
    int depth;
};

EdgeDepth edge_of(int i, int j, int size) {
    int top = j, left = i, bottom = size - 1 - j, right = size - 1 - i;
    int lit = std::min(top, left), dark = std::min(bottom, right);
    if (lit < dark || (lit == dark && i + j < size - 1))
        return {true, lit};
    return {false, dark};
}

// Four shades of one material, darkest first, and the noise that picks between them.
using Shades = std::array<Rgb, 4>;

Rgb pick(const Shades& s, float v) {
    return s[std::clamp(int(v * 4.0f), 0, 3)];
}

// Rough slab: mottled face, one-pixel lit and shaded rims.
void rough_slab(Canvas& c, int x, int y, const Shades& s, uint32_t seed) {
    for (int j = 0; j < BLOCK_SIZE; ++j)
        for (int i = 0; i < BLOCK_SIZE; ++i) {
            // Blotches two pixels across, so the grain reads as stone and not as noise.
            float v = 0.6f * hash_noise(i / 2, j / 2, seed) + 0.4f * hash_noise(i, j, seed + 7);
            Rgb p = pick(Shades{s[1], s[1], s[2], s[2]}, v);
            EdgeDepth e = edge_of(i, j, BLOCK_SIZE);
            if (e.depth == 0)
                p = e.lit ? s[3] : s[0];
            c.set(x + i, y + j, p);
        }
}

void stone(Canvas& c, int x, int y, int variant) {
    const Shades grey{Rgb{52, 50, 48}, Rgb{92, 88, 84}, Rgb{112, 108, 102}, Rgb{150, 146, 138}};
    const Shades dark{Rgb{30, 30, 32}, Rgb{58, 56, 58}, Rgb{70, 68, 70}, Rgb{98, 96, 98}};
    rough_slab(c, x, y, variant == 0 ? dark : grey, 11u + variant);
    const Shades& s = variant == 0 ? dark : grey;
    if (variant == 2) {  // cracked
        const int crack[][2] = {{3, 2}, {4, 3},   {5, 4},   {5, 5},   {6, 6}, {8, 7},  {9, 8},
                                {9, 9}, {10, 10}, {10, 11}, {12, 12}, {7, 6}, {11, 12}};
        for (auto& p : crack)
            c.set(x + p[0], y + p[1], s[0]);
    } else if (variant == 3) {  // cobbles: two stones and a mortar seam
        for (int i = 1; i < 15; ++i)
            c.set(x + i, y + 8, s[0]);
        for (int j = 1; j < 8; ++j)
            c.set(x + 9, y + j, s[0]);
        for (int j = 9; j < 15; ++j)
            c.set(x + 5, y + j, s[0]);
        for (int i = 1; i < 15; ++i)
            c.set(x + i, y + 9, s[3]);
    } else if (variant == 4) {  // moss creeping over the top
        const Rgb moss[2] = {Rgb{60, 96, 40}, Rgb{92, 130, 52}};
        for (int i = 0; i < BLOCK_SIZE; ++i) {
            int reach = 2 + int(hash_noise(i, 0, 5) * 4.0f);
            for (int j = 0; j < reach; ++j)
                c.set(x + i, y + j, moss[(i + j) % 3 == 0]);
        }
    }
}

void metal(Canvas& c, int x, int y, int variant) {
    const Shades steel{Rgb{40, 46, 58}, Rgb{84, 94, 112}, Rgb{116, 128, 148}, Rgb{176, 188, 206}};
    for (int j = 0; j < BLOCK_SIZE; ++j)
        for (int i = 0; i < BLOCK_SIZE; ++i) {
            EdgeDepth e = edge_of(i, j, BLOCK_SIZE);
            Rgb p = steel[2];
            if (e.depth == 0)
                p = e.lit ? steel[3] : steel[0];
            else if (e.depth == 1)
                p = e.lit ? steel[2] : steel[1];
            else
                p = steel[1];
            c.set(x + i, y + j, p);
        }
    auto rivet = [&](int i, int j) {
        c.set(x + i, y + j, steel[3]);
        c.set(x + i + 1, y + j, steel[2]);
        c.set(x + i, y + j + 1, steel[2]);
        c.set(x + i + 1, y + j + 1, steel[0]);
    };
    if (variant == 0 || variant == 3) {
        rivet(3, 3), rivet(11, 3), rivet(3, 11), rivet(11, 11);
    }
    if (variant == 1) {  // tread plate
        for (int j = 3; j < 13; j += 4)
            for (int i = 3; i < 13; i += 4) {
                int o = (j / 4) % 2 ? 2 : 0;
                c.set(x + i + o, y + j, steel[3]);
                c.set(x + i + o + 1, y + j + 1, steel[0]);
            }
    } else if (variant == 2) {  // vent slots
        for (int j = 4; j <= 11; j += 3)
            for (int i = 4; i <= 11; ++i) {
                c.set(x + i, y + j, steel[0]);
                c.set(x + i, y + j + 1, steel[3]);
            }
    } else if (variant == 3) {  // cross brace
        for (int k = 5; k <= 10; ++k) {
            c.set(x + k, y + k, steel[3]);
            c.set(x + k + 1, y + k, steel[0]);
            c.set(x + 15 - k, y + k, steel[3]);
            c.set(x + 16 - k, y + k, steel[0]);
        }
    }
}

void brick(Canvas& c, int x, int y, int variant) {
    const Shades red{Rgb{74, 22, 14}, Rgb{130, 42, 26}, Rgb{160, 60, 36}, Rgb{196, 96, 62}};
    const Shades burnt{Rgb{48, 18, 16}, Rgb{92, 34, 28}, Rgb{112, 46, 36}, Rgb{146, 74, 56}};
    const Shades sand{Rgb{96, 70, 34}, Rgb{168, 128, 70}, Rgb{190, 150, 88}, Rgb{222, 190, 128}};
    const Shades& s = variant == 1 ? burnt : variant == 3 ? sand : red;
    const Rgb mortar{58, 54, 50};
    // Courses of bricks, every other course shifted by half a brick.
    const int course_height = variant == 2 ? 8 : 4, brick_width = variant == 2 ? 16 : 8;
    for (int j = 0; j < BLOCK_SIZE; ++j)
        for (int i = 0; i < BLOCK_SIZE; ++i) {
            int course = j / course_height, cy = j % course_height;
            int shifted = i + (course % 2) * brick_width / 2;
            int cx = shifted % brick_width, id = shifted / brick_width;
            Rgb p;
            if (cy == course_height - 1 || cx == brick_width - 1)
                p = mortar;
            else if (cy == 0 || cx == 0)
                p = s[3];
            else if (cy == course_height - 2 || cx == brick_width - 2)
                p = s[0];
            else
                p = hash_noise(id, course, 40u + variant) < 0.4f ? s[1] : s[2];
            c.set(x + i, y + j, p);
        }
}

void special(Canvas& c, int x, int y, int variant) {
    if (variant == 0) {  // hazard stripes in a steel rim
        const Rgb yellow{236, 190, 20}, black{28, 26, 22}, rim_lit{176, 188, 206},
            rim_dark{40, 46, 58};
        for (int j = 0; j < BLOCK_SIZE; ++j)
            for (int i = 0; i < BLOCK_SIZE; ++i) {
                EdgeDepth e = edge_of(i, j, BLOCK_SIZE);
                Rgb p = ((i + j) / 4) % 2 ? black : yellow;
                if (e.depth == 0)
                    p = e.lit ? rim_lit : rim_dark;
                c.set(x + i, y + j, p);
            }
    } else if (variant == 1) {  // a violet gem set in dark stone
        stone(c, x, y, 0);
        const Shades gem{Rgb{70, 10, 100}, Rgb{130, 40, 190}, Rgb{190, 100, 240},
                         Rgb{240, 200, 255}};
        for (int j = 3; j <= 12; ++j)
            for (int i = 3; i <= 12; ++i) {
                int d = std::abs(i - 7.5f) + std::abs(j - 7.5f) > 5 ? 1 : 0;
                if (d)
                    continue;
                bool upper_left = (i - 7.5f) + (j - 7.5f) < 0;
                c.set(x + i, y + j, upper_left ? gem[2] : gem[1]);
            }
        c.set(x + 6, y + 5, gem[3]);
        c.set(x + 5, y + 6, gem[3]);
        c.set(x + 6, y + 6, gem[3]);
        for (int k = 0; k < 5; ++k)
            c.set(x + 12 - k, y + 8 + k, gem[0]);
    } else {  // cooling lava: dark crust split by glowing seams
        const Shades crust{Rgb{26, 16, 14}, Rgb{50, 30, 24}, Rgb{72, 44, 32}, Rgb{100, 64, 44}};
        rough_slab(c, x, y, crust, 77u);
        const Rgb glow[2] = {Rgb{255, 110, 10}, Rgb{255, 210, 70}};
        const int seam[][2] = {{2, 5},  {3, 5},  {4, 6},  {5, 6},  {6, 7},  {7, 7}, {8, 6},
                               {9, 6},  {10, 7}, {11, 8}, {12, 8}, {13, 9}, {7, 8}, {7, 9},
                               {6, 10}, {6, 11}, {5, 12}, {10, 3}, {9, 4},  {9, 5}};
        int n = 0;
        for (auto& p : seam)
            c.set(x + p[0], y + p[1], glow[(n++ % 3) == 1]);
    }
}

}  // namespace

Rgb piece_colour(int image) {
    static const Rgb colours[16] = {
        Rgb{0, 0, 0},       Rgb{255, 132, 16}, Rgb{255, 110, 186}, Rgb{160, 228, 36},
        Rgb{44, 86, 246},   Rgb{36, 190, 60},  Rgb{150, 60, 230},  Rgb{0, 172, 156},
        Rgb{252, 218, 28},  Rgb{218, 40, 204}, Rgb{236, 236, 248}, Rgb{28, 214, 238},
        Rgb{110, 172, 255}, Rgb{228, 30, 36},  Rgb{255, 156, 120}, Rgb{206, 156, 40}};
    return colours[std::clamp(image, 0, 15)];
}

void draw_piece_block(Canvas& canvas, int x, int y, int size, Rgb base) {
    const Rgb glint = mix(base, WHITE, 0.85f), high = mix(base, WHITE, 0.55f),
              light = mix(base, WHITE, 0.25f), dark = scale(base, 0.66f),
              shadow = scale(base, 0.4f);
    const int rim = std::max(1, size / 8);
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            EdgeDepth e = edge_of(i, j, size);
            Rgb p = base;
            if (e.depth < rim) {
                bool outer = e.depth * 2 < rim;
                p = e.lit ? (outer ? high : light) : (outer ? shadow : dark);
            }
            canvas.set(x + i, y + j, p);
        }
    // A small glint just inside the lit corner.
    const int g = rim + std::max(1, size / 16), gs = std::max(1, size / 8);
    for (int j = 0; j < gs; ++j)
        for (int i = 0; i < gs * 2 - j; ++i)
            canvas.set(x + g + i, y + g + j, glint);
    for (int j = gs; j < gs * 2; ++j)
        for (int i = 0; i < gs * 2 - j; ++i)
            canvas.set(x + g + i, y + g + j, glint);
}

void draw_fixed_block(Canvas& canvas, int x, int y, int value) {
    if (value <= 20)
        stone(canvas, x, y, value - 16);
    else if (value <= 24)
        metal(canvas, x, y, value - 21);
    else if (value <= 28)
        brick(canvas, x, y, value - 25);
    else
        special(canvas, x, y, value - 29);
}

Canvas make_block_sheet() {
    Canvas sheet(BLOCK_SHEET_WIDTH, BLOCK_SHEET_HEIGHT);
    for (int value = 1; value < BLOCK_COLUMNS * BLOCK_ROWS; ++value) {
        int x = (value % BLOCK_COLUMNS) * (BLOCK_SIZE + 1) + 1;
        int y = (value / BLOCK_COLUMNS) * (BLOCK_SIZE + 1) + 1;
        if (value < 16)
            draw_piece_block(sheet, x, y, BLOCK_SIZE, piece_colour(value));
        else
            draw_fixed_block(sheet, x, y, value);
    }
    return sheet;
}
