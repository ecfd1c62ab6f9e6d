// The VOC loader and the sound slots, on test files written here: a 26-byte header and one
// sound-data block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/main_window.h"
#include "sound/sound_slots.h"
#include "support/headless_fixture.h"
#include "support/voc_sound_state.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;
using Bytes = std::vector<uint8_t>;

constexpr size_t VOC_HEADER_SIZE_OFFSET = 20;  // 16-bit header size, 26
constexpr size_t VOC_LENGTH_OFFSET = 27;       // 24-bit block length: samples + 2
constexpr size_t VOC_SAMPLES_OFFSET = 32;      // after time constant and pack byte

// count samples of an audible 8-bit pattern around the middle, 128.
Bytes Samples(size_t count) {
    Bytes samples(count);
    for (size_t index = 0; index < count; index++) {
        samples[index] = uint8_t(96 + index % 64);
    }
    return samples;
}

// Header size 26, version 0x010A, check word 0x1129, one type-1 block (length = samples + 2,
// time constant, pack 0, samples) and the terminator 0.
Bytes Voc(const Bytes& samples, uint8_t time_constant = 165) {
    const uint32_t length = uint32_t(samples.size()) + 2;
    const std::string signature = "Creative Voice File\x1A";
    Bytes bytes(signature.begin(), signature.end());
    for (uint8_t byte : {26, 0, 0x0A, 0x01, 0x29, 0x11, 1}) {
        bytes.push_back(byte);
    }
    for (uint32_t byte : {length, length >> 8, length >> 16, uint32_t(time_constant), 0u}) {
        bytes.push_back(uint8_t(byte));
    }
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    bytes.push_back(0);
    return bytes;
}

// The bytes a sound buffer holds; the lock refuses more than the buffer holds, so halving steps
// find its length.
Bytes Buffer_Bytes(platform::SoundBuffer* buffer) {
    void* region = nullptr;
    uint32_t got = 0, size = 0;
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
    Bytes bytes(first, first + got);
    platform::buffer_unlock(buffer, region, got, nullptr, 0);
    return bytes;
}

// A fresh platform with a window, an empty data directory and the sound globals of a fresh
// process, and Sound_Init done.
class VocLoaderTest : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        voc_reset_sound_state();
        std::filesystem::create_directories(dir);
        headless::set_data_dirs({dir});
        main_window = test_support::create_test_window();
        ASSERT_EQ(Sound_Init(), 1);
    }
    // The platform's reset releases the device and every buffer.
    void TearDown() override {
        main_window = nullptr;
        std::filesystem::remove_all(dir);
        HeadlessTest::TearDown();
    }
    int Load(const Bytes& bytes) {
        std::ofstream(dir + "/T.VOC", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Load_VOC_File("T.VOC");
    }
    // A standard file of `samples` samples whose block length field says length.
    static Bytes With_Length(size_t samples, uint32_t length) {
        Bytes bytes = Voc(Samples(samples));
        for (size_t i = 0; i < 3; ++i) {
            bytes[VOC_LENGTH_OFFSET + i] = uint8_t(length >> (8 * i));
        }
        return bytes;
    }
    static Bytes Slot_Bytes(int id) { return Buffer_Bytes(sound_slots[id].buffer); }
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("cellstorm-voc-" + std::to_string(getpid())))
            .string();
};

TEST_F(VocLoaderTest, StandardFileFillsABufferPlayedAt11025) {
    const Bytes samples = Samples(11025);
    ASSERT_EQ(Load(Voc(samples, 165)), 0);
    EXPECT_EQ(sound_slots[0].rate, 10989);
    EXPECT_EQ(sound_slots[0].length, 11027);
    EXPECT_EQ(Slot_Bytes(0), samples);

    // The header size's high byte is not part of the offset.
    Bytes odd = Voc(samples, 0);
    odd[VOC_HEADER_SIZE_OFFSET + 1] = 0x7F;
    ASSERT_EQ(Load(odd), 1);
    EXPECT_EQ(sound_slots[1].rate, 3906);
    EXPECT_EQ(Slot_Bytes(1), samples);

    // Whatever the time constant says, 11,025 samples last one second.
    platform::SoundBuffer* buffer = sound_slots[1].buffer;
    ASSERT_EQ(platform::buffer_play(buffer, 0, 0, 0), platform::OK);
    uint32_t status = 0;
    headless::advance(990);
    platform::buffer_get_status(buffer, &status);
    EXPECT_EQ(status, platform::DSBSTATUS_PLAYING);
    headless::advance(20);
    platform::buffer_get_status(buffer, &status);
    EXPECT_EQ(status, 0u);
}

