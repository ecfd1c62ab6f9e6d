// A hostile sound file, loaded into a slot and played through the mixer: once and looping, from
// positions the input picks, at volumes the input picks, mixed at two output rates.
#include <cstddef>
#include <cstdint>

#include "fuzz_files.h"
#include "platform/common/mixer.h"
#include "platform/headless/control.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int16_t out[4096];
    fuzz_data_dir();
    Sound_Init();  // frees every slot, so each input starts from an empty table
    fuzz_write_file("FZ.VOC", data, size);
    const int id = Load_VOC_File("FZ.VOC");
    if (id < 0) {
        return 0;
    }
    FuzzRandom random{fuzz_hash(data, size)};
    platform::SoundBuffer* buffer = sound_slots[id].buffer;
    for (int round = 0; round < 4; round++) {
        Play_Sound(id, 0, 0, 0, int(random.next() & 1));
        platform::buffer_set_volume(buffer, -int32_t(random.next() % 10001));
        platform::buffer_set_current_position(buffer, random.next() % 70000);
        platform::common::mix_s16(out, 1 + random.next() % 4096, round % 2 ? 11025 : 44100);
        platform::headless::advance(random.next() % 2000);
        Get_Sound_Status(id);
    }
    Stop_All_Sounds();
    return 0;
}
