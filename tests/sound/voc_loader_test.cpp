#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound/sound_slots.h"
#include "sound_fixture.h"
#include "support/voc_file.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;

class VocLoaderTest : public SoundTest {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_EQ(Sound_Init(), 1);
    }
    int Load(const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(write_bmp_bytes(dir + "/T.VOC", bytes));
        return Load_VOC_File("T.VOC");
    }
    // A standard file of `samples` samples whose block length field says length.
    static std::vector<uint8_t> With_Length(size_t samples, uint32_t length) {
        std::vector<uint8_t> bytes = make_voc_bytes(make_voc_samples(samples));
        for (size_t i = 0; i < 3; ++i) {
            bytes[VOC_TEST_LENGTH_OFFSET + i] = uint8_t(length >> (8 * i));
        }
        return bytes;
    }
    static std::vector<uint8_t> Slot_Bytes(int id) {
        return voc_buffer_bytes(sound_slots[id].buffer);
    }
};

TEST_F(VocLoaderTest, StandardFileFillsABufferPlayedAt11025) {
    const std::vector<uint8_t> samples = make_voc_samples(11025);
    ASSERT_EQ(Load(make_voc_bytes(samples, 165)), 0);
    EXPECT_EQ(sound_slots[0].rate, 10989);
    EXPECT_EQ(sound_slots[0].length, 11027);
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
    std::vector<uint8_t> past_end = make_voc_bytes(make_voc_samples(10));
    past_end[VOC_TEST_HEADER_SIZE_OFFSET] = uint8_t(past_end.size() - 5);
    std::vector<uint8_t> short_header = make_voc_bytes(make_voc_samples(10));
    short_header.resize(25);
    std::vector<uint8_t> no_block = make_voc_bytes({});
    no_block.resize(VOC_TEST_SAMPLES_OFFSET - 1);

    // Not a VOC file, or a first block that is not unpacked 8-bit samples (what a 16-bit or
    // compressed file holds): it would play as noise.
    auto changed = [](size_t offset, uint8_t value) {
        std::vector<uint8_t> bytes = make_voc_bytes(make_voc_samples(10));
        bytes[offset] = value;
        return bytes;
    };
    const std::vector<std::vector<uint8_t>> not_8bit_voc = {
        changed(0, 'c'), changed(19, 0), changed(VOC_TEST_LENGTH_OFFSET - 1, 9),
        changed(VOC_TEST_SAMPLES_OFFSET - 1, 1)};

    EXPECT_EQ(Load_VOC_File("MISSING.VOC"), -1);
    for (const auto& bytes : {past_end, short_header, no_block, std::vector<uint8_t>(),
                              With_Length(10, 0), With_Length(10, 1), With_Length(10, 2),
                              not_8bit_voc[0], not_8bit_voc[1], not_8bit_voc[2], not_8bit_voc[3]}) {
        EXPECT_EQ(Load(bytes), -1) << "of " << bytes.size() << " bytes";
    }
    EXPECT_EQ(sound_slots[0].in_use, 0);
    ASSERT_EQ(Load(With_Length(10, 3)), 0);
    EXPECT_EQ(Slot_Bytes(0), make_voc_samples(1));
}

TEST_F(VocLoaderTest, BlockRunningPastTheEndIsCutAtTheEnd) {
    // The length claims 1000 samples; 100 and the terminator byte are there.
    ASSERT_EQ(Load(With_Length(100, 1002)), 0);
    EXPECT_EQ(sound_slots[0].length, 1002);
    EXPECT_EQ(Slot_Bytes(0).size(), 101u);

    // 640,001 bytes: only the first 640,000 are read.
    std::vector<uint8_t> samples = make_voc_samples(640001 - VOC_TEST_SAMPLES_OFFSET);
    std::vector<uint8_t> big = make_voc_bytes(samples);
    big.pop_back();
    ASSERT_EQ(Load(big), 1);
    samples.pop_back();
    EXPECT_EQ(Slot_Bytes(1), samples);
}

TEST_F(VocLoaderTest, SlotsFillInOrderAndFailedLoadsKeepTheirClaim) {
    const std::vector<uint8_t> file = make_voc_bytes(make_voc_samples(50));
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
    const std::vector<uint8_t> file = make_voc_bytes(make_voc_samples(5000));
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
