// The pictures: standard 8-bit BMPs of the right sizes, sheets laid out as the game cuts them,
// and palettes holding the colours the game writes its text in.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "asset_reader.h"
#include "lettering.h"

namespace {

bool has_exact(const BmpFile& f, Colour c) {
    return std::find(f.palette.begin(), f.palette.end(), c) != f.palette.end();
}

// What a w x h rectangle holds: its number of colours, its brightest and its mean brightness.
struct Area {
    int colours = 0;
    int brightest = 0;
    double mean = 0;
};
Area area(const BmpFile& f, int x, int y, int w, int h) {
    std::set<int> seen;
    Area a;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            seen.insert(f.at(i, j));
            a.brightest = std::max(a.brightest, luminance(f.colour(i, j)));
            a.mean += luminance(f.colour(i, j)) / double(w * h);
        }
    a.colours = int(seen.size());
    return a;
}

TEST(Pictures, AreEightBitBmpsOfTheirSizesWithBlackAtIndexZero) {
    const struct {
        const char* name;
        int width, height;
    } pictures[] = {{"CSSPL8.BMP", 640, 480}, {"lv1BLK8.BMP", 136, 68}, {"lv1DS8.BMP", 640, 480},
                    {"CSCON8.BMP", 640, 480}, {"XCNBUT8.BMP", 184, 91}, {"CSTRAIL8.BMP", 640, 480}};
    for (const auto& e : pictures) {
        SCOPED_TRACE(e.name);
        BmpFile f = load_bmp(e.name);
        ASSERT_FALSE(f.pixels.empty());
        EXPECT_EQ(f.width, e.width);
        EXPECT_EQ(f.height, e.height);
        EXPECT_EQ(f.palette[0], (Colour{0, 0, 0}));
        EXPECT_GT(area(f, 0, 0, f.width, f.height).colours, 16) << "a real picture, no flat fill";
    }
}

// Cells behind one-pixel gutters, block 0 unused; every block drawn, piece blocks lit from the
// top left in fifteen face colours, fixed blocks duller than any piece.
TEST(BlockSheet, GuttersAndBlocks) {
    BmpFile f = load_bmp("lv1BLK8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    for (int x = 0; x < f.width; ++x)
        for (int y = 0; y < f.height; ++y)
            if (x % 17 == 0 || y % 17 == 0) {
                ASSERT_EQ(f.at(x, y), 0) << x << "," << y;
            }
    EXPECT_EQ(area(f, 1, 1, 16, 16).colours, 1);
    std::set<int> piece_faces;
    auto saturation = [&](int i) {
        Colour c = f.colour(17 * (i % 8) + 9, 17 * (i / 8) + 11);
        return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
    };
    int dullest_piece = 255;
    for (int i = 1; i < 32; ++i) {
        SCOPED_TRACE(i);
        const int x = 17 * (i % 8) + 1, y = 17 * (i / 8) + 1;
        EXPECT_GE(area(f, x, y, 16, 16).colours, 3);
        EXPECT_GT(area(f, x, y, 16, 16).brightest, 40);
        if (i < 16) {
            const double lit = area(f, x, y, 16, 1).mean + area(f, x, y, 1, 16).mean;
            EXPECT_GT(lit, area(f, x, y + 15, 16, 1).mean + area(f, x + 15, y, 1, 16).mean + 40);
            piece_faces.insert(f.at(x + 8, y + 10));
            if (i != 10)  // pearl white
                dullest_piece = std::min(dullest_piece, saturation(i));
        } else if (i != 20 && i < 25) {
            EXPECT_LT(saturation(i), dullest_piece);
        }
    }
    EXPECT_EQ(piece_faces.size(), 15u);
}

// How well text, lettered as the pictures letter it, shows in ink near (x, y): the best, over
// shifts of a few pixels, of the share of its pixels in ink less the share of those between
// them in ink too (a blot of ink scores nothing).
double text_shows(const BmpFile& f, const Mask& m, int x, int y, Colour ink) {
    double best = -1;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -12; dx <= 12; ++dx) {
            int count[2] = {0, 0}, inked[2] = {0, 0};
            for (int j = 0; j < m.height; ++j)
                for (int i = 0; i < m.width; ++i) {
                    const int on = m.at(i, j) > 0.5f;
                    ++count[on];
                    inked[on] += distance_squared(f.colour(x + dx + i, y + dy + j), ink) <= 1200;
                }
            best = std::max(best, double(inked[1]) / count[1] - double(inked[0]) / count[0]);
        }
    return best;
}

