// The sound device and the table of sixteen sound slots; a sound id is a slot index.
#pragma once
#include <cstdint>

#include "platform/audio.h"

constexpr int SOUND_SLOT_COUNT = 16;

struct SoundSlot {
    platform::SoundBuffer* buffer;  // null: the slot is silent
    int32_t in_use;                 // claimed by a load; freed only by Sound_Init
    int32_t rate;                   // from the file's time constant; playback is always 11,025 Hz
    int32_t length;                 // the first block's length field
    int32_t id;                     // the slot's own index
};

// Null when there is no sound device; every load then fails and every sound is silent.
extern platform::SoundDevice* ds_object;
// 1 until the first Sound_Init, which alone tries to create the device.
extern int sound_first_init;
extern SoundSlot sound_slots[SOUND_SLOT_COUNT];

// 1 when the device is ready and every slot free; 0 when the device could not be set up.
// Called again, it stops and releases every buffer and keeps the device.
int Sound_Init();

// Loads the first sample block of a VOC file into a new buffer in the lowest free slot.
// Returns the slot index, or -1 for any failure.
int Load_VOC_File(const char* filename);

// Stops and releases every buffer and the device. Always 1.
int Sound_Shutdown();
