#include "sequencer.h"

#include <cctype>
#include <sstream>

namespace {

int semitone_of(char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'C':
            return 0;
        case 'D':
            return 2;
        case 'E':
            return 4;
        case 'F':
            return 5;
        case 'G':
            return 7;
        case 'A':
            return 9;
        case 'B':
            return 11;
        default:
            return -1;
    }
}

std::vector<std::string> tokens_of(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string t; in >> t;)
        if (t != "|")
            out.push_back(t);
    return out;
}

// Step characters, spaces and bar lines dropped.
std::string steps_of(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '|')
            out.push_back(c);
    return out;
}

void sound(Buffer& out, size_t step, int steps, int midi, const Timing& t, const Instrument& ins,
           float gate) {
    float seconds = float(t.step_samples * size_t(steps)) / RATE * gate;
    play_note(out, step * t.step_samples, seconds, float(midi), ins, t.wrap);
}

}  // namespace

int parse_note(const std::string& token) {
    if (token.size() < 2)
        return -1;
    int semitone = semitone_of(token[0]);
    if (semitone < 0)
        return -1;
    size_t i = 1;
    if (token[i] == '#')
        ++semitone, ++i;
    else if (token[i] == 'b')
        --semitone, ++i;
    if (i + 1 != token.size() || !std::isdigit(static_cast<unsigned char>(token[i])))
        return -1;
    return 12 * (token[i] - '0' + 1) + semitone;
}

std::vector<Chord> parse_chords(const std::string& names) {
    std::vector<Chord> chords;
    for (const std::string& n : tokens_of(names)) {
        std::string root = n.substr(0, n.size() > 1 && (n[1] == '#' || n[1] == 'b') ? 2 : 1);
        chords.push_back(Chord{parse_note(root + "3"), n.back() == 'm'});
    }
    return chords;
}

void play_melody(Buffer& out, const std::string& text, const Timing& timing, const Instrument& ins,
                 float gate, int transpose) {
    std::vector<std::string> tokens = tokens_of(text);
    for (size_t i = 0; i < tokens.size(); ++i) {
        int midi = parse_note(tokens[i]);
        if (midi < 0)
            continue;
        int steps = 1;
        while (i + steps < tokens.size() && tokens[i + steps] == "-")
            ++steps;
        sound(out, i, steps, midi + transpose, timing, ins, gate);
    }
}

void play_chord_pattern(Buffer& out, const std::vector<Chord>& chords, const std::string& bar,
                        int octave_shift, const Timing& timing, const Instrument& ins, float gate) {
    const std::string steps = steps_of(bar);
    const int n = int(steps.size());
    for (size_t c = 0; c < chords.size(); ++c)
        for (int i = 0; i < n; ++i) {
            int degree;
            switch (steps[i]) {
                case '1':
                    degree = 0;
                    break;
                case '3':
                    degree = chords[c].minor ? 3 : 4;
                    break;
                case '5':
                    degree = 7;
                    break;
                case '8':
                    degree = 12;
                    break;
                default:
                    continue;
            }
            int length = 1;
            while (i + length < n && steps[i + length] == '-')
                ++length;
            sound(out, c * n + i, length, chords[c].root + degree + 12 * octave_shift, timing, ins,
                  gate);
        }
}

void play_drum_pattern(Buffer& out, const std::string& text, Drum drum, float volume,
                       const Timing& timing, Prng& rng) {
    const std::string steps = steps_of(text);
    for (size_t i = 0; i < steps.size(); ++i)
        if (steps[i] == 'x' || steps[i] == 'X')
            play_drum(out, i * timing.step_samples, drum, steps[i] == 'X' ? volume : volume * 0.7f,
                      rng, timing.wrap);
}
