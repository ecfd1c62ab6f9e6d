// Sound through Web Audio: the page's script-processor callback pulls the shared mixer, at the
// audio context's own rate. Browsers start sound only after the player's first key or click;
// until then the voices move on with the clock, silently, so a sound the game waits for still
// ends in its time. Everything runs on the page's one thread, so there is nothing to lock.
#include <emscripten.h>

#include <algorithm>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/mixer.h"
#include "platform/web/web_backend.h"

namespace platform::web {

namespace {

bool device_open = false;
double silent_since_ms = 0;
std::vector<int16_t> mixed;
std::vector<float> output;

// Opens the page's sound (started at once where the browser allows it, otherwise at the first
// key or click); false when the browser has no Web Audio.
EM_JS(int, open_page_audio, (), { return Module.cellstormOpenAudio() ? 1 : 0; });
EM_JS(int, page_audio_running, (), { return Module.cellstormAudioRunning() ? 1 : 0; });
EM_JS(void, close_page_audio, (), { Module.cellstormCloseAudio(); });

}  // namespace

void advance_silent_audio() {
    if (!device_open) {
        return;
    }
    const double now = emscripten_get_now();
    if (page_audio_running()) {
        silent_since_ms = now;
        return;
    }
    if (now - silent_since_ms >= 1) {
        const auto whole_ms = uint64_t(now - silent_since_ms);
        common::advance_ms(whole_ms);
        silent_since_ms += double(whole_ms);
    }
}

}  // namespace platform::web

// Called by the page for every block of sound it plays: count mono samples at rate, as floats.
extern "C" EMSCRIPTEN_KEEPALIVE float* cellstorm_mix(int count, int rate) {
    using namespace platform::web;
    if (count <= 0 || rate <= 0) {
        return nullptr;
    }
    mixed.resize(size_t(count));
    output.resize(size_t(count));
    if (device_open) {
        platform::common::mix_s16(mixed.data(), mixed.size(), rate);
    } else {
        std::fill(mixed.begin(), mixed.end(), int16_t(0));
    }
    for (size_t i = 0; i < mixed.size(); ++i) {
        output[i] = float(mixed[i]) / 32768.0f;
    }
    silent_since_ms = emscripten_get_now();
    return output.data();
}

namespace platform::backend {

bool audio_open() {
    if (!web::device_open && web::open_page_audio() != 0) {
        web::device_open = true;
        web::silent_since_ms = emscripten_get_now();
    }
    return web::device_open;
}

void audio_close() {
    if (web::device_open) {
        web::device_open = false;
        web::close_page_audio();
    }
}

void audio_lock() {}

void audio_unlock() {}

void audio_status_polled() {
    // The menu's exit waits on a playing sound in a tight loop: let the sound move on meanwhile.
    web::yield_to_browser(1);
}

}  // namespace platform::backend
