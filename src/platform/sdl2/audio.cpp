// The sound output: one SDL audio device whose callback runs the shared mixer. SDL holds the
// device lock while the callback runs, so the game's changes to voices, made under
// audio_lock, never meet a mix half done.
#include <algorithm>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/mixer.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform::sdl2 {

namespace {

// About 11 ms at 44.1 kHz. A sound started now is mixed within one such period, comes out of
// the mixer's filter and look-ahead about 5 ms later, and waits behind at most one more period
// in the device: under 30 ms from Play_Sound to the speaker.
constexpr Uint16 kDeviceSamples = 512;

SDL_AudioDeviceID device = 0;
int device_rate = 0;
int device_channels = 0;
std::vector<int16_t> mono;
// Paused by the callback once nothing plays and the output has rung out: SDL then writes the
// silence itself, and the mixer does not run.
bool paused_for_silence = false;

void fill_audio(void* /*user*/, Uint8* stream, int length) {
    auto* out = reinterpret_cast<int16_t*>(stream);
    size_t frames = size_t(length) / (sizeof(int16_t) * size_t(device_channels));
    bool silent = true;
    while (frames > 0) {
        size_t count = std::min(frames, mono.size());
        common::mix_s16(mono.data(), count, device_rate);
        for (size_t i = 0; i < count; ++i) {
            silent = silent && mono[i] == 0;
            for (int c = 0; c < device_channels; ++c) {
                *out++ = mono[i];
            }
        }
        frames -= count;
    }
    // The callback runs under the device's lock, which SDL lets the same thread take again.
    if (silent && !common::any_voice_playing()) {
        paused_for_silence = true;
        SDL_PauseAudioDevice(device, 1);
    }
}

}  // namespace

}  // namespace platform::sdl2

namespace platform::backend {

bool audio_open() {
    using namespace sdl2;
    if (device != 0) {
        return true;
    }
    if (!init_subsystem(SDL_INIT_AUDIO)) {
        SDL_LogWarn(SDL_LOG_CATEGORY_APPLICATION, "CELLSTORM: no sound: %s", SDL_GetError());
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kDeviceSamples;
    wanted.callback = fill_audio;
    SDL_AudioSpec obtained{};
    // The device's own rate and channel count: the mixer raises its 11,025 Hz sum to that rate
    // with a band-limited resampler, and mono is copied to every channel, so SDL adds no
    // conversion stage of its own.
    device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device == 0 || obtained.channels == 0 || obtained.freq <= 0) {
        // The game goes on silent; say why once.
        SDL_LogWarn(SDL_LOG_CATEGORY_APPLICATION, "CELLSTORM: no sound: %s", SDL_GetError());
        if (device != 0) {
            SDL_CloseAudioDevice(device);
            device = 0;
        }
        return false;
    }
    device_rate = obtained.freq;
    device_channels = obtained.channels;
    mono.assign(std::max<size_t>(obtained.samples, 64), 0);
    common::reset_output();  // the callback is not running yet
    paused_for_silence = false;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void audio_close() {
    if (sdl2::device != 0) {
        SDL_CloseAudioDevice(sdl2::device);
        sdl2::device = 0;
    }
}

void audio_lock() {
    if (sdl2::device != 0) {
        SDL_LockAudioDevice(sdl2::device);
    }
}

void audio_unlock() {
    using namespace sdl2;
    if (device == 0) {
        return;
    }
    // A voice the game just started plays from the next period on.
    const bool wake = paused_for_silence && common::any_voice_playing();
    if (wake) {
        paused_for_silence = false;
    }
    SDL_UnlockAudioDevice(device);
    if (wake) {
        SDL_PauseAudioDevice(device, 0);
    }
}

void audio_status_polled() {
    // The menu's exit waits on a playing sound in a tight loop: let the mixer run meanwhile.
    sdl2::idle_briefly();
}

}  // namespace platform::backend
