#include "sound/sound.h"

#include "platform/audio.h"
#include "sound/sound_slots.h"

int sound_menu_up = 0;
int sound_menu_down = 0;
int sound_menu_select = 0;
int sound_intro = 0;
int sound_line = 0;
int sound_lock = 0;
int sound_next_level = 0;
int sound_loser = 0;
int sound_song = 0;
int sound_voice = 0;
int sound_trail = 0;
int sound_splash = 0;

int music_volume = 100;
int effects_volume = 100;

namespace {

struct CatalogueEntry {
    int* id;
    const char* filename;
};

// Load order: with every file present the slots are 0 to 11 in this order.
const CatalogueEntry sound_catalogue[] = {
    {&sound_menu_up, "XSMNUUP.VOC"},      {&sound_menu_down, "XSMNUDWN.VOC"},
    {&sound_menu_select, "XSMNUSEL.VOC"}, {&sound_intro, "XSINTRO.VOC"},
    {&sound_line, "XSLINE.VOC"},          {&sound_lock, "XSLOCK.VOC"},
    {&sound_next_level, "XSNEXTL.VOC"},   {&sound_loser, "XSLOSER.VOC"},
    {&sound_song, "XSSONG1.VOC"},         {&sound_voice, "XSVOICE1.VOC"},
    {&sound_trail, "CSTRAIL.VOC"},        {&sound_splash, "CSSPL.VOC"},
};

// The order the levels are applied in.
int* const effects_group[] = {&sound_menu_up, &sound_menu_down,  &sound_menu_select, &sound_line,
                              &sound_lock,    &sound_next_level, &sound_loser};

int* const music_group[] = {&sound_intro, &sound_song, &sound_voice};

// The buffer behind an id; null for an id outside the table or a slot without one.
platform::SoundBuffer* Sound_Buffer(int id) {
    if (id < 0 || id >= SOUND_SLOT_COUNT) {
        return nullptr;
    }
    return sound_slots[id].buffer;
}

// 100 % is the buffer's full level; every 5 % less is 1.5 dB quieter, so 0 % is -30 dB.
// KEPT: 0 % is quiet but not silent; the setting has always been a level, never a mute.
int32_t Volume_Attenuation(int percent) {
    return -(100 - percent) * 30;
}

void Set_Group_Volume(int* const* group, int count, int percent) {
    for (int index = 0; index < count; index++) {
        platform::SoundBuffer* buffer = Sound_Buffer(*group[index]);
        if (buffer != nullptr) {
            platform::buffer_set_volume(buffer, Volume_Attenuation(percent));
        }
    }
}

}  // namespace

int Load_Game_Sounds() {
    Sound_Init();

    // A sound that fails keeps -1 as its id and stays silent; the others still load.
    int result = 1;
    for (const CatalogueEntry& entry : sound_catalogue) {
        *entry.id = Load_VOC_File(entry.filename);
        if (*entry.id == -1) {
            result = -1;
        }
    }
    return result;
}

int Release_Game_Sounds() {
    Sound_Shutdown();
    return 1;
}

int Play_Sound(int id, int, int, int, int flags) {
    platform::SoundBuffer* buffer = Sound_Buffer(id);
    if (buffer == nullptr) {
        return 1;
    }
    // One buffer per sound: playing it again cuts it off and starts it from the beginning.
    if (platform::buffer_set_current_position(buffer, 0) != platform::OK) {
        return 0;
    }
    if (platform::buffer_play(buffer, 0, 0, uint32_t(flags)) != platform::OK) {
        return 0;
    }
    return 1;
}

int Stop_Sound(int id) {
    platform::SoundBuffer* buffer = Sound_Buffer(id);
    if (buffer != nullptr) {
        platform::buffer_stop(buffer);
        platform::buffer_set_current_position(buffer, 0);
    }
    return 1;
}

int Stop_All_Sounds() {
    for (int id = 0; id < SOUND_SLOT_COUNT; id++) {
        Stop_Sound(id);
    }
    return 1;
}

int Get_Sound_Status(int id) {
    platform::SoundBuffer* buffer = Sound_Buffer(id);
    if (buffer == nullptr) {
        return -1;
    }
    uint32_t status = 0;
    platform::buffer_get_status(buffer, &status);
    return int(status);
}

int Set_Effects_Volume() {
    Set_Group_Volume(effects_group, int(sizeof(effects_group) / sizeof(effects_group[0])),
                     effects_volume);
    return 1;
}

int Set_Music_Volume() {
    Set_Group_Volume(music_group, int(sizeof(music_group) / sizeof(music_group[0])), music_volume);
    return 1;
}
