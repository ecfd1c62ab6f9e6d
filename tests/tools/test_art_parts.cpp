// The drawing parts of the asset maker: palettes, quantising, the BMP writer, lettering and
// the canvas primitives.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "blocks.h"
#include "canvas.h"
#include "file_formats.h"
#include "lettering.h"
#include "palette.h"
#include "widgets.h"

namespace {

TEST(PaletteBuilder, KeepsFixedAndAddedColoursAndFillsTheRestFromTheArt) {
    PaletteBuilder b;
    b.fix(200, Rgb{1, 2, 3});
    b.add(Rgb{0, 255, 0});
    b.add(Rgb{0, 255, 0});  // no second entry for the same colour
    Canvas art(64, 4);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 4; ++y)
            art.set(x, y, Rgb{uint8_t(x * 4), uint8_t(100 + y * 30), 50});
    b.sample(art);
    Palette p = b.build();
    EXPECT_EQ(p[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(p[200], (Rgb{1, 2, 3}));
    EXPECT_EQ(p[1], (Rgb{0, 255, 0}));
    EXPECT_NE(p[2], (Rgb{0, 255, 0}));
    // 256 distinct art colours, 253 free entries: every pixel lands close to its colour.
    IndexedImage img = quantise(art, p);
    for (size_t i = 0; i < art.pixels.size(); ++i) {
        Rgb want = art.pixels[i], got = p[img.pixels[i]];
        EXPECT_LE(std::abs(want.r - got.r) + std::abs(want.g - got.g) + std::abs(want.b - got.b),
                  12);
    }
}

TEST(PaletteBuilder, RefusesClashesAndOverflow) {
    PaletteBuilder b;
    EXPECT_THROW(b.fix(0, Rgb{9, 9, 9}), std::logic_error) << "index 0 stays black";
    EXPECT_THROW(b.fix(256, Rgb{}), std::out_of_range);
    for (int i = 1; i < 256; ++i)
        b.add(Rgb{uint8_t(i), 0, 0});
    EXPECT_THROW(b.add(Rgb{0, 0, 1}), std::length_error);
}

TEST(Quantise, MapsPaletteColoursToThemselves) {
    Palette p{};
    for (int i = 0; i < 256; ++i)
        p[i] = Rgb{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
    Canvas art(4, 1);
    for (int i = 0; i < 4; ++i)
        art.set(i, 0, p[i * 60]);
    IndexedImage img = quantise(art, p);
    EXPECT_EQ(img.pixels, (std::vector<uint8_t>{0, 60, 120, 180}));
    EXPECT_EQ(nearest_index(p, Rgb{61, 194, 30}), 61);
}

TEST(BmpWriter, WritesBottomUpRowsAfterTheColourTable) {
    IndexedImage img;
    img.width = 4;
    img.height = 2;
    img.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    img.palette[5] = Rgb{10, 20, 30};
    std::vector<uint8_t> b = encode_bmp(img);
    ASSERT_EQ(b.size(), size_t(BMP_PIXEL_OFFSET + 8));
    EXPECT_EQ(b[54 + 5 * 4], 30);  // blue, green, red, reserved
    EXPECT_EQ(b[54 + 5 * 4 + 2], 10);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + BMP_PIXEL_OFFSET, b.end()),
              (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
    img.width = 3;
    img.pixels.resize(6);
    EXPECT_THROW(encode_bmp(img), std::invalid_argument) << "rows would need padding";
}

TEST(VocWriter, FramesSamplesInOneBlockAndRefusesWhatTheGameCannotRead) {
    std::vector<uint8_t> v = encode_voc({128, 129, 130});
    ASSERT_EQ(v.size(), 26u + 4 + 2 + 3 + 1);
    EXPECT_EQ(v[20], 26);
    EXPECT_EQ(v[26], 1);
    EXPECT_EQ(v[27], 5);  // length counts the time constant and pack bytes
    EXPECT_EQ(v[30], VOC_TIME_CONSTANT);
    EXPECT_EQ(v[32], 128);
    EXPECT_EQ(v.back(), 0);
    EXPECT_NO_THROW(encode_voc(std::vector<uint8_t>(VOC_MAX_FILE_BYTES - 33, 128)));
    EXPECT_THROW(encode_voc(std::vector<uint8_t>(VOC_MAX_FILE_BYTES - 32, 128)),
                 std::invalid_argument);
}

TEST(Canvas, DrawsOnlyInsideItself) {
    Canvas c(8, 8, Rgb{1, 1, 1});
    c.fill_rect(-4, -4, 20, 6, Rgb{9, 9, 9});
    c.line(-10, 3, 20, 3, Rgb{7, 7, 7});
    c.disc(0, 0, 30, Rgb{5, 5, 5}, 0.5f);
    EXPECT_EQ(c.pixels.size(), 64u);
    EXPECT_EQ(c.get(100, 100), (Rgb{0, 0, 0}));
    EXPECT_NE(c.get(7, 7), (Rgb{1, 1, 1}));
}

TEST(Canvas, RaisedBevelIsLightTopLeftAndDarkBottomRight) {
    Canvas c(10, 10);
    const Rgb light{200, 200, 200}, dark{20, 20, 20};
    c.bevel(0, 0, 10, 10, 2, light, dark);
    EXPECT_EQ(c.get(0, 5), light);
    EXPECT_EQ(c.get(5, 1), light);
    EXPECT_EQ(c.get(9, 5), dark);
    EXPECT_EQ(c.get(5, 8), dark);
    EXPECT_EQ(c.get(5, 5), (Rgb{0, 0, 0})) << "the face is left alone";
}

TEST(FillShape, CoversInsideFullyAndEdgesPartly) {
    Canvas c(10, 10);
    fill_shape(c, 0, 0, 10, 10, Rgb{255, 255, 255}, [](float x, float) { return x < 4.5f; });
    EXPECT_EQ(c.get(2, 5), (Rgb{255, 255, 255}));
    EXPECT_EQ(c.get(4, 5).r, 128);
    EXPECT_EQ(c.get(6, 5), (Rgb{0, 0, 0}));
}

TEST(Lettering, SharpTextHasNoGreyEdgesAndAntialiasedTextHas) {
    Font font(std::string(FONT_DIR) + "/DejaVuSans-Bold.ttf");
    Mask sharp = font.render("CELLSTORM 0123", 14, true);
    Mask soft = font.render("CELLSTORM 0123", 14, false);
    std::set<float> sharp_levels(sharp.cover.begin(), sharp.cover.end());
    EXPECT_EQ(sharp_levels, (std::set<float>{0.0f, 1.0f}));
    int grey = 0;
    for (float v : soft.cover)
        grey += v > 0.0f && v < 1.0f;
    EXPECT_GT(grey, 20);
    // Wider text for more letters, and bigger for a bigger size.
    EXPECT_GT(ink_width(font.render("WW", 14)), ink_width(font.render("W", 14)));
    EXPECT_GT(font.render("A", 40).height, font.render("A", 14).height);
}

TEST(Lettering, MissingFontIsReported) {
    EXPECT_THROW(Font("/nonexistent/font.ttf"), std::runtime_error);
}

TEST(Blocks, SheetCellsDrawOnlyInsideTheirSixteenPixels) {
    Canvas c(40, 40, Rgb{3, 3, 3});
    draw_fixed_block(c, 12, 12, 27);
    draw_piece_block(c, 12, 12, 16, piece_colour(4));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            bool inside = x >= 12 && x < 28 && y >= 12 && y < 28;
            if (!inside) {
                EXPECT_EQ(c.get(x, y), (Rgb{3, 3, 3})) << x << "," << y;
            }
        }
}

}  // namespace
