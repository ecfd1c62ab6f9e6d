// The two looping tunes: a brooding menu theme in A minor and a driving game theme in D minor.
// Each loop is a whole number of bars rendered circularly, so its end runs into its start.
#include "sounds.h"

#include "sequencer.h"

namespace {

Instrument lead() {
    Instrument i;
    i.wave = Wave::Square;
    i.duty = 0.5f;
    i.env = Envelope{0.01f, 0.25f, 0.55f, 0.12f};
    i.volume = 0.24f;
    i.vibrato_depth = 0.18f;
    i.lowpass = 2400.0f;
    return i;
}

Instrument bass() {
    Instrument i;
    i.wave = Wave::Saw;
    i.env = Envelope{0.004f, 0.12f, 0.5f, 0.05f};
    i.volume = 0.34f;
    i.lowpass = 520.0f;
    return i;
}

Instrument arp() {
    Instrument i;
    i.wave = Wave::Square;
    i.duty = 0.125f;
    i.env = Envelope{0.002f, 0.06f, 0.25f, 0.04f};
    i.volume = 0.07f;
    return i;
}

Instrument pad() {
    Instrument i;
    i.wave = Wave::Saw;
    i.env = Envelope{0.35f, 0.5f, 0.8f, 0.35f};
    i.volume = 0.05f;
    i.detune = 0.12f;
    i.lowpass = 1100.0f;
    return i;
}

Buffer finish(Buffer& song, const Timing& t) {
    add_echo(song, float(t.step_samples * 3) / RATE, 0.28f, 3, true);
    return song;
}

}  // namespace

Buffer make_menu_theme() {
    const Timing t{1470, true};  // 112.5 beats a minute
    const int bars = 16;
    Buffer song(t.step_samples * 16 * bars, 0.0f);
    const std::string chords = "Am F C G Am F Dm E Am F C G Dm E Am E";
    const std::string melody =
        "E5 - - - C5 - D5 - E5 - - - A4 - - - | F5 - - - E5 - D5 - C5 - - - A4 - - - |"
        "G4 - - - C5 - E5 - G5 - - - E5 - - - | D5 - - - - - B4 - G4 - - - - - - - |"
        "E5 - - - C5 - D5 - E5 - - - A5 - - - | A5 - G5 - F5 - E5 - F5 - - - C5 - - - |"
        "D5 - F5 - A5 - - - G5 - F5 - E5 - D5 - | E5 - - - - - - - G#4 - - - B4 - - - |"
        "A5 - - - G5 - E5 - C5 - - - E5 - - - | F5 - - - - - A5 - G5 - F5 - E5 - - - |"
        "E5 - - - G5 - C6 - B5 - G5 - E5 - - - | D5 - - - G5 - - - D5 - B4 - D5 - - - |"
        "F5 - - - E5 - D5 - A4 - - - D5 - F5 - | E5 - - - - - D5 - C5 - B4 - G#4 - - - |"
        "A4 - - - C5 - E5 - A5 - - - - - - - | G#5 - - - E5 - - - B4 - - - G#4 - - - |";
    std::vector<Chord> c = parse_chords(chords);
    play_melody(song, melody, t, lead());
    play_chord_pattern(song, c, "1.1.8.1.1.1.8.5.", -1, t, bass());
    play_chord_pattern(song, c, "1358135813581358", 1, t, arp(), 0.6f);
    for (const char* voice : {"1---------------", "3---------------", "5---------------"})
        play_chord_pattern(song, c, voice, 1, t, pad(), 0.92f);
    Prng rng(0x11C0);
    std::string kick, snare, hat;
    for (int b = 0; b < bars; ++b) {
        kick += "X.......x.x.....";
        snare += "....X.......X...";
        hat += b % 4 == 3 ? "x.x.x.x.x.x.xxxx" : "x.x.x.x.x.x.x.x.";
    }
    play_drum_pattern(song, kick, Drum::Kick, 0.5f, t, rng);
    play_drum_pattern(song, snare, Drum::Snare, 0.3f, t, rng);
    play_drum_pattern(song, hat, Drum::HiHat, 0.16f, t, rng);
    return finish(song, t);
}

