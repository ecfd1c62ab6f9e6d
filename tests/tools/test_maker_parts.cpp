// The asset maker's parts whose faults the finished files cannot show: palette building and
// its refusals, drawing that stays inside its canvas, the writers' limits, note names and the
// timing and wrapping of notes.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "canvas.h"
#include "file_formats.h"
#include "lettering.h"
#include "palette.h"
#include "sequencer.h"
#include "synth.h"

namespace {

TEST(PaletteBuilder, KeepsFixedAndAddedColoursFillsTheRestFromTheArtAndRefusesClashes) {
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

TEST(Sequencer, ParsesNoteAndChordNames) {
    const std::pair<const char*, int> notes[] = {
        {"A4", 69}, {"C4", 60}, {"C#5", 73}, {"Bb3", 58}, {"G#4", 68}};
    for (const auto& [name, midi] : notes)
        EXPECT_EQ(parse_note(name), midi) << name;
    for (const char* bad : {".", "-", "H4", "C", "C#", "Cx4", "C44"})
        EXPECT_EQ(parse_note(bad), -1) << bad;
    std::vector<Chord> c = parse_chords("Dm Bb F#m A");
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].root, parse_note("D3"));
    EXPECT_EQ(c[2].root, parse_note("F#3"));
    EXPECT_TRUE(c[0].minor && !c[1].minor && c[2].minor && !c[3].minor);
}

TEST(Sequencer, PlacesNotesOnTheirStepsAndHoldsThroughDashes) {
    Instrument ins;
    ins.env = Envelope{0.001f, 0.01f, 1.0f, 0.001f};
    Buffer b(1000, 0.0f);
    play_melody(b, "A4 . . - | . C5 - - - .", Timing{100, false}, ins, 1.0f);
    auto loud = [&](size_t from, size_t to) {
        float m = 0;
        for (size_t i = from; i < to; ++i)
            m = std::max(m, std::fabs(b[i]));
        return m;
    };
    EXPECT_GT(loud(0, 100), 0.1f);
    EXPECT_LT(loud(120, 400), 1e-6f) << "rests, and a dash after a rest holds nothing";
    EXPECT_GT(loud(500, 880), 0.1f) << "C5 held over four steps";
    EXPECT_LT(loud(920, 1000), 1e-6f);
}

// What a looped note plays past the end comes back at the start, so loops have no seam.
TEST(Synth, WrappedNotesCarryTheirTailIntoTheStart) {
    Instrument ins;
    ins.wave = Wave::Sine;
    ins.env = Envelope{0.001f, 0.01f, 1.0f, 0.01f};
    Buffer looped(2000, 0.0f), wide(4000, 0.0f);
    play_note(looped, 1500, 0.09f, 69, ins, true);
    play_note(wide, 1500, 0.09f, 69, ins, false);
    for (size_t i = 0; i < 500; ++i)
        ASSERT_FLOAT_EQ(looped[i], wide[2000 + i]);
}

}  // namespace
