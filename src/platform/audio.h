// The sound device: static 8-bit mono buffers played once or looping by a software mixer.
#pragma once
#include <cstdint>

#include "platform/types.h"
#include "platform/window.h"

namespace platform {

struct SoundDevice;
struct SoundBuffer;

constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSBCAPS_STATIC = 0x02;
constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x08;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 1;
constexpr uint32_t DSBPLAY_LOOPING = 1;
constexpr uint32_t DSBSTATUS_PLAYING = 1;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 2;
constexpr uint32_t DSBSTATUS_LOOPING = 4;
constexpr uint16_t WAVE_FORMAT_PCM = 1;

struct WaveFormat {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};

struct SoundBufferDesc {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwBufferBytes;
    uint32_t dwReserved;
    const WaveFormat* lpwfxFormat;
};

// The default device; fails when there is none.
Result sound_create(SoundDevice** out);
// Needs the live window; buffers can be made only once this has succeeded.
Result sound_set_cooperative_level(SoundDevice* device, WindowHandle window, uint32_t level);
// 8-bit unsigned mono buffers only; fails for any other format or a size of 0.
Result sound_create_buffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** out);
uint32_t sound_release(SoundDevice* device);

// Hands out the buffer's bytes from offset as up to two regions (the second when the range wraps).
Result buffer_lock(SoundBuffer* buffer, uint32_t offset, uint32_t bytes, void** region1,
                   uint32_t* size1, void** region2, uint32_t* size2, uint32_t flags);
Result buffer_unlock(SoundBuffer* buffer, void* region1, uint32_t size1, void* region2,
                     uint32_t size2);
// Starts from the current position; flags 0 once, DSBPLAY_LOOPING to loop.
Result buffer_play(SoundBuffer* buffer, uint32_t reserved, uint32_t priority, uint32_t flags);
// Stops where it is; the position stays.
Result buffer_stop(SoundBuffer* buffer);
Result buffer_set_current_position(SoundBuffer* buffer, uint32_t position);
Result buffer_get_status(SoundBuffer* buffer, uint32_t* status);
// Attenuation in hundredths of a decibel, -10000 (silent) .. 0 (full level).
Result buffer_set_volume(SoundBuffer* buffer, int32_t hundredths_db);
uint32_t buffer_release(SoundBuffer* buffer);

}  // namespace platform
