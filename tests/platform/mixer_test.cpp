#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
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

TEST_F(Mixer, PlaysForItsLengthLoopsStopsInPlaceAndLocksInsideTheBuffer) {
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
    buffer_play(sound, 0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(sound_release(device), 0u);
    EXPECT_FALSE(headless::audio_device_open());
    EXPECT_NE(buffer_play(sound, 0, 0, 0), OK) << "a released buffer is refused, never touched";
}

// A sine of amplitude (in 8-bit steps) at hz, sampled at 11,025 Hz.
std::vector<uint8_t> sine(double hz, double amplitude, size_t count) {
    std::vector<uint8_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = uint8_t(std::lround(128 + amplitude * std::sin(2 * M_PI * hz * i / 11025)));
    return samples;
}

std::vector<int16_t> mix(size_t count, int rate) {
    std::vector<int16_t> out(count);
    common::mix_s16(out.data(), count, rate);
    return out;
}

// Level of the hz component of s at 44.1 kHz (all of it when hz is 0), over 0.1 .. 0.9 s.
double level(const std::vector<int16_t>& s, double hz = 0) {
    std::complex<double> sum = 0;
    double power = 0;
    for (size_t i = 4410; i < 39690; ++i) {
        sum += (1 - std::cos(2 * M_PI * double(i - 4410) / 35280)) * s[i] *
               std::polar(1.0, -2 * M_PI * hz * double(i) / 44100);
        power += double(s[i]) * s[i];
    }
    return hz > 0 ? std::abs(sum) : std::sqrt(power / 35280);
}

TEST_F(Mixer, AVoiceComesOutAtItsLevelAtAnyRateAndVolume) {
    const struct {
        int rate;
        int32_t volume;
        double gain;
    } cases[] = {{44100, 0, 1.0},         {48000, 0, 1.0},     {22050, -150, 0.841395},
                 {44100, -600, 0.501187}, {44100, -2000, 0.1}, {11025, -3000, 0.0316228}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz at " + std::to_string(c.volume));
        ASSERT_EQ(buffer_set_volume(sound, c.volume), OK);
        ASSERT_EQ(buffer_play(sound, 0, 0, 0), OK);
        std::vector<int16_t> out = mix(size_t(c.rate) / 20, c.rate);  // 50 ms in: steady
        EXPECT_NEAR(out.back(), 100 * 256 * c.gain, 100 * 256 * c.gain * 0.002 + 1);
        EXPECT_EQ(status(), DSBSTATUS_PLAYING);
        mix(size_t(c.rate) / 10, c.rate);
        EXPECT_EQ(status(), 0u) << "ended after its 100 ms";
        EXPECT_EQ(mix(size_t(c.rate) / 100, c.rate).back(), 0) << "and silent";
    }
}

TEST_F(Mixer, ASumPastFullScaleIsLimitedUnderItAndAVoiceAloneIsLeftAsItIs) {
    // Four square waves at full scale for half a second over a tone just under the knee.
    std::vector<uint8_t> square(5512);
    for (size_t i = 0; i < square.size(); ++i)
        square[i] = (i / 20) % 2 ? 255 : 1;
    for (int v = 0; v < 4; ++v)
        ASSERT_EQ(buffer_play(test_support::create_test_sound(device, square), 0, 0, 0), OK);
    ASSERT_EQ(buffer_play(test_support::create_test_sound(device, sine(441, 112, 22050)), 0, 0, 0),
              OK);
    std::vector<int16_t> out = mix(22050, 44100);
    auto [lo, hi] = std::minmax_element(out.begin(), out.end());
    EXPECT_GT(*hi, 29000) << "loud, and";
    EXPECT_LE(std::max(int(*hi), -int(*lo)), 30934) << "at most -0.5 dBFS: nothing clipped";
    EXPECT_NEAR(level(mix(44100, 44100)), 112 * 256 / std::sqrt(2.0), 112 * 256 * 0.002)
        << "the tone alone, as loud as it is";
}

TEST_F(Mixer, RaisesTheVoicesRateWithoutImagesAndWithLittleDelay) {
    // A 3 kHz tone at 11,025 Hz: a device at 44.1 kHz must not hear it again at 8,025 Hz, nor
    // at the images above.
    SoundBuffer* tone = test_support::create_test_sound(device, sine(3000, 100, 11025));
    mix(441, 44100);  // 10 ms of silence first
    ASSERT_EQ(buffer_play(tone, 0, 0, 0), OK);
    std::vector<int16_t> out = mix(44100, 44100);
    auto onset = std::find_if(out.begin(), out.end(), [](int16_t v) { return std::abs(v) > 2000; });
    EXPECT_LE(onset - out.begin(), 220) << "out within 5 ms of being started";
    for (double image : {8025.0, 14025.0, 19025.0})
        EXPECT_LT(20 * std::log10(level(out, image) / level(out, 3000)), -40) << image;
}

}  // namespace
