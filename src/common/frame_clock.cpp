#include "common/frame_clock.h"

#include "platform/clock.h"

uint32_t clock_start = 0;

uint32_t Get_Clock() {
    return platform::tick_count();
}

uint32_t Start_Clock() {
    clock_start = Get_Clock();
    return clock_start;
}

void Wait_Clock(uint32_t ms) {
    // Unsigned difference, so a wrap of the tick count between start and now still measures right.
    while (Get_Clock() - clock_start < ms) {
    }
}
