// Voice arithmetic: resampling by fixed-point steps, one-shot ends, loops, gain.
#include "platform/common/mixer.h"

#include <algorithm>
#include <cmath>

namespace platform::common {
namespace {

constexpr uint64_t ONE = uint64_t(1) << 32;

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
    // Kept between calls: this runs on the audio thread, where allocating every few ms is a
    // needless risk of a late buffer.
    static thread_local std::vector<float> sum;
    sum.assign(count, 0.0f);
    if (output_rate > 0) {
        for (const auto& entry : live_buffers()) {
            SoundBuffer& voice = *entry;
            uint64_t step = (uint64_t(voice.rate) << 32) / uint64_t(output_rate);
            for (size_t i = 0; i < count && voice.playing; ++i) {
                uint8_t sample = voice.samples[size_t(voice.position >> 32)];
                sum[i] += float(int(sample) - 128) * 256.0f * voice.gain;
                move_voice(voice, step);
            }
        }
    }
    for (size_t i = 0; i < count; ++i) {
        out[i] = int16_t(std::clamp(std::lround(sum[i]), -32768L, 32767L));
    }
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
