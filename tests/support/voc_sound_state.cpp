#include "support/voc_sound_state.h"

#include <cstring>
#include <filesystem>

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

std::vector<uint8_t> voc_buffer_bytes(platform::SoundBuffer* buffer) {
    void* region = nullptr;
    uint32_t got = 0;
    // The lock refuses more than the buffer holds, so halving steps find its length.
    uint32_t size = 0;
    for (uint32_t step = 1u << 27; step > 0; step /= 2) {
        if (platform::buffer_lock(buffer, 0, size + step, &region, &got, nullptr, nullptr, 0) ==
            platform::OK) {
            size += step;
            platform::buffer_unlock(buffer, region, got, nullptr, 0);
        }
    }
    if (size == 0 || platform::buffer_lock(buffer, 0, size, &region, &got, nullptr, nullptr, 0) !=
                         platform::OK) {
        return {};
    }
    const uint8_t* first = static_cast<const uint8_t*>(region);
    std::vector<uint8_t> bytes(first, first + got);
    platform::buffer_unlock(buffer, region, got, nullptr, 0);
    return bytes;
}

void voc_remove_scratch_dir(const std::string& dir) {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
