#include <gtest/gtest.h>

#include <vector>

#include "platform/audio.h"
#include "platform/common/mixer.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

class Mixer : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        device = test_support::create_test_sound_device(test_support::create_test_window());
        sound = test_support::create_test_sound(device, std::vector<uint8_t>(1103, 228));
        ASSERT_NE(sound, nullptr);  // 1,103 samples: just over 100 ms
    }

    uint32_t status() {
        uint32_t bits = 0xDEAD;
        EXPECT_EQ(buffer_get_status(sound, &bits), OK);
        return bits;
    }

    SoundDevice* device = nullptr;
    SoundBuffer* sound = nullptr;
};

TEST_F(Mixer, OneShotEndsAfterItsLengthLoopingKeepsPlayingStopKeepsThePlace) {
    ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
    headless::advance(100);
    EXPECT_EQ(status(), DSBSTATUS_PLAYING);  // the query lets 1 ms pass
    headless::advance(1);
    EXPECT_EQ(status(), 0u);
    EXPECT_EQ(common::position_samples(*sound), 0u) << "a finished sound is back at its start";
    ASSERT_EQ(buffer_play(sound, 0, 0, DSBPLAY_LOOPING), OK);
    headless::advance(60000);
    EXPECT_EQ(status(), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    ASSERT_EQ(buffer_set_current_position(sound, 0), OK);
    ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
    headless::advance(50);
    ASSERT_EQ(buffer_stop(sound), OK);
    headless::advance(1000);
    EXPECT_EQ(common::position_samples(*sound), 551u) << "50 ms in, and stopped there";
    ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
    headless::advance(51);
    EXPECT_EQ(status(), 0u) << "the rest lasts 50 ms, not the whole 100";
    ASSERT_EQ(buffer_set_current_position(sound, 0), OK);
    ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
    headless::advance(51);
    EXPECT_EQ(status(), DSBSTATUS_PLAYING) << "rewound: the whole sound again";
    EXPECT_NE(buffer_set_current_position(sound, 1103), OK) << "past the end";
}

TEST_F(Mixer, MixesAtAnyOutputRateAndClipsTheSum) {
    ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
    std::vector<int16_t> out(4800);
    common::mix_s16(out.data(), out.size(), 48000);  // 100 ms
    EXPECT_EQ(out[0], 100 * 256);                    // 228 is 100 above silence
    EXPECT_EQ(status(), DSBSTATUS_PLAYING);
    common::mix_s16(out.data(), 48, 48000);
    EXPECT_EQ(out[47], 0) << "silence once it has ended";
    buffer_play(test_support::create_test_sound(device, std::vector<uint8_t>(9, 255)), 0, 0, 0);
    buffer_play(sound, 0, 0, 0);
    common::mix_s16(out.data(), 1, 11025);
    EXPECT_EQ(out[0], 32767);
}

TEST_F(Mixer, VolumeIsInHundredthsOfADecibel) {
    const std::pair<int32_t, double> cases[] = {
        {0, 1.0}, {-150, 0.841395}, {-600, 0.501187}, {-2000, 0.1}, {-3000, 0.0316228}};
    for (auto [volume, gain] : cases) {
        ASSERT_EQ(buffer_set_volume(sound, volume), OK);
        ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
        int16_t out;
        common::mix_s16(&out, 1, 11025);
        EXPECT_NEAR(out, 100 * 256 * gain, 1.0) << volume;
    }
    EXPECT_NE(buffer_set_volume(sound, 1), OK) << "no amplification";
    EXPECT_NE(buffer_set_volume(sound, -10001), OK);
}

TEST_F(Mixer, LockHandsOutRegionsInsideTheBufferOnly) {
    void *one, *two;
    uint32_t size1, size2;
    ASSERT_EQ(buffer_lock(sound, 1000, 200, &one, &size1, &two, &size2, 0), OK);
    EXPECT_EQ(size1, 103u);
    EXPECT_EQ(size2, 97u) << "the range wraps to the start";
    EXPECT_NE(buffer_lock(sound, 0, 1, &one, &size1, nullptr, nullptr, 0), OK) << "locked";
    EXPECT_NE(buffer_unlock(sound, two, size1, one, size2), OK) << "not the lock's regions";
    ASSERT_EQ(buffer_unlock(sound, one, size1, two, size2), OK);
    EXPECT_NE(buffer_lock(sound, 0, 1104, &one, &size1, &two, &size2, 0), OK);
    EXPECT_NE(buffer_lock(sound, 1103, 1, &one, &size1, &two, &size2, 0), OK);
}

TEST_F(Mixer, ReleasingTheDeviceReleasesItsBuffers) {
    buffer_play(sound, 0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(sound_release(device), 0u);
    EXPECT_FALSE(headless::audio_device_open());
    EXPECT_NE(buffer_play(sound, 0, 0, 0), OK) << "a released buffer is refused, never touched";
}

}  // namespace
