// The sound device and its static buffers, played by the shared mixer.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/common/audio_internal.h"
#include "platform/common/backend.h"
#include "platform/common/mixer.h"
#include "platform/common/window_internal.h"

namespace platform {

struct SoundDevice {
    bool cooperative = false;
};

namespace {

using backend::Step;

// The largest buffer the device makes, as DirectSound's limit.
constexpr uint32_t MAX_BUFFER_BYTES = 0x0FFFFFFF;
constexpr uint32_t MIN_RATE = 100;
constexpr uint32_t MAX_RATE = 100000;
constexpr int32_t SILENT = -10000;

struct AudioState {
    std::vector<std::unique_ptr<SoundDevice>> devices;
    common::SoundObserver observer = nullptr;
};

AudioState& audio_state() {
    static AudioState instance;
    return instance;
}

// Holds the backend's audio lock while the game changes voices.
struct AudioGuard {
    AudioGuard() { backend::audio_lock(); }
    ~AudioGuard() { backend::audio_unlock(); }
    AudioGuard(const AudioGuard&) = delete;
    AudioGuard& operator=(const AudioGuard&) = delete;
};

bool device_alive(const SoundDevice* device) {
    for (const auto& entry : audio_state().devices) {
        if (entry.get() == device) {
            return true;
        }
    }
    return false;
}

void report(common::SoundEventKind kind, const SoundBuffer* buffer, int32_t value) {
    if (audio_state().observer != nullptr) {
        audio_state().observer(kind, buffer, value);
    }
}

// Drops the buffers made from a device (all of them for null).
void drop_buffers(const SoundDevice* device) {
    AudioGuard guard;
    auto& buffers = common::live_buffers();
    buffers.erase(std::remove_if(buffers.begin(), buffers.end(),
                                 [&](const std::unique_ptr<SoundBuffer>& entry) {
                                     return device == nullptr || entry->device == device;
                                 }),
                  buffers.end());
}

}  // namespace

Result sound_create(SoundDevice** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(Step::SoundCreate)) {
        return FAILED;
    }
    AudioState& s = audio_state();
    // The output is opened with the first device and closed with the last.
    if (s.devices.empty() && !backend::audio_open()) {
        return FAILED;
    }
    s.devices.push_back(std::make_unique<SoundDevice>());
    *out = s.devices.back().get();
    return OK;
}

Result sound_set_cooperative_level(SoundDevice* device, WindowHandle window, uint32_t level) {
    if (backend::step_fails(Step::SoundCooperativeLevel) || !device_alive(device)) {
        return FAILED;
    }
    if (window == nullptr || window != common::live_window() || level == 0) {
        return FAILED;
    }
    device->cooperative = true;
    return OK;
}

Result sound_create_buffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(Step::SoundCreateBuffer) || !device_alive(device) ||
        !device->cooperative) {
        return FAILED;
    }
    const WaveFormat* format = desc.lpwfxFormat;
    if (format == nullptr || format->wFormatTag != WAVE_FORMAT_PCM || format->nChannels != 1 ||
        format->wBitsPerSample != 8 || format->nSamplesPerSec < MIN_RATE ||
        format->nSamplesPerSec > MAX_RATE || desc.dwBufferBytes == 0 ||
        desc.dwBufferBytes > MAX_BUFFER_BYTES) {
        return FAILED;
    }
    auto buffer = std::make_unique<SoundBuffer>();
    buffer->device = device;
    buffer->rate = format->nSamplesPerSec;
    try {
        buffer->samples.assign(desc.dwBufferBytes, 128);  // silence
    } catch (const std::bad_alloc&) {
        return FAILED;
    }
    AudioGuard guard;
    common::live_buffers().push_back(std::move(buffer));
    *out = common::live_buffers().back().get();
    return OK;
}

uint32_t sound_release(SoundDevice* device) {
    AudioState& s = audio_state();
    if (!device_alive(device)) {
        return 0;
    }
    // Like the device it stands for, releasing it releases the buffers still made from it.
    drop_buffers(device);
    s.devices.erase(std::find_if(
        s.devices.begin(), s.devices.end(),
        [&](const std::unique_ptr<SoundDevice>& entry) { return entry.get() == device; }));
    if (s.devices.empty()) {
        backend::audio_close();
    }
    return 0;
}

