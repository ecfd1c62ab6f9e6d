#include "support/voc_sound_state.h"

#include <cstring>
#include <initializer_list>

#include "sound/sound.h"
#include "sound/sound_slots.h"

void voc_reset_sound_state() {
    ds_object = nullptr;
    sound_first_init = 1;
    std::memset(sound_slots, 0, sizeof(sound_slots));
    for (int* id : {&sound_menu_up, &sound_menu_down, &sound_menu_select, &sound_intro, &sound_line,
                    &sound_lock, &sound_next_level, &sound_loser, &sound_song, &sound_voice,
                    &sound_trail, &sound_splash}) {
        *id = 0;
    }
    music_volume = 100;
    effects_volume = 100;
}