Buffer make_game_theme() {
    const Timing t{1176, true};  // about 140 beats a minute
    const int bars = 24;
    Buffer song(t.step_samples * 16 * bars, 0.0f);
    const std::string chords = "Dm Bb C A Dm Bb Gm A  F C Dm Bb Gm A Dm A  Dm Dm Bb C Dm Dm Bb A";
    const std::string melody =
        "D5 - A4 - D5 - F5 - E5 - D5 - C5 - A4 - | Bb4 - - - D5 - F5 - E5 - D5 - - - - - |"
        "C5 - G4 - C5 - E5 - D5 - C5 - Bb4 - G4 - | A4 - - - C#5 - E5 - A5 - - - G5 - E5 - |"
        "D5 - A4 - D5 - F5 - E5 - D5 - C5 - A4 - | Bb4 - - - D5 - F5 - A5 - G5 - F5 - D5 - |"
        "G5 - - - F5 - E5 - D5 - - - E5 - F5 - | E5 - - - C#5 - - - A4 - - - - - - - |"
        "A5 - - - - - - - G5 - F5 - G5 - A5 - | G5 - - - E5 - - - C5 - - - E5 - - - |"
        "F5 - - - - - E5 - D5 - - - A4 - - - | Bb4 - - - D5 - - - F5 - - - Bb5 - - - |"
        "A5 - G5 - F5 - G5 - A5 - - - D5 - - - | C#5 - - - E5 - - - A5 - - - G5 - - - |"
        "F5 - E5 - D5 - - - A5 - G5 - F5 - E5 - | E5 - - - - - - - C#5 - - - - - - - |"
        "D6 . A5 . F5 . D5 . D6 . A5 . F5 . E5 . | D6 . A5 . F5 . D5 . C6 - - - A5 - - - |"
        "D6 . Bb5 . F5 . D5 . D6 . Bb5 . F5 . E5 . | E6 . C6 . G5 . E5 . G5 - - - C6 - - - |"
        "D6 . A5 . F5 . D5 . D6 . A5 . F5 . E5 . | D6 . A5 . F5 . D5 . F5 - - - A5 - - - |"
        "Bb5 - - - A5 - - - G5 - - - F5 - - - | E5 - - - C#5 - - - A4 - - - E5 - - - |";
    std::vector<Chord> c = parse_chords(chords);
    Instrument l = lead();
    l.volume = 0.22f;
    play_melody(song, melody, t, l, 0.85f);
    play_chord_pattern(song, c, "1.18.1.1 1.18.5.8", -1, t, bass(), 0.7f);
    play_chord_pattern(song, c, "1358135813581358", 1, t, arp(), 0.6f);
    for (const char* voice : {"1---------------", "5---------------"})
        play_chord_pattern(song, c, voice, 0, t, pad(), 0.92f);
    Prng rng(0x5016);
    std::string kick, snare, hat, open;
    for (int b = 0; b < bars; ++b) {
        bool bridge = b >= 16;
        kick += bridge ? "X...x...X...x..." : "X.....x.X.....x.";
        snare += b % 8 == 7 ? "....X.......X.xx" : "....X.......X...";
        hat += "x.x.x.x.x.x.x...";
        open += "..............x.";
    }
    play_drum_pattern(song, kick, Drum::Kick, 0.55f, t, rng);
    play_drum_pattern(song, snare, Drum::Snare, 0.34f, t, rng);
    play_drum_pattern(song, hat, Drum::HiHat, 0.16f, t, rng);
    play_drum_pattern(song, open, Drum::OpenHat, 0.12f, t, rng);
    return finish(song, t);
}
