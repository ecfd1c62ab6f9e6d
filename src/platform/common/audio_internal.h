// What the backends need of the shared sound device beyond the seam: resetting it, and hearing
// about what the game does with its buffers (the headless sound log).
#pragma once
#include <cstdint>

#include "platform/audio.h"

namespace platform::common {

enum class SoundEventKind { Play, Stop, SetPosition, Volume };

// Told of every play (value = flags), stop (value = position it stopped at), position set
// (value = position) and volume set (value = hundredths of a decibel) that succeeds.
using SoundObserver = void (*)(SoundEventKind kind, const SoundBuffer* buffer, int32_t value);
void set_sound_observer(SoundObserver observer);

// Releases every sound device and buffer and starts the output stream afresh, as at process
// start (the observer stays).
void reset_audio();

}  // namespace platform::common