TEST(KeyNames, TheHelpPanelNamesThePlayKeysAndTheMenuFooterTheResumeKey) {
    Fonts fonts(FONT_DIR);
    BmpFile play = load_bmp("lv1DS8.BMP"), menu = load_bmp("CSCON8.BMP");
    ASSERT_FALSE(play.pixels.empty());
    ASSERT_FALSE(menu.pixels.empty());
    const Colour cap_ink{16, 16, 30}, words{170, 180, 220}, footer{190, 180, 230};
    const struct {
        const BmpFile* picture;
        const char* text;
        int em, x, y;
        Colour ink;
    } texts[] = {
        {&play, "A", 10, 362, 320, cap_ink},   {&play, "S", 10, 392, 320, cap_ink},
        {&play, "TURN", 11, 420, 319, words},  {&play, "DOWN", 10, 362, 338, cap_ink},
        {&play, "UP", 10, 362, 356, cap_ink},  {&play, "P", 10, 362, 374, cap_ink},
        {&play, "ESC", 10, 362, 392, cap_ink}, {&menu, "ESC  RESUME", 12, 482, 458, footer},
    };
    for (const auto& t : texts)
        EXPECT_GT(text_shows(*t.picture, fonts.bold.render(t.text, t.em, true), t.x, t.y, t.ink),
                  0.8)
            << t.text;
}

TEST(PlayScreen, SharesItsPaletteWithTheBlocksAndLeavesTheReadoutsDark) {
    BmpFile f = load_bmp("lv1DS8.BMP"), blocks = load_bmp("lv1BLK8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    EXPECT_EQ(f.palette, blocks.palette) << "blocks are shown in the background's palette";
    EXPECT_TRUE(has_exact(f, Colour{0, 255, 0}));
    // Each step of the pulsing banner must land on its own entry, or the pulse stalls.
    std::set<int> banner;
    for (int g = 0; g <= 102; g += 2) {
        EXPECT_TRUE(has_exact(f, Colour{0, g, 0})) << g;
        banner.insert(nearest_index(f.palette, Colour{0, g, 0}));
    }
    EXPECT_EQ(banner.size(), 52u);
    for (int i : {237, 245, 248, 241, 246, 239})
        EXPECT_GE(luminance(f.palette[i]), 150) << "sparkle colour " << i;

    EXPECT_LT(area(f, 32, 16, 288, 416).brightest, 50) << "empty cells must not look like blocks";
    const int counters[][2] = {{432, 80},  {430, 150}, {438, 214},
                               {512, 214}, {580, 214}, {420, 280}};
    for (auto& c : counters)
        EXPECT_LT(area(f, c[0], c[1], 40, 17).brightest, 30) << c[0] << "," << c[1];
    EXPECT_LT(area(f, 530, 304, 64, 64).brightest, 30) << "next-shape box";
    EXPECT_LT(area(f, 0, 456, 240, 24).brightest, 8) << "the banner fades up from black";
    EXPECT_GT(area(f, 20, 16, 8, 416).mean, 40) << "something frames the well";
}

// The value text glows from 128 in steps of 10, turning back past 255 and below 64, in the
// colour (0.95v, 0.5v, v); it is written on dark slots. The buttons share the menu's palette.
TEST(MenuArt, GlowColoursDarkValueSlotsAndSevenButtons) {
    BmpFile menu = load_bmp("CSCON8.BMP"), f = load_bmp("XCNBUT8.BMP");
    ASSERT_FALSE(menu.pixels.empty());
    ASSERT_FALSE(f.pixels.empty());
    auto glow = [](int v) { return Colour{int(v * 0.95), int(v * 0.5), v}; };
    for (int v = 128, step = 10, frame = 0; frame < 40; ++frame, v += step) {
        if (v + step > 255 || v + step < 64)
            step = -step;
        EXPECT_TRUE(has_exact(menu, glow(v + step))) << v + step;
    }
    for (int v = 64; v <= 255; ++v)
        EXPECT_LE(distance_squared(menu.palette[nearest_index(menu.palette, glow(v))], glow(v)), 64)
            << v;
    const int values[][3] = {
        {422, 173, 36}, {448, 220, 160}, {318, 268, 36}, {546, 316, 56}, {562, 364, 56}};
    for (auto& v : values)
        EXPECT_LT(area(menu, v[0], v[1], v[2], 17).brightest, 25) << v[0];

    EXPECT_EQ(f.palette, menu.palette) << "buttons are shown in the menu's palette";
    for (int x = 0; x < 181; ++x)
        for (int y = 0; y < 91; ++y)
            if (x % 45 == 0 || y % 45 == 0) {
                ASSERT_EQ(f.at(x, y), 0) << x << "," << y;
            }
    std::set<std::vector<uint8_t>> cells;
    for (int i = 0; i < 7; ++i) {
        const int x = (i % 4) * 45 + 1, y = (i / 4) * 45 + 1;
        EXPECT_GE(area(f, x, y, 44, 44).colours, 8) << i;
        std::vector<uint8_t> cell;
        for (int j = 0; j < 44; ++j)
            for (int k = 0; k < 44; ++k)
                cell.push_back(uint8_t(f.at(x + k, y + j)));
        cells.insert(cell);
    }
    EXPECT_EQ(cells.size(), 7u);
}

}  // namespace