Result buffer_lock(SoundBuffer* buffer, uint32_t offset, uint32_t bytes, void** region1,
                   uint32_t* size1, void** region2, uint32_t* size2, uint32_t flags) {
    if (backend::step_fails(Step::SoundBufferLock) || !common::buffer_alive(buffer) ||
        region1 == nullptr || size1 == nullptr) {
        return FAILED;
    }
    AudioGuard guard;
    uint32_t length = uint32_t(buffer->samples.size());
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        offset = common::position_samples(*buffer);
    }
    if (buffer->locked_region1 != nullptr || bytes == 0 || bytes > length || offset >= length) {
        return FAILED;
    }
    uint32_t first = std::min(bytes, length - offset);
    // Without a place for the second region, the lock stops at the buffer's end.
    uint32_t second = (region2 != nullptr && size2 != nullptr) ? bytes - first : 0;
    buffer->locked_region1 = buffer->samples.data() + offset;
    buffer->locked_size1 = first;
    buffer->locked_region2 = second > 0 ? buffer->samples.data() : nullptr;
    buffer->locked_size2 = second;
    *region1 = buffer->locked_region1;
    *size1 = first;
    if (region2 != nullptr && size2 != nullptr) {
        *region2 = buffer->locked_region2;
        *size2 = second;
    }
    return OK;
}

Result buffer_unlock(SoundBuffer* buffer, void* region1, uint32_t size1, void* region2,
                     uint32_t size2) {
    if (backend::step_fails(Step::SoundBufferUnlock) || !common::buffer_alive(buffer)) {
        return FAILED;
    }
    AudioGuard guard;
    if (buffer->locked_region1 == nullptr || region1 != buffer->locked_region1 ||
        size1 > buffer->locked_size1 || (region2 != nullptr && region2 != buffer->locked_region2) ||
        size2 > buffer->locked_size2) {
        return FAILED;
    }
    buffer->locked_region1 = nullptr;
    buffer->locked_size1 = 0;
    buffer->locked_region2 = nullptr;
    buffer->locked_size2 = 0;
    return OK;
}

Result buffer_play(SoundBuffer* buffer, uint32_t reserved, uint32_t priority, uint32_t flags) {
    (void)reserved;
    (void)priority;
    if (backend::step_fails(Step::SoundBufferPlay) || !common::buffer_alive(buffer)) {
        return FAILED;
    }
    {
        AudioGuard guard;
        buffer->playing = true;
        buffer->looping = (flags & DSBPLAY_LOOPING) != 0;
    }
    report(common::SoundEventKind::Play, buffer, int32_t(flags));
    return OK;
}

Result buffer_stop(SoundBuffer* buffer) {
    if (!common::buffer_alive(buffer)) {
        return FAILED;
    }
    uint32_t position;
    {
        AudioGuard guard;
        buffer->playing = false;
        buffer->looping = false;
        position = common::position_samples(*buffer);
    }
    report(common::SoundEventKind::Stop, buffer, int32_t(position));
    return OK;
}

Result buffer_set_current_position(SoundBuffer* buffer, uint32_t position) {
    if (backend::step_fails(Step::SoundBufferSetPosition) || !common::buffer_alive(buffer) ||
        position >= buffer->samples.size()) {
        return FAILED;
    }
    {
        AudioGuard guard;
        buffer->position = uint64_t(position) << 32;
    }
    report(common::SoundEventKind::SetPosition, buffer, int32_t(position));
    return OK;
}

Result buffer_get_status(SoundBuffer* buffer, uint32_t* status) {
    if (!common::buffer_alive(buffer) || status == nullptr) {
        return FAILED;
    }
    bool playing;
    {
        AudioGuard guard;
        playing = buffer->playing;
        *status = playing ? (DSBSTATUS_PLAYING | (buffer->looping ? DSBSTATUS_LOOPING : 0)) : 0;
    }
    if (playing) {
        backend::audio_status_polled();
    }
    return OK;
}

Result buffer_set_volume(SoundBuffer* buffer, int32_t hundredths_db) {
    if (!common::buffer_alive(buffer) || hundredths_db < SILENT || hundredths_db > 0) {
        return FAILED;
    }
    {
        AudioGuard guard;
        buffer->volume = hundredths_db;
        buffer->gain = common::gain_for_volume(hundredths_db);
    }
    report(common::SoundEventKind::Volume, buffer, hundredths_db);
    return OK;
}

uint32_t buffer_release(SoundBuffer* buffer) {
    if (!common::buffer_alive(buffer)) {
        return 0;
    }
    AudioGuard guard;
    auto& buffers = common::live_buffers();
    buffers.erase(std::find_if(
        buffers.begin(), buffers.end(),
        [&](const std::unique_ptr<SoundBuffer>& entry) { return entry.get() == buffer; }));
    return 0;
}

namespace common {

void set_sound_observer(SoundObserver observer) {
    audio_state().observer = observer;
}

void reset_audio() {
    AudioState& s = audio_state();
    drop_buffers(nullptr);
    {
        AudioGuard guard;
        reset_output();
    }
    if (!s.devices.empty()) {
        s.devices.clear();
        backend::audio_close();
    }
}

}  // namespace common
}  // namespace platform
