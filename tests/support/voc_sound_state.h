// Sound globals back to a fresh process.
#pragma once

// Forgets the device and every slot (sound_first_init 1, slots zero, ids 0, volumes 100). Call
// right after platform::headless::reset(), which has already dropped the device and buffers.
void voc_reset_sound_state();
