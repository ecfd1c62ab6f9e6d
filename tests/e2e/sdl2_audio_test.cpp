// Sound through a real SDL audio device: the dummy driver runs the callback in real time, the
// disk driver also writes what the mixer made to a file.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "sdl2_fixture.h"

using namespace platform;

namespace {

class Audio : public sdl2_test::Sdl2Window {
  protected:
    // The device, and a buffer of the game's format holding bytes copies of value.
    SoundBuffer* open_with_buffer(uint32_t bytes, uint8_t value) {
        device = test_support::create_test_sound_device(window);
        return test_support::create_test_sound(device, std::vector<uint8_t>(bytes, value));
    }

    uint32_t status(SoundBuffer* buffer) {
        uint32_t bits = 0xDEAD;
        EXPECT_EQ(buffer_get_status(buffer, &bits), OK);
        return bits;
    }

    // Polls until the buffer stops playing, as the menu's exit does; a broken device fails
    // the test after a generous bound instead of hanging it.
    bool ends(SoundBuffer* buffer) {
        Uint64 start = SDL_GetTicks64();
        while (status(buffer) & DSBSTATUS_PLAYING) {
            if (SDL_GetTicks64() - start > 5000) {
                return false;
            }
        }
        return true;
    }

    SoundDevice* device = nullptr;
};

TEST_F(Audio, OneShotPlaysAndEndsLoopingPlaysUntilStopped) {
    SoundBuffer* buffer = open_with_buffer(2205, 200);  // 0.2 s
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING);
    EXPECT_TRUE(ends(buffer));
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    EXPECT_TRUE(ends(buffer)) << "played again from its start";
    ASSERT_EQ(buffer_play(buffer, 0, 0, DSBPLAY_LOOPING), OK);
    SDL_Delay(300);
    EXPECT_EQ(status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    ASSERT_EQ(buffer_stop(buffer), OK);
    EXPECT_EQ(status(buffer), 0u);
    EXPECT_EQ(sound_release(device), 0u);
}

TEST_F(Audio, TheMixReachesTheDeviceOnEveryChannel) {
    std::string path = ::testing::TempDir() + "cellstorm_disk_audio.raw";
    std::remove(path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    SoundBuffer* buffer = open_with_buffer(1103, 255);  // 0.1 s at the top of the range
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_set_volume(buffer, -600), OK);  // -6 dB: half the amplitude
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    ASSERT_TRUE(ends(buffer));
    SDL_Delay(50);
    sound_release(device);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<int16_t> samples(1 << 20);
    samples.resize(std::fread(samples.data(), sizeof(int16_t), samples.size(), file));
    std::fclose(file);
    std::remove(path.c_str());
    // The device runs at 44.1 kHz stereo unless it says otherwise; 0.1 s of sound is then
    // 8820 values of 127 * 256 at half amplitude, left and right alike.
    size_t loud = std::count_if(samples.begin(), samples.end(),
                                [](int16_t value) { return value > 16000 && value < 16400; });
    EXPECT_GE(loud, 8000u);
    EXPECT_LE(loud, 9800u);
}

}  // namespace
