#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/headless/control.h"
#include "sound/sound_slots.h"
#include "support/headless_fixture.h"
#include "support/voc_file.h"
#include "support/voc_sound_state.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;

class VocLoaderTest : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        voc_reset_sound_state();
        dir = voc_make_scratch_dir();
        headless::set_data_dirs({dir});
        main_window = test_support::create_test_window();
    }
    void TearDown() override {
        Sound_Shutdown();
        main_window = nullptr;
        voc_remove_scratch_dir(dir);
        HeadlessTest::TearDown();
    }

    // Writes bytes as name and loads it.
    int Load(const std::vector<uint8_t>& bytes, const char* name = "T.VOC") {
        EXPECT_TRUE(write_voc_bytes(dir + "/" + name, bytes));
        return Load_VOC_File(name);
    }

    // A standard file whose block length field says length.
    static std::vector<uint8_t> With_Length(size_t samples, uint32_t length) {
        std::vector<uint8_t> bytes = make_voc_bytes(make_voc_samples(samples));
        bytes[VOC_TEST_LENGTH_OFFSET] = uint8_t(length);
        bytes[VOC_TEST_LENGTH_OFFSET + 1] = uint8_t(length >> 8);
        bytes[VOC_TEST_LENGTH_OFFSET + 2] = uint8_t(length >> 16);
        return bytes;
    }

    static std::vector<uint8_t> Slot_Bytes(int id) {
        return voc_buffer_bytes(sound_slots[id].buffer);
    }

    std::string dir;
};

TEST_F(VocLoaderTest, StandardFileFillsABufferPlayedAt11025) {
    ASSERT_EQ(Sound_Init(), 1);
    std::vector<uint8_t> samples = make_voc_samples(11025);
    ASSERT_EQ(Load(make_voc_bytes(samples, 165)), 0);
    EXPECT_EQ(sound_slots[0].rate, 10989);
    EXPECT_EQ(sound_slots[0].length, 11027);
    EXPECT_EQ(sound_slots[0].in_use, 1);
    EXPECT_EQ(Slot_Bytes(0), samples);

    // The header size's high byte is not part of the offset.
    std::vector<uint8_t> odd = make_voc_bytes(samples, 0);
    odd[VOC_TEST_HEADER_SIZE_OFFSET + 1] = 0x7F;
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
    ASSERT_EQ(Sound_Init(), 1);
    std::vector<uint8_t> past_end = make_voc_bytes(make_voc_samples(10));
    past_end[VOC_TEST_HEADER_SIZE_OFFSET] = uint8_t(past_end.size() - 5);
    std::vector<uint8_t> short_header = make_voc_bytes(make_voc_samples(10));
    short_header.resize(25);
    std::vector<uint8_t> no_block = make_voc_bytes({});
    no_block.resize(VOC_TEST_SAMPLES_OFFSET - 1);

    EXPECT_EQ(Load_VOC_File("MISSING.VOC"), -1);
    EXPECT_EQ(Load(past_end), -1);
    EXPECT_EQ(Load(short_header), -1);
    EXPECT_EQ(Load(no_block), -1);
    EXPECT_EQ(Load({}), -1);
    for (uint32_t length : {0u, 1u, 2u}) {
        EXPECT_EQ(Load(With_Length(10, length)), -1) << "length " << length;
    }
    EXPECT_EQ(sound_slots[0].in_use, 0);

    ASSERT_EQ(Load(With_Length(10, 3)), 0);
    EXPECT_EQ(Slot_Bytes(0), make_voc_samples(1));
}

TEST_F(VocLoaderTest, BlockRunningPastTheEndIsCutAtTheEnd) {
    ASSERT_EQ(Sound_Init(), 1);
    // The length claims 1000 samples; 100 and the terminator byte are there.
    ASSERT_EQ(Load(With_Length(100, 1002)), 0);
    EXPECT_EQ(sound_slots[0].length, 1002);
    EXPECT_EQ(Slot_Bytes(0).size(), 101u);

    // 640,001 bytes: only the first 640,000 are read.
    std::vector<uint8_t> samples = make_voc_samples(640001 - VOC_TEST_SAMPLES_OFFSET);
    std::vector<uint8_t> big = make_voc_bytes(samples);
    big.pop_back();
    ASSERT_EQ(big.size(), 640001u);
    ASSERT_EQ(Load(big), 1);
    samples.pop_back();
    EXPECT_EQ(Slot_Bytes(1), samples);
}

TEST_F(VocLoaderTest, SlotsFillInOrderAndFailedLoadsKeepTheirClaim) {
    ASSERT_EQ(Sound_Init(), 1);
    std::vector<uint8_t> file = make_voc_bytes(make_voc_samples(50));
    ASSERT_EQ(Load(file), 0);

    headless::fail(Step::SoundCreateBuffer, 1);
    EXPECT_EQ(Load(file), -1);
    EXPECT_EQ(sound_slots[1].in_use, 1);
    EXPECT_EQ(sound_slots[1].buffer, nullptr);
    headless::fail(Step::SoundBufferLock, 1);
    EXPECT_EQ(Load(file), -1);
    headless::fail(Step::SoundBufferUnlock, 1);
    EXPECT_EQ(Load(file), -1);
    EXPECT_EQ(sound_slots[3].in_use, 1);

    for (int id = 4; id < SOUND_SLOT_COUNT; id++) {
        EXPECT_EQ(Load(file), id);
    }
    EXPECT_EQ(Load(file), -1);
}

TEST_F(VocLoaderTest, SecondInitFreesEverySlotAndKeepsTheDevice) {
    ASSERT_EQ(Sound_Init(), 1);
    platform::SoundDevice* device = ds_object;
    std::vector<uint8_t> file = make_voc_bytes(make_voc_samples(5000));
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
        EXPECT_EQ(sound_slots[id].id, id);
    }
    ASSERT_FALSE(headless::sound_events().empty());
    EXPECT_EQ(headless::sound_events().back().kind, headless::SoundEvent::Kind::Stop);
    EXPECT_EQ(headless::sound_events().back().buffer, playing);
    EXPECT_EQ(Load(file), 0);
}

TEST_F(VocLoaderTest, WithoutADeviceEveryLoadFails) {
    std::vector<uint8_t> file = make_voc_bytes(make_voc_samples(50));
    headless::fail(Step::SoundCreate, 1);
    EXPECT_EQ(Sound_Init(), 0);
    EXPECT_EQ(Load(file), -1);
    EXPECT_EQ(sound_slots[0].in_use, 0);
    // Not tried again.
    EXPECT_EQ(Sound_Init(), 1);
    EXPECT_EQ(headless::step_calls(Step::SoundCreate), 1u);
    EXPECT_EQ(Load(file), -1);

    TearDown();
    SetUp();
    headless::fail(Step::SoundCooperativeLevel, 1);
    EXPECT_EQ(Sound_Init(), 0);
    EXPECT_FALSE(headless::audio_device_open());
    EXPECT_EQ(Load(file), -1);
}

TEST_F(VocLoaderTest, ShutdownReleasesBuffersAndDevice) {
    ASSERT_EQ(Sound_Init(), 1);
    ASSERT_EQ(Load(make_voc_bytes(make_voc_samples(5000))), 0);
    platform::buffer_play(sound_slots[0].buffer, 0, 0, platform::DSBPLAY_LOOPING);
    EXPECT_EQ(Sound_Shutdown(), 1);
    EXPECT_EQ(sound_slots[0].buffer, nullptr);
    EXPECT_EQ(ds_object, nullptr);
    EXPECT_FALSE(headless::audio_device_open());
}

}  // namespace
