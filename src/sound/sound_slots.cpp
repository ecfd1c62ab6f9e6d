#include "sound/sound_slots.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "common/main_window.h"
#include "platform/diagnostics.h"
#include "platform/files.h"

platform::SoundDevice* ds_object = nullptr;
int sound_first_init = 1;
SoundSlot sound_slots[SOUND_SLOT_COUNT];

namespace {

// The most of a sound file that is read; a longer file is cut here.
constexpr size_t VOC_READ_LIMIT = 640000;
// Signature, header size, version and check word come before the first block.
constexpr size_t VOC_HEADER_BYTES = 26;
// Type, three length bytes, time constant and pack byte.
constexpr size_t VOC_BLOCK_HEADER_BYTES = 6;
// The block length counts the time constant and pack bytes as well as the samples.
constexpr uint32_t VOC_LENGTH_OVERHEAD = 2;
constexpr uint32_t PLAYBACK_RATE = 11025;

struct VocSamples {
    const uint8_t* samples;
    uint32_t count;
    int32_t rate;
    int32_t length;
};

// The 19-byte text every VOC file opens with, and the byte that ends it.
constexpr char VOC_SIGNATURE[] = "Creative Voice File\x1A";
constexpr size_t VOC_SIGNATURE_BYTES = sizeof VOC_SIGNATURE - 1;
constexpr uint8_t VOC_BLOCK_SOUND_DATA = 1;
constexpr uint8_t VOC_PACK_8BIT = 0;

// Finds the first block's samples inside the bytes read. False when the file is too short for
// its header and first block, is not a VOC file, its first block is not 8-bit sound data, or
// the block holds no samples; a block that runs past the end is cut at the end.
bool Parse_VOC(const uint8_t* data, size_t size, VocSamples* out) {
    if (size < VOC_HEADER_BYTES || std::memcmp(data, VOC_SIGNATURE, VOC_SIGNATURE_BYTES) != 0) {
        return false;
    }
    // Only the low byte of the header-size field is taken as the block offset.
    size_t block = data[20];
    if (block + VOC_BLOCK_HEADER_BYTES > size) {
        return false;
    }
    // Anything else (packed samples, extended or 16-bit blocks) would play as noise.
    if (data[block] != VOC_BLOCK_SOUND_DATA || data[block + 5] != VOC_PACK_8BIT) {
        return false;
    }
    uint32_t length = uint32_t(data[block + 1]) | (uint32_t(data[block + 2]) << 8) |
                      (uint32_t(data[block + 3]) << 16);
    if (length <= VOC_LENGTH_OVERHEAD) {
        return false;
    }
    uint8_t time_constant = data[block + 4];

    size_t available = size - block - VOC_BLOCK_HEADER_BYTES;
    size_t count = length - VOC_LENGTH_OVERHEAD;
    if (count > available) {
        count = available;
    }
    if (count == 0) {
        return false;
    }

    out->samples = data + block + VOC_BLOCK_HEADER_BYTES;
    out->count = uint32_t(count);
    out->rate = int32_t(1000000 / (256 - int32_t(time_constant)));
    out->length = int32_t(length);
    return true;
}

// Reads at most VOC_READ_LIMIT bytes of the file into data; the count read, or -1 when the
// file cannot be opened.
long Read_Sound_File(const char* filename, uint8_t* data) {
    std::FILE* file = platform::open_data_file(filename, "rb");
    if (file == nullptr) {
        platform::report_data_file(filename, "cannot be opened");
        return -1;
    }
    size_t read = std::fread(data, 1, VOC_READ_LIMIT, file);
    std::fclose(file);
    return long(read);
}

void Release_Slot_Buffer(SoundSlot* slot) {
    if (slot->buffer != nullptr) {
        platform::buffer_stop(slot->buffer);
        platform::buffer_release(slot->buffer);
        slot->buffer = nullptr;
    }
}

}  // namespace

