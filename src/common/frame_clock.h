// Millisecond clock used to pace the screen transitions.
#pragma once
#include <cstdint>

extern uint32_t clock_start;

// The tick count now.
uint32_t Get_Clock();
// Notes the tick count as the start of a wait and returns it.
uint32_t Start_Clock();
// Spins until ms milliseconds have passed since Start_Clock; survives the tick count wrapping.
void Wait_Clock(uint32_t ms);
