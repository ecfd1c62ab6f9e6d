// A small synthesiser: band-limited oscillators, envelopes, noise, filters and drums, rendered
// into float buffers at the game's 11,025 samples a second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "prng.h"

constexpr int RATE = 11025;
using Buffer = std::vector<float>;

enum class Wave { Sine, Triangle, Square, Saw, Noise };

struct Envelope {
    float attack = 0.005f;  // seconds
    float decay = 0.1f;
    float sustain = 0.7f;  // level
    float release = 0.08f;
};

struct Instrument {
    Wave wave = Wave::Square;
    float duty = 0.5f;  // pulse width of Square
    Envelope env;
    float volume = 0.3f;
    float vibrato_depth = 0.0f;   // semitones
    float vibrato_rate = 5.5f;    // Hz
    float vibrato_delay = 0.15f;  // seconds before vibrato sets in
    float glide = 0.0f;           // semitones added over the note (negative falls)
    float lowpass = 0.0f;         // cut-off Hz, 0 for none
    float detune = 0.0f;          // a second oscillator this many semitones off, 0 for none
};

// Frequency of a MIDI note number (69 = A 440 Hz).
float note_hz(float midi);
size_t seconds_to_samples(float seconds);

// Renders one note of `hold` seconds (plus its release) starting at sample `start`. With
// wrap, samples past the end continue at the buffer's start, so a loop joins seamlessly.
void play_note(Buffer& out, size_t start, float hold, float midi, const Instrument& ins,
               bool wrap = false);

enum class Drum { Kick, Snare, HiHat, OpenHat, Crash };
void play_drum(Buffer& out, size_t start, Drum drum, float volume, Prng& rng, bool wrap = false);

// Adds echoes of the buffer delayed by `delay` seconds, each `feedback` times the last; with
// wrap the echoes of the end fall on the start.
void add_echo(Buffer& buf, float delay, float feedback, int taps, bool wrap);
// Ramps the last `seconds` of the buffer down to silence.
void fade_out(Buffer& buf, float seconds);
