// Time: the millisecond tick count, sleeping and the system time's millisecond field.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since some start; 32 bits, wraps around.
uint32_t tick_count();

// Blocks for at least ms milliseconds.
void sleep_ms(uint32_t ms);

// The millisecond field (0..999) of the current system time.
uint16_t system_time_millis();

}  // namespace platform
