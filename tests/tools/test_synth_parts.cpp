// The sound parts of the asset maker: note names, chords, the circular rendering that makes
// loops seamless, echoes and the 8-bit conversion.
#include <gtest/gtest.h>

#include <cmath>

#include "sequencer.h"
#include "synth.h"

namespace {

double energy(const Buffer& b) {
    double e = 0;
    for (float v : b)
        e += double(v) * v;
    return e;
}

TEST(Sequencer, ParsesNoteNames) {
    EXPECT_EQ(parse_note("A4"), 69);
    EXPECT_EQ(parse_note("C4"), 60);
    EXPECT_EQ(parse_note("C#5"), 73);
    EXPECT_EQ(parse_note("Bb3"), 58);
    EXPECT_EQ(parse_note("G#4"), 68);
    for (const char* bad : {".", "-", "H4", "C", "C#", "Cx4", "C44"})
        EXPECT_EQ(parse_note(bad), -1) << bad;
}

TEST(Sequencer, ParsesChordsAsRootAndMode) {
    std::vector<Chord> c = parse_chords("Dm Bb F#m A");
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].root, parse_note("D3"));
    EXPECT_TRUE(c[0].minor);
    EXPECT_EQ(c[1].root, parse_note("Bb3"));
    EXPECT_FALSE(c[1].minor);
    EXPECT_EQ(c[2].root, parse_note("F#3"));
    EXPECT_TRUE(c[2].minor);
    EXPECT_FALSE(c[3].minor);
}

TEST(Sequencer, PlacesNotesOnTheirStepsAndHoldsThroughDashes) {
    const Timing t{100, false};
    Instrument ins;
    ins.env = Envelope{0.001f, 0.01f, 1.0f, 0.001f};
    Buffer b(1000, 0.0f);
    play_melody(b, "A4 . . - | . C5 - - - .", t, ins, 1.0f);
    auto loud = [&](size_t from, size_t to) {
        float m = 0;
        for (size_t i = from; i < to; ++i)
            m = std::max(m, std::fabs(b[i]));
        return m;
    };
    EXPECT_GT(loud(0, 100), 0.1f);
    EXPECT_LT(loud(120, 300), 1e-6f) << "rests, and a dash after a rest holds nothing";
    EXPECT_LT(loud(300, 400), 1e-6f);
    EXPECT_GT(loud(500, 880), 0.1f) << "C5 held over four steps";
    EXPECT_LT(loud(920, 1000), 1e-6f);
}

TEST(Synth, WrappedNotesCarryTheirTailIntoTheStart) {
    Instrument ins;
    ins.wave = Wave::Sine;
    ins.env = Envelope{0.001f, 0.01f, 1.0f, 0.01f};
    Buffer open(2000, 0.0f), looped(2000, 0.0f), wide(4000, 0.0f);
    play_note(open, 1500, 0.09f, 69, ins, false);
    play_note(looped, 1500, 0.09f, 69, ins, true);
    play_note(wide, 1500, 0.09f, 69, ins, false);
    EXPECT_NEAR(energy(looped), energy(wide), 1e-3 * energy(wide)) << "nothing lost";
    EXPECT_LT(energy(open), 0.6 * energy(wide)) << "the tail is cut without wrap";
    for (size_t i = 0; i < 500; ++i)
        ASSERT_FLOAT_EQ(looped[i], wide[2000 + i]);
}

TEST(Synth, WrappedEchoesOfTheEndFallOnTheStart) {
    Buffer b(1000, 0.0f);
    b[990] = 1.0f;
    add_echo(b, 20.0f / RATE, 0.5f, 2, true);
    EXPECT_FLOAT_EQ(b[990], 1.0f);
    EXPECT_FLOAT_EQ(b[10], 0.5f);
    EXPECT_FLOAT_EQ(b[30], 0.25f);
    Buffer c(1000, 0.0f);
    c[990] = 1.0f;
    add_echo(c, 20.0f / RATE, 0.5f, 2, false);
    EXPECT_FLOAT_EQ(c[10], 0.0f);
}

TEST(Synth, DrumsStartAndEndInSilence) {
    Prng rng(1);
    for (Drum d : {Drum::Kick, Drum::Snare, Drum::HiHat, Drum::OpenHat, Drum::Crash}) {
        Buffer b(RATE * 2, 0.0f);
        play_drum(b, 0, d, 1.0f, rng);
        EXPECT_LT(std::fabs(b[0]), 0.01f);
        float tail = 0;
        for (size_t i = 0; i < b.size(); ++i)
            if (b[i] != 0.0f)
                tail = std::fabs(b[i]);
        EXPECT_LT(tail, 0.01f);
    }
}

TEST(Synth, EightBitConversionScalesToThePeakAndCentresSilence) {
    Buffer b = {0.0f, 0.5f, -0.25f, 0.0f};
    std::vector<uint8_t> s = to_unsigned_8bit(b, 0.5f);
    EXPECT_EQ(s, (std::vector<uint8_t>{128, 192, 96, 128}));
    EXPECT_EQ(to_unsigned_8bit(Buffer(3, 0.0f), 0.9f), (std::vector<uint8_t>(3, 128)));
    Buffer f(100, 1.0f);
    fade_out(f, 10.0f / RATE);
    EXPECT_FLOAT_EQ(f[89], 1.0f);
    EXPECT_FLOAT_EQ(f[99], 0.0f);
}

}  // namespace
