// A note sequencer over the synthesiser: melodies, bass lines, arpeggios and drums written as
// short text patterns, one token per step.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

// "A4" -> 69, "C#5" -> 73, "Bb3" -> 58; -1 when the token is no note.
int parse_note(const std::string& token);
// Chord names such as "Dm", "Bb", "F#m": root (octave 3) and whether it is minor.
struct Chord {
    int root;
    bool minor;
};
std::vector<Chord> parse_chords(const std::string& names);

struct Timing {
    size_t step_samples;  // length of one step (a sixteenth note)
    bool wrap;            // a looping piece: tails run on into the start
};

// Tokens: a note ("E5"), "." rest, "-" hold the previous note one more step; "|" is ignored.
// gate is the part of each note's length that sounds before its release.
void play_melody(Buffer& out, const std::string& tokens, const Timing& timing,
                 const Instrument& ins, float gate = 0.9f, int transpose = 0);
// One character per step over each chord's bar: '1' root, '3' third, '5' fifth, '8' octave,
// '.' rest, '-' hold; the bar pattern repeats for every chord.
void play_chord_pattern(Buffer& out, const std::vector<Chord>& chords, const std::string& bar,
                        int octave_shift, const Timing& timing, const Instrument& ins,
                        float gate = 0.8f);
// One character per step: 'x' hit, 'X' accented hit, anything else nothing.
void play_drum_pattern(Buffer& out, const std::string& steps, Drum drum, float volume,
                       const Timing& timing, Prng& rng);
