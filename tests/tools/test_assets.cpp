// The files the asset maker writes beside the game: the same bytes on every run, standard 8-bit
// BMPs and VOCs of their sizes, sheets laid out as the game cuts them, the colours the game draws
// with in the right palettes, the key names in the pictures, and the sounds at their planned
// levels, the tunes looping without a jump.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lettering.h"
#include "loudness.h"

namespace {

struct Colour {
    int r, g, b;
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Bmp {
    int width = 0, height = 0;
    std::array<Colour, 256> palette{};
    std::vector<uint8_t> pixels;  // top-down
    int at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    Colour colour(int x, int y) const { return palette[at(x, y)]; }
    bool has(Colour c) const {
        return std::find(palette.begin(), palette.end(), c) != palette.end();
    }
};

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> data_file(const std::string& name) {
    return read_bytes(std::string(CELLSTORM_BIN_DIR) + "/" + name);
}

// Little-endian, 0 past the end.
uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes = 4) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | (at + i < b.size() ? b[at + i] : 0);
    return v;
}

// An 8-bit BMP in the standard layout (256-entry table, pixels at 1,078, bottom-up, no row
// padding), or an empty one and a failure.
Bmp load_bmp(const std::string& name) {
    const std::vector<uint8_t> b = data_file(name);
    Bmp f;
    f.width = int(le(b, 18));
    f.height = int(int32_t(le(b, 22)));
    const bool standard = b.size() >= 1078 && b[0] == 'B' && b[1] == 'M' && le(b, 2) == b.size() &&
                          le(b, 10) == 1078 && le(b, 14) == 40 && le(b, 26, 2) == 1 &&
                          le(b, 28, 2) == 8 && le(b, 30) == 0 && (le(b, 46) & ~256u) == 0 &&
                          f.width > 0 && f.width % 4 == 0 && f.height > 0 &&
                          b.size() == 1078 + size_t(f.width) * size_t(f.height);
    EXPECT_TRUE(standard) << name << " is not a standard 8-bit BMP";
    if (!standard)
        return Bmp{};
    for (int i = 0; i < 256; ++i)
        f.palette[i] = Colour{b[54 + i * 4 + 2], b[54 + i * 4 + 1], b[54 + i * 4]};
    for (int y = f.height - 1; y >= 0; --y) {
        const auto row = b.begin() + 1078 + size_t(y) * f.width;
        f.pixels.insert(f.pixels.end(), row, row + f.width);
    }
    return f;
}

// The samples of a VOC of one 8-bit sound block at 11,025 Hz and its terminator, within the
// 640,000 bytes the game reads; none and a failure otherwise.
std::vector<uint8_t> load_voc(const std::string& name) {
    const std::vector<uint8_t> b = data_file(name);
    const uint32_t length = le(b, 26) >> 8, version = le(b, 22, 2);
    const bool framed =
        b.size() >= 33 && b.size() <= 640000 &&
        std::string(b.begin(), b.begin() + 20) == std::string("Creative Voice File\x1A") &&
        le(b, 20, 2) == 26 && version == 0x010A && le(b, 24, 2) == ((~version + 0x1234) & 0xFFFF) &&
        b[26] == 1 && b[30] == 165 && b[31] == 0 && length >= 3 &&
        b.size() == 26 + 4 + size_t(length) + 1 && b.back() == 0;
    EXPECT_TRUE(framed) << name << " is not one 8-bit block at 11,025 Hz within 640,000 bytes";
    return framed ? std::vector<uint8_t>(b.begin() + 32, b.end() - 1) : std::vector<uint8_t>{};
}

int luminance(Colour c) {
    return (c.r * 299 + c.g * 587 + c.b * 114) / 1000;
}

int distance_squared(Colour a, Colour b) {
    return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

int nearest_index(const std::array<Colour, 256>& palette, Colour c) {
    int best = 0;
    for (int i = 1; i < 256; ++i) {
        if (distance_squared(palette[i], c) < distance_squared(palette[best], c))
            best = i;
    }
    return best;
}

// The number of colours in a w x h rectangle and its brightest.
std::pair<int, int> area(const Bmp& f, int x, int y, int w, int h) {
    std::set<int> seen;
    int brightest = 0;
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            seen.insert(f.at(i, j));
            brightest = std::max(brightest, luminance(f.colour(i, j)));
        }
    }
    return {int(seen.size()), brightest};
}

