// What the shared clock offers the rest of the platform code.
#pragma once
#include <cstdint>

namespace platform::common {

// Something waited (a sleep, an idle peek): the next tick-count read is not a spin.
void count_wait();

// The millisecond field of the machine's system time, for the backends that have one.
uint16_t system_clock_millis();

// Back to a fresh process (the headless backend's reset).
void reset_clock();

}  // namespace platform::common