int Sound_Init() {
    if (sound_first_init == 1) {
        std::memset(sound_slots, 0, sizeof(sound_slots));
        sound_first_init = 0;
        if (platform::sound_create(&ds_object) != platform::OK) {
            ds_object = nullptr;
            return 0;
        }
        // Without its cooperative level the device is not used at all, so no load can
        // half-succeed on it.
        if (platform::sound_set_cooperative_level(ds_object, main_window, platform::DSSCL_NORMAL) !=
            platform::OK) {
            platform::sound_release(ds_object);
            ds_object = nullptr;
            return 0;
        }
    }

    for (int index = 0; index < SOUND_SLOT_COUNT; index++) {
        Release_Slot_Buffer(&sound_slots[index]);
        sound_slots[index] = SoundSlot{};
        sound_slots[index].id = index;
    }
    return 1;
}

int Load_VOC_File(const char* filename) {
    int index = 0;
    while (index < SOUND_SLOT_COUNT && sound_slots[index].in_use != 0) {
        index++;
    }
    if (index == SOUND_SLOT_COUNT || ds_object == nullptr) {
        return -1;
    }
    SoundSlot* slot = &sound_slots[index];

    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[VOC_READ_LIMIT]);
    if (!data) {
        return -1;
    }
    long size = Read_Sound_File(filename, data.get());
    VocSamples voc;
    if (size < 0) {
        return -1;
    }
    if (!Parse_VOC(data.get(), size_t(size), &voc)) {
        platform::report_data_file(filename, "is refused: damaged, or not an 8-bit VOC");
        return -1;
    }

    slot->rate = voc.rate;
    slot->length = voc.length;
    slot->in_use = 1;

    // The file's own rate is recorded but not used: every sound plays at 11,025 Hz.
    platform::WaveFormat format{};
    format.wFormatTag = platform::WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = PLAYBACK_RATE;
    format.nBlockAlign = 1;
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    format.wBitsPerSample = 8;
    format.cbSize = 0;

    platform::SoundBufferDesc desc{};
    desc.dwSize = 20;
    desc.dwFlags = platform::DSBCAPS_STATIC | platform::DSBCAPS_LOCSOFTWARE |
                   platform::DSBCAPS_CTRLFREQUENCY | platform::DSBCAPS_CTRLPAN |
                   platform::DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = voc.count;
    desc.dwReserved = 0;
    desc.lpwfxFormat = &format;

    if (platform::sound_create_buffer(ds_object, desc, &slot->buffer) != platform::OK) {
        slot->buffer = nullptr;
        return -1;
    }

    void* region1 = nullptr;
    void* region2 = nullptr;
    uint32_t size1 = 0;
    uint32_t size2 = 0;
    if (platform::buffer_lock(slot->buffer, 0, voc.count, &region1, &size1, &region2, &size2,
                              platform::DSBLOCK_FROMWRITECURSOR) != platform::OK) {
        return -1;
    }
    // Never copy more than the samples there are, whatever regions the lock hands out.
    uint32_t copy1 = size1 < voc.count ? size1 : voc.count;
    uint32_t copy2 = size2 < voc.count - copy1 ? size2 : voc.count - copy1;
    if (region1 != nullptr && copy1 > 0) {
        std::memcpy(region1, voc.samples, copy1);
    }
    if (region2 != nullptr && copy2 > 0) {
        std::memcpy(region2, voc.samples + copy1, copy2);
    }
    if (platform::buffer_unlock(slot->buffer, region1, size1, region2, size2) != platform::OK) {
        return -1;
    }
    return index;
}

int Sound_Shutdown() {
    for (int index = 0; index < SOUND_SLOT_COUNT; index++) {
        if (sound_slots[index].buffer != nullptr) {
            platform::buffer_stop(sound_slots[index].buffer);
            platform::buffer_set_current_position(sound_slots[index].buffer, 0);
        }
    }
    for (int index = 0; index < SOUND_SLOT_COUNT; index++) {
        if (sound_slots[index].buffer != nullptr) {
            platform::buffer_release(sound_slots[index].buffer);
            sound_slots[index].buffer = nullptr;
        }
    }
    if (ds_object != nullptr) {
        platform::sound_release(ds_object);
        ds_object = nullptr;
    }
    return 1;
}
