// The software mixer: every live sound buffer is a voice over its own 8-bit unsigned mono samples.
// Both backends drive it: SDL from its audio callback, headless from its virtual clock. Callers
// of mix_s16, reset_output and advance_ms hold the audio lock (backend::audio_lock) around them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio.h"

namespace platform {

struct SoundBuffer {
    SoundDevice* device = nullptr;
    std::vector<uint8_t> samples;
    uint32_t rate = 11025;
    // Play position in samples, 32.32 fixed point, so any output rate keeps exact time.
    uint64_t position = 0;
    bool playing = false;
    bool looping = false;
    int32_t volume = 0;  // hundredths of a decibel
    float gain = 1.0f;
    // The regions handed out by the lock in force (null when unlocked).
    uint8_t* locked_region1 = nullptr;
    uint32_t locked_size1 = 0;
    uint8_t* locked_region2 = nullptr;
    uint32_t locked_size2 = 0;
};

namespace common {

// Every live buffer, oldest first.
std::vector<std::unique_ptr<SoundBuffer>>& live_buffers();
bool buffer_alive(const SoundBuffer* buffer);

// The rate voices are summed at: the rate of every sound the game makes. A voice of another
// rate steps through its samples at its own speed, holding each one.
constexpr int MIX_RATE = 11025;

// Linear gain of an attenuation in hundredths of a decibel: 10^(v / 2000).
float gain_for_volume(int32_t hundredths_db);

// Mixes count mono samples at output_rate from every playing voice into out (overwritten) and
// moves the voices on by as much time. The voices are summed at MIX_RATE, raised to
// output_rate by a band-limited resampler and limited under full scale; what comes out is a
// few milliseconds behind the voices (filter and look-ahead). One stream: its filter state
// carries from call to call, and a new output_rate starts it afresh.
void mix_s16(int16_t* out, size_t count, int output_rate);
// Starts the output stream afresh (a new device, a new capture).
void reset_output();

// True when any voice plays (the output may still ring on for a few milliseconds after).
bool any_voice_playing();

// Moves every playing voice on by ms milliseconds without producing output.
void advance_ms(uint64_t ms);

// The sample index a voice is at.
uint32_t position_samples(const SoundBuffer& buffer);

}  // namespace common
}  // namespace platform
