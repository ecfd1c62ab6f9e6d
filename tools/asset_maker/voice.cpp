// "Oh yeah!": a voice made by a formant synthesiser. A buzzing glottal source with a pitch
// contour goes through three resonators whose frequencies glide from vowel to vowel.
#include <cmath>

#include "sounds.h"
#include "synth.h"

namespace {

constexpr float PI = 3.14159265358979f;

struct Vowel {
    float f1, f2, f3;
};

// Key frames of the utterance: time (s), vowel, pitch (Hz), loudness, breath.
struct Frame {
    float time;
    Vowel vowel;
    float pitch;
    float loud;
    float breath;
};

const Frame FRAMES[] = {
    {0.00f, {450, 800, 2500}, 150, 0.0f, 0.0f},  // "o" starting
    {0.05f, {450, 800, 2500}, 175, 1.0f, 0.05f},
    {0.26f, {430, 760, 2450}, 150, 0.9f, 0.05f},   // "o" falling
    {0.33f, {300, 700, 2400}, 140, 0.2f, 0.1f},    // "oh" closing
    {0.40f, {280, 2200, 2900}, 165, 0.6f, 0.05f},  // "y" glide
    {0.47f, {500, 1850, 2500}, 200, 1.0f, 0.05f},  // "e"
    {0.60f, {720, 1250, 2450}, 235, 1.0f, 0.05f},  // "a", the pitch peak of the shout
    {0.82f, {700, 1150, 2400}, 175, 0.8f, 0.2f},
    {0.95f, {650, 1100, 2400}, 140, 0.0f, 0.4f},  // trailing breath
};

Frame frame_at(float t) {
    const int n = sizeof(FRAMES) / sizeof(FRAMES[0]);
    if (t <= FRAMES[0].time)
        return FRAMES[0];
    for (int i = 1; i < n; ++i)
        if (t < FRAMES[i].time) {
            const Frame &a = FRAMES[i - 1], &b = FRAMES[i];
            float u = (t - a.time) / (b.time - a.time);
            auto lerp = [u](float x, float y) { return x + (y - x) * u; };
            return Frame{t,
                         {lerp(a.vowel.f1, b.vowel.f1), lerp(a.vowel.f2, b.vowel.f2),
                          lerp(a.vowel.f3, b.vowel.f3)},
                         lerp(a.pitch, b.pitch),
                         lerp(a.loud, b.loud),
                         lerp(a.breath, b.breath)};
        }
    return FRAMES[n - 1];
}

// Two-pole resonator with its own state.
struct Resonator {
    float y1 = 0, y2 = 0;
    float step(float x, float hz, float bandwidth) {
        float r = std::exp(-PI * bandwidth / RATE);
        float a1 = 2 * r * std::cos(2 * PI * hz / RATE), a2 = -r * r;
        float y = (1 - r) * x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

}  // namespace

Buffer make_voice() {
    const float length = 1.0f;
    Buffer b(seconds_to_samples(length), 0.0f);
    Prng rng(0x0E7A);
    Resonator r1, r2, r3;
    float phase = 0.0f;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = float(i) / RATE;
        Frame f = frame_at(t);
        phase += f.pitch * (1.0f + 0.01f * std::sin(2 * PI * 6.0f * t)) / RATE;
        phase -= std::floor(phase);
        // A glottal pulse: quick opening, sharp closing, rich in harmonics.
        float glottal = phase < 0.6f ? std::sin(PI * phase / 0.6f) : 0.0f;
        glottal = glottal * glottal - 0.3f;
        float source = f.loud * glottal + f.breath * rng.signed_unit() * 0.5f;
        float v = r1.step(source, f.vowel.f1, 90) * 1.0f + r2.step(source, f.vowel.f2, 120) * 0.7f +
                  r3.step(source, f.vowel.f3, 180) * 0.35f;
        b[i] = v;
    }
    fade_out(b, 0.05f);
    return b;
}
