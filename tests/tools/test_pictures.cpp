// The pictures: standard 8-bit BMPs of the right sizes, sheets laid out as the game cuts them,
// and palettes holding the colours the game writes its text in.
#include <gtest/gtest.h>

#include <set>

#include "asset_reader.h"

namespace {

struct Expected {
    const char* name;
    int width, height;
};

const Expected PICTURES[] = {{"CSSPL8.BMP", 640, 480}, {"lv1BLK8.BMP", 136, 68},
                             {"lv1DS8.BMP", 640, 480}, {"CSCON8.BMP", 640, 480},
                             {"XCNBUT8.BMP", 184, 91}, {"CSTRAIL8.BMP", 640, 480}};

bool has_exact(const BmpFile& f, Colour c) {
    for (const Colour& p : f.palette)
        if (p == c)
            return true;
    return false;
}

// Number of different colours in a w x h rectangle.
int colours_in(const BmpFile& f, int x, int y, int w, int h) {
    std::set<int> seen;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            seen.insert(f.at(i, j));
    return int(seen.size());
}

int brightest_in(const BmpFile& f, int x, int y, int w, int h) {
    int most = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            most = std::max(most, luminance(f.colour(i, j)));
    return most;
}

double mean_luminance(const BmpFile& f, int x, int y, int w, int h) {
    double sum = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            sum += luminance(f.colour(i, j));
    return sum / (w * h);
}

TEST(Pictures, AreEightBitBmpsOfTheirSizesWithBlackAtIndexZero) {
    for (const Expected& e : PICTURES) {
        SCOPED_TRACE(e.name);
        BmpFile f = load_bmp(e.name);
        ASSERT_FALSE(f.pixels.empty());
        EXPECT_EQ(f.width, e.width);
        EXPECT_EQ(f.height, e.height);
        EXPECT_EQ(f.palette[0], (Colour{0, 0, 0}));
        // A real picture, not a flat fill.
        EXPECT_GT(colours_in(f, 0, 0, f.width, f.height), 16);
    }
}

TEST(BlockSheet, CellsSitBehindOnePixelGuttersAndBlockZeroIsUnused) {
    BmpFile f = load_bmp("lv1BLK8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    for (int x = 0; x < f.width; ++x)
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(f.at(x, row * 17), 0) << x << "," << row * 17;
    for (int y = 0; y < f.height; ++y)
        for (int col = 0; col < 8; ++col)
            EXPECT_EQ(f.at(col * 17, y), 0) << col * 17 << "," << y;
    EXPECT_EQ(colours_in(f, 1, 1, 16, 16), 1);
}

TEST(BlockSheet, EveryBlockIsDrawnAndPieceBlocksAreLitFromTheTopLeft) {
    BmpFile f = load_bmp("lv1BLK8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    std::set<int> piece_faces;
    for (int i = 1; i < 32; ++i) {
        SCOPED_TRACE(i);
        const int x = 17 * (i % 8) + 1, y = 17 * (i / 8) + 1;
        EXPECT_GE(colours_in(f, x, y, 16, 16), 3);
        EXPECT_GT(brightest_in(f, x, y, 16, 16), 40);
        if (i >= 16)
            continue;
        double lit = mean_luminance(f, x, y, 16, 1) + mean_luminance(f, x, y, 1, 16);
        double shaded = mean_luminance(f, x, y + 15, 16, 1) + mean_luminance(f, x + 15, y, 1, 16);
        EXPECT_GT(lit, shaded + 40);
        piece_faces.insert(f.at(x + 8, y + 10));
    }
    // Fifteen piece images in fifteen different face colours.
    EXPECT_EQ(piece_faces.size(), 15u);
}

TEST(BlockSheet, FixedBlocksAreDullerThanPieceBlocks) {
    BmpFile f = load_bmp("lv1BLK8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    auto saturation = [&](int i) {
        Colour c = f.colour(17 * (i % 8) + 9, 17 * (i / 8) + 11);
        return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
    };
    int dullest_piece = 255;
    for (int i = 1; i < 16; ++i)
        if (i != 10)
            dullest_piece = std::min(dullest_piece, saturation(i));  // 10 is pearl white
    for (int i : {16, 17, 18, 19, 21, 22, 23, 24})
        EXPECT_LT(saturation(i), dullest_piece) << i;
}

TEST(PlayPalette, BlocksAndBackgroundShareItAndItHoldsTheGreensAndSparkles) {
    BmpFile screen = load_bmp("lv1DS8.BMP"), blocks = load_bmp("lv1BLK8.BMP");
    ASSERT_FALSE(screen.pixels.empty());
    ASSERT_FALSE(blocks.pixels.empty());
    EXPECT_EQ(screen.palette, blocks.palette) << "blocks are shown in the background's palette";
    EXPECT_TRUE(has_exact(screen, Colour{0, 255, 0}));
    for (int g = 0; g <= 102; g += 2)
        EXPECT_TRUE(has_exact(screen, Colour{0, g, 0})) << g;
    // Each banner step must land on a different entry, or the pulse stalls.
    std::set<int> banner;
    for (int g = 0; g <= 102; g += 2)
        banner.insert(nearest_index(screen.palette, Colour{0, g, 0}));
    EXPECT_EQ(banner.size(), 52u);
    for (int i : {237, 245, 248, 241, 246, 239})
        EXPECT_GE(luminance(screen.palette[i]), 150) << "sparkle colour " << i;
}

TEST(PlayScreen, TheWellIsDarkAndTheCountersSitOnDarkReadouts) {
    BmpFile f = load_bmp("lv1DS8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    EXPECT_LT(brightest_in(f, 32, 16, 288, 416), 50) << "empty cells must not look like blocks";
    // Where the game writes its green numbers, about 16 px high.
    const int counters[][2] = {{432, 80},  {430, 150}, {438, 214},
                               {512, 214}, {580, 214}, {420, 280}};
    for (auto& c : counters)
        EXPECT_LT(brightest_in(f, c[0], c[1], 40, 17), 30) << c[0] << "," << c[1];
    EXPECT_LT(brightest_in(f, 530, 304, 64, 64), 30) << "next-shape box";
    EXPECT_LT(brightest_in(f, 0, 456, 240, 24), 8) << "the banner fades up from black";
    // Something frames the well.
    EXPECT_GT(mean_luminance(f, 20, 16, 8, 416), 40);
}

// The menu's value text glows from 128 in steps of 10, turning back past 255 and below 64.
std::set<int> glow_values() {
    std::set<int> seen;
    int glow = 128, step = 10;
    for (int frame = 0; frame < 200; ++frame) {
        glow += step;
        if (glow > 255 || glow < 64) {
            step = -step;
            glow += step;
        }
        seen.insert(glow);
    }
    return seen;
}

Colour glow_colour(int v) {
    return Colour{int(v * 0.95), int(v * 0.5), v};
}

TEST(MenuPalette, HoldsEveryGlowColourOfTheValueText) {
    BmpFile f = load_bmp("CSCON8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    for (int v : glow_values())
        EXPECT_TRUE(has_exact(f, glow_colour(v))) << v;
    for (int v = 64; v <= 255; ++v) {
        Colour want = glow_colour(v);
        EXPECT_LE(distance_squared(f.palette[nearest_index(f.palette, want)], want), 64) << v;
    }
}

TEST(MenuScreen, ValueTextLandsOnDarkSlots) {
    BmpFile f = load_bmp("CSCON8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    // Position of each value and the width of the longest text written there.
    const int values[][3] = {
        {422, 173, 36}, {448, 220, 160}, {318, 268, 36}, {546, 316, 56}, {562, 364, 56}};
    for (auto& v : values)
        EXPECT_LT(brightest_in(f, v[0], v[1], v[2], 17), 25) << v[0];
}

TEST(ButtonSheet, SevenDistinctButtonsBetweenOnePixelGapsInTheMenuPalette) {
    BmpFile f = load_bmp("XCNBUT8.BMP"), menu = load_bmp("CSCON8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    ASSERT_FALSE(menu.pixels.empty());
    EXPECT_GE(f.width, 181);
    EXPECT_GE(f.height, 91);
    EXPECT_EQ(f.palette, menu.palette) << "buttons are shown in the menu's palette";
    for (int x = 0; x < 181; ++x)
        for (int y : {0, 45, 90})
            EXPECT_EQ(f.at(x, y), 0) << x << "," << y;
    for (int y = 0; y < 91; ++y)
        for (int x : {0, 45, 90, 135, 180})
            EXPECT_EQ(f.at(x, y), 0) << x << "," << y;
    std::set<std::vector<uint8_t>> cells;
    for (int i = 0; i < 7; ++i) {
        const int x = (i % 4) * 45 + 1, y = (i / 4) * 45 + 1;
        EXPECT_GE(colours_in(f, x, y, 44, 44), 8) << i;
        std::vector<uint8_t> cell;
        for (int j = 0; j < 44; ++j)
            for (int k = 0; k < 44; ++k)
                cell.push_back(uint8_t(f.at(x + k, y + j)));
        cells.insert(cell);
    }
    EXPECT_EQ(cells.size(), 7u);
}

}  // namespace
