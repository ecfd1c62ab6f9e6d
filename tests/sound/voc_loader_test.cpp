// The VOC loader and the sound slots, on test files written here: a 26-byte header and one
// sound-data block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/main_window.h"
#include "platform/common/mixer.h"
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

// Header size 26, version 0x010A, check word 0x1129, one type-1 block (length = samples + 2
// unless given, time constant, pack 0, samples) and the terminator 0.
Bytes Voc(const Bytes& samples, uint8_t time_constant = 165, uint32_t length = 0) {
    length = length ? length : uint32_t(samples.size()) + 2;
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

// A fresh platform with a window, the data directory the temporary one, the sound globals of a
// fresh process, and Sound_Init done. The platform's reset releases the device and every buffer.
class VocLoaderTest : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        voc_reset_sound_state();
        headless::set_data_dirs({::testing::TempDir()});
        main_window = test_support::create_test_window();
        ASSERT_EQ(Sound_Init(), 1);
    }
    void TearDown() override {
        main_window = nullptr;
        std::remove((::testing::TempDir() + name).c_str());
        HeadlessTest::TearDown();
    }
    int Load(const Bytes& bytes) {
        std::ofstream(::testing::TempDir() + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Load_VOC_File(name.c_str());
    }
    const std::string name = "cellstorm-" + std::to_string(getpid()) + ".VOC";
};

TEST_F(VocLoaderTest, GoodFilesFillABufferPlayedAt11025AndBadOnesClaimNoSlot) {
    const Bytes samples = Samples(11025);
    Bytes odd = Voc(samples, 0);
    odd[VOC_HEADER_SIZE_OFFSET + 1] = 0x7F;  // the header size's high byte is not read
    // 640,001 bytes: only the first 640,000 are read.
    Bytes big = Voc(Samples(640001 - VOC_SAMPLES_OFFSET));
    big.pop_back();
    Bytes cut = Samples(100);  // a length past the end: what is there, terminator and all
    cut.push_back(0);
    const struct {
        Bytes file;
        int rate, length;
        Bytes held;
    } good[] = {
        {Voc(samples, 165), 10989, 11027, samples},
        {odd, 3906, 11027, samples},
        {Voc(Samples(100), 165, 1002), 10989, 1002, cut},
        {Voc(Samples(10), 165, 3), 10989, 3, Samples(1)},
        {big, 10989, 640001 - VOC_SAMPLES_OFFSET + 2, Samples(640000 - VOC_SAMPLES_OFFSET)},
    };
    for (int id = 0; id < int(std::size(good)); id++) {
        ASSERT_EQ(Load(good[id].file), id);
        EXPECT_EQ(sound_slots[id].rate, good[id].rate) << id;
        EXPECT_EQ(sound_slots[id].length, good[id].length) << id;
        EXPECT_EQ(sound_slots[id].buffer->samples, good[id].held) << id;
        EXPECT_EQ(sound_slots[id].buffer->rate, 11025u) << id;
    }

    // A header size past the end, a short header, no block, nothing; lengths 0..2; not a VOC
    // file, or a first block that is not unpacked 8-bit samples (what a 16-bit or compressed
    // file holds): it would play as noise.
    auto bad = [](size_t offset, uint8_t value, size_t size = 10 + VOC_SAMPLES_OFFSET + 1) {
        Bytes bytes = Voc(Samples(10));
        bytes[offset] = value;
        bytes.resize(size);
        return bytes;
    };
    EXPECT_EQ(Load_VOC_File("MISSING.VOC"), -1);
    for (const auto& bytes :
         {bad(VOC_HEADER_SIZE_OFFSET, 38), bad(0, 'C', 25), bad(0, 'C', VOC_SAMPLES_OFFSET - 1),
          bad(0, 'C', 0), bad(VOC_LENGTH_OFFSET, 0), bad(VOC_LENGTH_OFFSET, 1),
          bad(VOC_LENGTH_OFFSET, 2), bad(0, 'c'), bad(19, 0), bad(VOC_LENGTH_OFFSET - 1, 9),
          bad(VOC_SAMPLES_OFFSET - 1, 1)}) {
        EXPECT_EQ(Load(bytes), -1) << "of " << bytes.size() << " bytes";
    }
    EXPECT_EQ(sound_slots[std::size(good)].in_use, 0);
}

// Failed loads keep their claim; a second Sound_Init stops and frees every slot and keeps the
// device.
TEST_F(VocLoaderTest, SlotsFillInOrderUntilASecondInitFreesThem) {
    platform::SoundDevice* device = ds_object;
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

    platform::SoundBuffer* playing = sound_slots[SOUND_SLOT_COUNT - 1].buffer;
    platform::buffer_play(playing, 0, 0, platform::DSBPLAY_LOOPING);
    EXPECT_EQ(Sound_Init(), 1);
    EXPECT_EQ(ds_object, device);
    EXPECT_EQ(headless::step_calls(Step::SoundCreate), 1u);
    for (int id = 0; id < SOUND_SLOT_COUNT; id++) {
        EXPECT_EQ(sound_slots[id].buffer, nullptr);
        EXPECT_EQ(sound_slots[id].in_use, 0);
    }
    EXPECT_TRUE(platform::common::live_buffers().empty());
    ASSERT_FALSE(headless::sound_events().empty());
    EXPECT_EQ(headless::sound_events().back().kind, headless::SoundEvent::Kind::Stop);
    EXPECT_EQ(headless::sound_events().back().buffer, playing);
    EXPECT_EQ(Load(file), 0);
}

}  // namespace
