// Sound globals back to a fresh process, and a look into what a sound buffer holds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

// Forgets the device and every slot (sound_first_init 1, slots zero, ids 0, volumes 100). Call
// right after platform::headless::reset(), which has already dropped the device and buffers.
void voc_reset_sound_state();

// The bytes a sound buffer holds; empty when it cannot be locked.
std::vector<uint8_t> voc_buffer_bytes(platform::SoundBuffer* buffer);

// Removes a test's scratch directory with everything in it.
void voc_remove_scratch_dir(const std::string& dir);
