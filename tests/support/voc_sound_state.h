// Forgets the sound device and every slot as a fresh process would (sound_first_init 1, slots
// zero, ids 0, volumes 100). Call right after platform::headless::reset(), which drops the device.
#pragma once

void voc_reset_sound_state();
