#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;

// Softens the step of a naive square or saw: the usual polynomial band-limited step.
float poly_blep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float oscillator(Wave wave, float phase, float dt, float duty, Prng& rng) {
    switch (wave) {
        case Wave::Sine:
            return std::sin(2 * PI * phase);
        case Wave::Triangle:
            return 1.0f - 4.0f * std::fabs(phase - 0.5f);
        case Wave::Saw:
            return 2.0f * phase - 1.0f - poly_blep(phase, dt);
        case Wave::Square: {
            float v = phase < duty ? 1.0f : -1.0f;
            v += poly_blep(phase, dt);
            float shifted = phase - duty + (phase < duty ? 1.0f : 0.0f);
            v -= poly_blep(shifted, dt);
            return v;
        }
        case Wave::Noise:
            return rng.signed_unit();
    }
    return 0.0f;
}

float envelope(const Envelope& e, float t, float hold) {
    auto level_at = [&](float u) {
        if (u < e.attack)
            return u / e.attack;
        u -= e.attack;
        if (u < e.decay)
            return 1.0f - (1.0f - e.sustain) * (u / e.decay);
        return e.sustain;
    };
    if (t < hold)
        return level_at(t);
    float r = (t - hold) / e.release;
    return r >= 1.0f ? 0.0f : level_at(hold) * (1.0f - r) * (1.0f - r);
}

void accumulate(Buffer& out, size_t index, float v, bool wrap) {
    if (out.empty())
        return;
    if (index < out.size())
        out[index] += v;
    else if (wrap)
        out[index % out.size()] += v;
}

}  // namespace

float note_hz(float midi) {
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}

size_t seconds_to_samples(float seconds) {
    return size_t(std::lround(seconds * RATE));
}

void play_note(Buffer& out, size_t start, float hold, float midi, const Instrument& ins,
               bool wrap) {
    const size_t n = seconds_to_samples(hold + ins.env.release);
    Prng rng(uint32_t(start * 2654435761u + uint32_t(midi * 97)));
    float phase = 0.0f, phase2 = 0.25f, filtered = 0.0f;
    const float alpha = ins.lowpass > 0 ? 1.0f - std::exp(-2.0f * PI * ins.lowpass / RATE) : 1.0f;
    for (size_t i = 0; i < n; ++i) {
        float t = float(i) / RATE;
        float m = midi + ins.glide * std::min(t / std::max(hold, 1e-3f), 1.0f);
        if (ins.vibrato_depth > 0 && t > ins.vibrato_delay)
            m += ins.vibrato_depth * std::sin(2 * PI * ins.vibrato_rate * (t - ins.vibrato_delay));
        float dt = note_hz(m) / RATE;
        float v = oscillator(ins.wave, phase, dt, ins.duty, rng);
        if (ins.detune != 0.0f) {
            float dt2 = note_hz(m + ins.detune) / RATE;
            v = 0.5f * (v + oscillator(ins.wave, phase2, dt2, ins.duty, rng));
            phase2 += dt2;
            phase2 -= std::floor(phase2);
        }
        phase += dt;
        phase -= std::floor(phase);
        filtered += alpha * (v - filtered);
        accumulate(out, start + i, filtered * envelope(ins.env, t, hold) * ins.volume, wrap);
    }
}

void play_drum(Buffer& out, size_t start, Drum drum, float volume, Prng& rng, bool wrap) {
    const float length = drum == Drum::Kick      ? 0.28f
                         : drum == Drum::Snare   ? 0.2f
                         : drum == Drum::HiHat   ? 0.05f
                         : drum == Drum::OpenHat ? 0.2f
                                                 : 1.0f;
    const size_t n = seconds_to_samples(length);
    float phase = 0.0f, low = 0.0f, last = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        float t = float(i) / RATE;
        // Rises over 1.5 ms and reaches silence exactly at the end: no clicks either side.
        float fade = std::min(1.0f, float(i) / 16.0f) * (1.0f - float(i) / float(n));
        float v = 0.0f;
        float noise = rng.signed_unit();
        switch (drum) {
            case Drum::Kick: {
                float hz = 45.0f + 110.0f * std::exp(-t * 30.0f);
                phase += hz / RATE;
                v = std::sin(2 * PI * phase) * std::exp(-t * 9.0f);
                v += noise * 0.25f * std::exp(-t * 200.0f);
                break;
            }
            case Drum::Snare: {
                phase += 185.0f / RATE;
                low += 0.5f * (noise - low);
                v = (noise - low) * 0.9f * std::exp(-t * 18.0f) +
                    std::sin(2 * PI * phase) * 0.5f * std::exp(-t * 30.0f);
                break;
            }
            case Drum::Crash:
            case Drum::HiHat:
            case Drum::OpenHat: {
                float high = noise - last;  // first difference: a bright, thin hiss
                last = noise;
                float rate = drum == Drum::HiHat ? 70.0f : drum == Drum::OpenHat ? 14.0f : 4.0f;
                v = high * 0.5f * std::exp(-t * rate);
                break;
            }
        }
        accumulate(out, start + i, v * volume * fade, wrap);
    }
}

void add_echo(Buffer& buf, float delay, float feedback, int taps, bool wrap) {
    const Buffer dry = buf;
    const size_t d = seconds_to_samples(delay), n = buf.size();
    float gain = 1.0f;
    for (int k = 1; k <= taps; ++k) {
        gain *= feedback;
        size_t shift = d * size_t(k);
        for (size_t i = 0; i < n; ++i) {
            if (i >= shift)
                buf[i] += gain * dry[i - shift];
            else if (wrap)
                buf[i] += gain * dry[(i + n - shift % n) % n];
        }
    }
}

void fade_out(Buffer& buf, float seconds) {
    const size_t n = std::min(buf.size(), seconds_to_samples(seconds));
    for (size_t i = 0; i < n; ++i)
        buf[buf.size() - n + i] *= 1.0f - float(i + 1) / float(n);
}
