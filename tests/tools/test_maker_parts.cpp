// The asset maker's parts whose faults the finished files cannot show: the palette builder and
// its refusals, drawing that stays inside its canvas, the writers' limits.
#include <gtest/gtest.h>

#include <stdexcept>

#include "canvas.h"
#include "file_formats.h"
#include "lettering.h"
#include "palette.h"

namespace {

TEST(PaletteBuilder, KeepsFixedAndAddedColoursFillsTheRestFromTheArtAndRefusesClashes) {
    PaletteBuilder b;
    b.fix(200, Rgb{1, 2, 3});
    b.add(Rgb{0, 255, 0});
    b.add(Rgb{0, 255, 0});  // no second entry for the same colour
    Canvas art(64, 4);
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 4; ++y)
            art.set(x, y, Rgb{uint8_t(x * 4), uint8_t(100 + y * 30), 50});
    }
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
    PaletteBuilder full;
    EXPECT_THROW(full.fix(0, Rgb{9, 9, 9}), std::logic_error) << "index 0 stays black";
    EXPECT_THROW(full.fix(256, Rgb{}), std::out_of_range);
    for (int i = 1; i < 256; ++i)
        full.add(Rgb{uint8_t(i), 0, 0});
    EXPECT_THROW(full.add(Rgb{0, 0, 1}), std::length_error);
}

TEST(MakerLimits, DrawingStaysInsideAndWritersRefuseWhatTheGameCannotRead) {
    Canvas c(8, 8, Rgb{1, 1, 1});
    c.fill_rect(-4, -4, 20, 6, Rgb{9, 9, 9});
    c.line(-10, 3, 20, 3, Rgb{7, 7, 7});
    c.disc(0, 0, 30, Rgb{5, 5, 5}, 0.5f);
    EXPECT_EQ(c.pixels.size(), 64u);
    EXPECT_EQ(c.get(100, 100), (Rgb{0, 0, 0}));
    IndexedImage img;
    img.width = 3;
    img.height = 2;
    img.pixels.resize(6);
    EXPECT_THROW(encode_bmp(img), std::invalid_argument) << "rows would need padding";
    EXPECT_NO_THROW(encode_voc(std::vector<uint8_t>(VOC_MAX_FILE_BYTES - 33, 128)));
    EXPECT_THROW(encode_voc(std::vector<uint8_t>(VOC_MAX_FILE_BYTES - 32, 128)),
                 std::invalid_argument);
    EXPECT_THROW(Font("/nonexistent/font.ttf"), std::runtime_error);
}

}  // namespace