TEST_F(VocLoaderTest, BadFilesAreRefusedWithoutClaimingASlot) {
    Bytes past_end = Voc(Samples(10));
    past_end[VOC_HEADER_SIZE_OFFSET] = uint8_t(past_end.size() - 5);
    Bytes short_header = Voc(Samples(10));
    short_header.resize(25);
    Bytes no_block = Voc({});
    no_block.resize(VOC_SAMPLES_OFFSET - 1);

    // Not a VOC file, or a first block that is not unpacked 8-bit samples (what a 16-bit or
    // compressed file holds): it would play as noise.
    auto changed = [](size_t offset, uint8_t value) {
        Bytes bytes = Voc(Samples(10));
        bytes[offset] = value;
        return bytes;
    };
    const std::vector<Bytes> not_8bit_voc = {changed(0, 'c'), changed(19, 0),
                                             changed(VOC_LENGTH_OFFSET - 1, 9),
                                             changed(VOC_SAMPLES_OFFSET - 1, 1)};

    EXPECT_EQ(Load_VOC_File("MISSING.VOC"), -1);
    for (const auto& bytes :
         {past_end, short_header, no_block, Bytes(), With_Length(10, 0), With_Length(10, 1),
          With_Length(10, 2), not_8bit_voc[0], not_8bit_voc[1], not_8bit_voc[2], not_8bit_voc[3]}) {
        EXPECT_EQ(Load(bytes), -1) << "of " << bytes.size() << " bytes";
    }
    EXPECT_EQ(sound_slots[0].in_use, 0);
    ASSERT_EQ(Load(With_Length(10, 3)), 0);
    EXPECT_EQ(Slot_Bytes(0), Samples(1));
}

TEST_F(VocLoaderTest, BlockRunningPastTheEndIsCutAtTheEnd) {
    // The length claims 1000 samples; 100 and the terminator byte are there.
    ASSERT_EQ(Load(With_Length(100, 1002)), 0);
    EXPECT_EQ(sound_slots[0].length, 1002);
    EXPECT_EQ(Slot_Bytes(0).size(), 101u);

    // 640,001 bytes: only the first 640,000 are read.
    Bytes samples = Samples(640001 - VOC_SAMPLES_OFFSET);
    Bytes big = Voc(samples);
    big.pop_back();
    ASSERT_EQ(Load(big), 1);
    samples.pop_back();
    EXPECT_EQ(Slot_Bytes(1), samples);
}

TEST_F(VocLoaderTest, SlotsFillInOrderAndFailedLoadsKeepTheirClaim) {
    const Bytes file = Voc(Samples(50));
    ASSERT_EQ(Load(file), 0);
    for (Step step : {Step::SoundCreateBuffer, Step::SoundBufferLock, Step::SoundBufferUnlock}) {
        headless::fail(step, 1);
        EXPECT_EQ(Load(file), -1) << int(step);
    }
    EXPECT_EQ(sound_slots[1].buffer, nullptr);
    EXPECT_EQ(sound_slots[3].in_use, 1);
    for (int id = 4; id < SOUND_SLOT_COUNT; id++) {
        EXPECT_EQ(Load(file), id);
    }
    EXPECT_EQ(Load(file), -1);
}

TEST_F(VocLoaderTest, SecondInitStopsAndFreesEverySlotAndKeepsTheDevice) {
    platform::SoundDevice* device = ds_object;
    const Bytes file = Voc(Samples(5000));
    for (int id = 0; id < 3; id++) {
        ASSERT_EQ(Load(file), id);
    }
    platform::SoundBuffer* playing = sound_slots[2].buffer;
    platform::buffer_play(playing, 0, 0, platform::DSBPLAY_LOOPING);

    EXPECT_EQ(Sound_Init(), 1);
    EXPECT_EQ(ds_object, device);
    EXPECT_EQ(headless::step_calls(Step::SoundCreate), 1u);
    for (int id = 0; id < SOUND_SLOT_COUNT; id++) {
        EXPECT_EQ(sound_slots[id].buffer, nullptr);
        EXPECT_EQ(sound_slots[id].in_use, 0);
    }
    ASSERT_FALSE(headless::sound_events().empty());
    EXPECT_EQ(headless::sound_events().back().kind, headless::SoundEvent::Kind::Stop);
    EXPECT_EQ(headless::sound_events().back().buffer, playing);
    EXPECT_EQ(Load(file), 0);
}

}  // namespace
