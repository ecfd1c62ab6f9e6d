#include "support/voc_sound_state.h"

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

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
    std::vector<uint8_t> bytes;
    void* region1 = nullptr;
    void* region2 = nullptr;
    uint32_t size1 = 0;
    uint32_t size2 = 0;
    // The lock refuses more than the buffer holds, so halving steps find its length.
    uint32_t size = 0;
    for (uint32_t step = 1u << 27; step > 0; step /= 2) {
        if (platform::buffer_lock(buffer, 0, size + step, &region1, &size1, &region2, &size2, 0) ==
            platform::OK) {
            size += step;
            platform::buffer_unlock(buffer, region1, size1, region2, size2);
        }
    }
    if (size > 0 && platform::buffer_lock(buffer, 0, size, &region1, &size1, &region2, &size2, 0) ==
                        platform::OK) {
        const uint8_t* first = static_cast<const uint8_t*>(region1);
        bytes.assign(first, first + size1);
        platform::buffer_unlock(buffer, region1, size1, region2, size2);
    }
    return bytes;
}

std::string voc_make_scratch_dir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/cellstorm-voc-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    return pattern;
}

void voc_remove_scratch_dir(const std::string& dir) {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
