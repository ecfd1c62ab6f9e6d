// Voice arithmetic (fixed-point steps, one-shot ends, loops, gain), the sum at the voices' own
// 11,025 Hz, and the way out: a band-limited resampler to the device's rate, then the limiter.
#include "platform/common/mixer.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

#include "platform/common/limiter.h"

namespace platform::common {
namespace {

constexpr uint64_t ONE = uint64_t(1) << 32;
// Input frames summed at a time for the resampler: small, so a sound started now is not held
// behind much that was summed before it (16 frames are 1.5 ms).
constexpr long CHUNK = 16;

// Moves a voice on by a 32.32 number of samples; a one-shot that runs off its end stops and
// rewinds, a looping one wraps around.
void move_voice(SoundBuffer& voice, uint64_t distance) {
    uint64_t length = uint64_t(voice.samples.size()) << 32;
    if (length == 0) {
        voice.playing = false;
        return;
    }
    if (voice.looping) {
        voice.position = (voice.position + distance % length) % length;
        return;
    }
    if (distance >= length - voice.position) {
        voice.playing = false;
        voice.position = 0;
        return;
    }
    voice.position += distance;
}

// Sums count frames at MIX_RATE from every playing voice, 1.0 being full scale. The sum is
// kept in floating point: voices add up past full scale without wrapping, and the limiter
// brings the total back under it.
void sum_voices(float* out, size_t count) {
    std::fill(out, out + count, 0.0f);
    for (const auto& entry : live_buffers()) {
        SoundBuffer& voice = *entry;
        uint64_t step = (uint64_t(voice.rate) << 32) / uint64_t(MIX_RATE);
        float scale = voice.gain / 128.0f;
        for (size_t i = 0; i < count && voice.playing; ++i) {
            uint8_t sample = voice.samples[size_t(voice.position >> 32)];
            out[i] += float(int(sample) - 128) * scale;
            move_voice(voice, step);
        }
    }
}

// The stream to the device: one resampler pulling sums as it needs them, and the limiter.
struct Output {
    SRC_STATE* resampler = nullptr;
    int rate = 0;
    Limiter limiter;
    float chunk[CHUNK];
    std::vector<float> block;
};

Output& output() {
    static Output instance;
    return instance;
}

long pull_chunk(void* data, float** frames) {
    auto* out = static_cast<Output*>(data);
    sum_voices(out->chunk, CHUNK);
    *frames = out->chunk;
    return CHUNK;
}

bool open_output(Output& out, int rate) {
    if (out.resampler != nullptr && out.rate == rate) {
        return true;
    }
    if (out.resampler != nullptr) {
        src_delete(out.resampler);
    }
    int error = 0;
    out.resampler = src_callback_new(pull_chunk, SRC_SINC_FASTEST, 1, &error, &out);
    out.rate = out.resampler != nullptr ? rate : 0;
    out.limiter.reset(rate);
    return out.resampler != nullptr;
}

}  // namespace

std::vector<std::unique_ptr<SoundBuffer>>& live_buffers() {
    static std::vector<std::unique_ptr<SoundBuffer>> instance;
    return instance;
}

bool buffer_alive(const SoundBuffer* buffer) {
    if (buffer == nullptr) {
        return false;
    }
    for (const auto& entry : live_buffers()) {
        if (entry.get() == buffer) {
            return true;
        }
    }
    return false;
}

float gain_for_volume(int32_t hundredths_db) {
    return float(std::pow(10.0, double(hundredths_db) / 2000.0));
}

void mix_s16(int16_t* out, size_t count, int output_rate) {
    if (out == nullptr || count == 0) {
        return;
    }
    std::fill(out, out + count, int16_t(0));
    // The resampler takes ratios up to 256 either way.
    if (output_rate < MIX_RATE / 256 || output_rate > MIX_RATE * 256) {
        return;
    }
    Output& o = output();
    if (!open_output(o, output_rate)) {
        // No resampler (out of memory): silence, but time goes on, so sounds still end.
        advance_ms(uint64_t(count) * 1000 / uint64_t(output_rate));
        return;
    }
    // Kept between calls: this runs on the audio thread, where allocating every few ms is a
    // needless risk of a late buffer.
    o.block.resize(std::max(o.block.size(), count));
    long made =
        src_callback_read(o.resampler, double(output_rate) / MIX_RATE, long(count), o.block.data());
    std::fill(o.block.begin() + std::max(made, 0L), o.block.begin() + long(count), 0.0f);
    o.limiter.process(o.block.data(), count);
    for (size_t i = 0; i < count; ++i) {
        out[i] = int16_t(std::clamp(std::lround(o.block[i] * 32768.0f), -32768L, 32767L));
    }
}

void reset_output() {
    Output& o = output();
    if (o.resampler != nullptr) {
        src_delete(o.resampler);
        o.resampler = nullptr;
    }
    o.rate = 0;
}

bool any_voice_playing() {
    for (const auto& entry : live_buffers()) {
        if (entry->playing) {
            return true;
        }
    }
    return false;
}

void advance_ms(uint64_t ms) {
    // In whole seconds first, so the fixed-point product cannot overflow.
    while (ms > 0) {
        uint64_t chunk = std::min<uint64_t>(ms, 1000);
        for (const auto& entry : live_buffers()) {
            SoundBuffer& voice = *entry;
            if (voice.playing) {
                // Rounded up, so a sound of exactly N ms has ended once N ms have passed.
                move_voice(voice, (uint64_t(voice.rate) * chunk * ONE + 999) / 1000);
            }
        }
        ms -= chunk;
    }
}

uint32_t position_samples(const SoundBuffer& buffer) {
    return uint32_t(buffer.position >> 32);
}

}  // namespace platform::common