// Black gutters every `pitch` pixels over the first w x h pixels of a sheet.
void expect_gutters(const Bmp& f, int pitch, int w, int h) {
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            if (x % pitch == 0 || y % pitch == 0) {
                ASSERT_EQ(f.at(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST(AssetMaker, WritesTheSameBytesAgainAndFailsWhenItCannotWrite) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("cellstorm_assets_" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto make = [](const std::string& into) {
        return std::system((std::string("\"") + ASSET_MAKER + "\" \"" + into + "\" \"" + FONT_DIR +
                            "\" 2>/dev/null")
                               .c_str());
    };
    ASSERT_EQ(make(dir.string()), 0);
    const char* const files[] = {"CSSPL8.BMP",   "lv1BLK8.BMP",  "lv1DS8.BMP",  "CSCON8.BMP",
                                 "XCNBUT8.BMP",  "CSTRAIL8.BMP", "XSMNUUP.VOC", "XSMNUDWN.VOC",
                                 "XSMNUSEL.VOC", "XSINTRO.VOC",  "XSLINE.VOC",  "XSLOCK.VOC",
                                 "XSNEXTL.VOC",  "XSLOSER.VOC",  "XSSONG1.VOC", "XSVOICE1.VOC",
                                 "CSTRAIL.VOC",  "CSSPL.VOC",    "CSICON.BMP"};
    for (const char* name : files)
        EXPECT_EQ(read_bytes((dir / name).string()), data_file(name)) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              std::ptrdiff_t(std::size(files)));
    fs::remove_all(dir);
    EXPECT_NE(make("/nonexistent/cellstorm"), 0);
}

TEST(Pictures, AreEightBitBmpsOfTheirSizesWithBlackAtIndexZero) {
    const std::pair<const char*, int> pictures[] = {{"CSSPL8.BMP", 640},  {"lv1DS8.BMP", 640},
                                                    {"CSCON8.BMP", 640},  {"CSTRAIL8.BMP", 640},
                                                    {"lv1BLK8.BMP", 136}, {"XCNBUT8.BMP", 184}};
    for (const auto& [name, width] : pictures) {
        Bmp f = load_bmp(name);
        ASSERT_FALSE(f.pixels.empty());
        EXPECT_EQ(f.width, width) << name;
        EXPECT_EQ(f.height, width == 640 ? 480 : width == 136 ? 68 : 91) << name;
        EXPECT_EQ(f.palette[0], (Colour{0, 0, 0})) << name;
        EXPECT_GT(area(f, 0, 0, f.width, f.height).first, 16) << name << ": a real picture";
    }
}

// 16 x 16 cells behind one-pixel gutters, block 0 unused; every block drawn, the fifteen piece
// blocks each in its own face colour. The blocks are shown in the play screen's palette, which
// holds the banner's pure green and the ramp it pulses on, one entry a step, and bright
// sparkle colours.
TEST(BlockSheet, BlocksBehindGuttersInThePlayScreensPalette) {
    Bmp f = load_bmp("lv1BLK8.BMP"), play = load_bmp("lv1DS8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    expect_gutters(f, 17, f.width, f.height);
    EXPECT_EQ(area(f, 1, 1, 16, 16).first, 1);
    std::set<int> faces;
    for (int i = 1; i < 32; ++i) {
        const int x = 17 * (i % 8) + 1, y = 17 * (i / 8) + 1;
        EXPECT_GE(area(f, x, y, 16, 16).first, 3) << i;
        EXPECT_GT(area(f, x, y, 16, 16).second, 40) << i;
        if (i < 16)
            faces.insert(f.at(x + 8, y + 10));
    }
    EXPECT_EQ(faces.size(), 15u);

    EXPECT_EQ(f.palette, play.palette);
    EXPECT_TRUE(play.has(Colour{0, 255, 0}));
    std::set<int> banner;
    for (int g = 0; g <= 102; g += 2) {
        EXPECT_TRUE(play.has(Colour{0, g, 0})) << g;
        banner.insert(nearest_index(play.palette, Colour{0, g, 0}));
    }
    EXPECT_EQ(banner.size(), 52u);
    for (int i : {237, 245, 248, 241, 246, 239})
        EXPECT_GE(luminance(play.palette[i]), 150) << "sparkle colour " << i;
}

// The value text glows from 128 in steps of 10, turning back past 255 and below 64, in the
// colour (0.95v, 0.5v, v). The buttons, 44 x 44 cells behind gutters, seven different icons,
// are shown in the menu's palette.
TEST(MenuArt, GlowColoursAndSevenButtonsInTheMenusPalette) {
    Bmp menu = load_bmp("CSCON8.BMP"), f = load_bmp("XCNBUT8.BMP");
    ASSERT_FALSE(f.pixels.empty());
    auto glow = [](int v) { return Colour{int(v * 0.95), int(v * 0.5), v}; };
    for (int v = 128, step = 10, frame = 0; frame < 40; ++frame, v += step) {
        if (v + step > 255 || v + step < 64)
            step = -step;
        EXPECT_TRUE(menu.has(glow(v + step))) << v + step;
    }
    for (int v = 64; v <= 255; ++v) {
        EXPECT_LE(distance_squared(menu.palette[nearest_index(menu.palette, glow(v))], glow(v)), 64)
            << v;
    }
    EXPECT_EQ(f.palette, menu.palette);
    expect_gutters(f, 45, 181, 91);
    std::set<std::vector<int>> cells;
    for (int i = 0; i < 7; ++i) {
        const int x = (i % 4) * 45 + 1, y = (i / 4) * 45 + 1;
        EXPECT_GE(area(f, x, y, 44, 44).first, 8) << i;
        std::vector<int> cell;
        for (int j = 0; j < 44 * 44; ++j)
            cell.push_back(f.at(x + j % 44, y + j / 44));
        cells.insert(cell);
    }
    EXPECT_EQ(cells.size(), 7u);
}

// How well text, lettered as the pictures letter it, shows in ink near (x, y): the best, over
// shifts of a few pixels, of the share of its pixels in ink less the share of those between
// them in ink too (a blot of ink scores nothing).
double text_shows(const Bmp& f, const Mask& m, int x, int y, Colour ink) {
    double best = -1;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -12; dx <= 12; ++dx) {
            int count[2] = {0, 0}, inked[2] = {0, 0};
            for (int j = 0; j < m.height; ++j) {
                for (int i = 0; i < m.width; ++i) {
                    const int on = m.at(i, j) > 0.5f;
                    ++count[on];
                    inked[on] += distance_squared(f.colour(x + dx + i, y + dy + j), ink) <= 1200;
                }
            }
            best = std::max(best, double(inked[1]) / count[1] - double(inked[0]) / count[0]);
        }
    }
    return best;
}

TEST(KeyNames, TheHelpPanelNamesThePlayKeysAndTheMenuFooterTheResumeKey) {
    Fonts fonts(FONT_DIR);
    Bmp play = load_bmp("lv1DS8.BMP"), menu = load_bmp("CSCON8.BMP");
    ASSERT_FALSE(play.pixels.empty() || menu.pixels.empty());
    const Colour cap_ink{16, 16, 30}, words{170, 180, 220}, footer{190, 180, 230};
    const struct {
        const Bmp* picture;
        const char* text;
        int em, x, y;
        Colour ink;
    } texts[] = {
        {&play, "A", 10, 362, 320, cap_ink},   {&play, "S", 10, 392, 320, cap_ink},
        {&play, "TURN", 11, 420, 319, words},  {&play, "DOWN", 10, 362, 338, cap_ink},
        {&play, "UP", 10, 362, 356, cap_ink},  {&play, "P", 10, 362, 374, cap_ink},
        {&play, "ESC", 10, 362, 392, cap_ink}, {&menu, "ESC  RESUME", 12, 482, 458, footer},
    };
    for (const auto& t : texts) {
        EXPECT_GT(text_shows(*t.picture, fonts.bold.render(t.text, t.em, true), t.x, t.y, t.ink),
                  0.8)
            << t.text;
    }
}

std::vector<float> full_scale(const std::vector<uint8_t>& s) {
    std::vector<float> out;
    for (uint8_t v : s)
        out.push_back((v - 128) / 128.0f);
    return out;
}

// Lengths, the loudness plan (tunes at -18 dBFS, the effects within 3 dB of each other and of
// the tunes, the game over no louder than a row cleared) and no peak above -1 dBFS.
TEST(Sounds, AreLoadableAtTheirLengthsAndPlannedLevels) {
    const struct {
        const char* name;
        double min_seconds, max_seconds;
    } sounds[] = {
        {"XSMNUUP.VOC", 0.03, 0.3}, {"XSMNUDWN.VOC", 0.03, 0.3}, {"XSMNUSEL.VOC", 0.05, 0.3},
        {"XSLINE.VOC", 0.2, 1.2},   {"XSLOCK.VOC", 0.03, 0.25},  {"XSNEXTL.VOC", 0.5, 2.5},
        {"XSLOSER.VOC", 0.8, 4.0},  {"XSVOICE1.VOC", 0.3, 2.0},  {"CSSPL.VOC", 1.5, 3.0},
        {"CSTRAIL.VOC", 1.0, 5.0},  {"XSINTRO.VOC", 20.0, 55.0}, {"XSSONG1.VOC", 20.0, 55.0}};
    std::map<std::string, float> level;
    float music = 0, quietest_effect = 0, loudest_effect = -100;
    for (const auto& e : sounds) {
        SCOPED_TRACE(e.name);
        const std::vector<float> s = full_scale(load_voc(e.name));
        ASSERT_FALSE(s.empty());
        EXPECT_GE(s.size() / 11025.0, e.min_seconds);
        EXPECT_LE(s.size() / 11025.0, e.max_seconds);
        const LoudnessTarget& plan = loudness_target(e.name);
        const float db = level[e.name] = loudness_db(s, plan.loops);
        EXPECT_LE(peak_db(s), -1.0f);
        EXPECT_NEAR(db, plan.loudness_db, 0.5f);
        if (plan.group == SoundGroup::Music && plan.loops) {
            music = db;
        } else if (plan.group == SoundGroup::Effects) {
            quietest_effect = std::min(quietest_effect, db);
            loudest_effect = std::max(loudest_effect, db);
        }
    }
    EXPECT_NEAR(music, -18.0f, 1.0f);
    EXPECT_LE(loudest_effect - quietest_effect, 3.0f);
    EXPECT_LE(loudest_effect - music, 3.0f);
    EXPECT_GE(quietest_effect - music, -3.0f);
    EXPECT_LE(level["XSLOSER.VOC"], level["XSLINE.VOC"]);
}

// The step from the last sample back to the first looks like any other step of the tune, in
// value and in slope.
TEST(Music, TwoDifferentTunesLoopWithoutAJumpAtTheSeam) {
    const std::vector<uint8_t> tunes[2] = {load_voc("XSINTRO.VOC"), load_voc("XSSONG1.VOC")};
    EXPECT_NE(tunes[0], tunes[1]);
    for (const std::vector<uint8_t>& s : tunes) {
        ASSERT_GT(s.size(), 11025u);
        const size_t n = s.size();
        std::vector<int> steps, bends;
        for (size_t i = 2; i < n; ++i) {
            steps.push_back(std::abs(s[i] - s[i - 1]));
            bends.push_back(std::abs(s[i] - 2 * s[i - 1] + s[i - 2]));
        }
        std::sort(steps.begin(), steps.end());
        std::sort(bends.begin(), bends.end());
        const int step_99 = std::max(2, steps[steps.size() * 99 / 100]);
        const int bend_99 = std::max(2, bends[bends.size() * 99 / 100]);
        EXPECT_LE(std::abs(s[0] - s[n - 1]), step_99);
        EXPECT_LE(std::abs(s[0] - 2 * s[n - 1] + s[n - 2]), bend_99);
        EXPECT_LE(std::abs(s[1] - 2 * s[0] + s[n - 1]), bend_99);
    }
}

}  // namespace
