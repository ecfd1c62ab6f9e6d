// Sound through a real SDL audio device: the dummy driver runs the callback in real time, the
// disk driver also writes what the mixer made to a file.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "sdl2_fixture.h"

using namespace platform;

namespace {

// Polls until the buffer stops playing, as the menu's exit does; gives up after a generous
// bound so a broken device fails the test instead of hanging it.
bool wait_until_silent(SoundBuffer* buffer, uint32_t bound_ms) {
    Uint64 start = SDL_GetTicks64();
    uint32_t status = DSBSTATUS_PLAYING;
    while ((status & DSBSTATUS_PLAYING) != 0) {
        if (buffer_get_status(buffer, &status) != OK || SDL_GetTicks64() - start > bound_ms) {
            return false;
        }
    }
    return true;
}

class Audio : public sdl2_test::Sdl2Window {
  protected:
    void open_device() {
        ASSERT_EQ(sound_create(&device), OK) << SDL_GetError();
        ASSERT_EQ(sound_set_cooperative_level(device, window, DSSCL_NORMAL), OK);
    }

    // A buffer of the game's format holding bytes copies of value.
    SoundBuffer* make_buffer(uint32_t bytes, uint8_t value) {
        WaveFormat format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
        SoundBufferDesc desc{20, DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME, bytes, 0, &format};
        SoundBuffer* buffer = nullptr;
        EXPECT_EQ(sound_create_buffer(device, desc, &buffer), OK);
        if (buffer == nullptr) {
            return nullptr;
        }
        void* region1 = nullptr;
        void* region2 = nullptr;
        uint32_t size1 = 0;
        uint32_t size2 = 0;
        EXPECT_EQ(buffer_lock(buffer, 0, bytes, &region1, &size1, &region2, &size2,
                              DSBLOCK_FROMWRITECURSOR),
                  OK);
        std::fill_n(static_cast<uint8_t*>(region1), size1, value);
        EXPECT_EQ(buffer_unlock(buffer, region1, size1, region2, size2), OK);
        return buffer;
    }

    SoundDevice* device = nullptr;
};

TEST_F(Audio, OneShotPlaysReportsPlayingAndEnds) {
    open_device();
    SoundBuffer* buffer = make_buffer(2205, 200);  // 0.2 s
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    uint32_t status = 0;
    ASSERT_EQ(buffer_get_status(buffer, &status), OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    EXPECT_TRUE(wait_until_silent(buffer, 5000));
    ASSERT_EQ(buffer_get_status(buffer, &status), OK);
    EXPECT_EQ(status, 0u);
    // It can be played again from its start.
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    EXPECT_TRUE(wait_until_silent(buffer, 5000));
}

TEST_F(Audio, LoopingKeepsPlayingUntilStopped) {
    open_device();
    SoundBuffer* buffer = make_buffer(110, 128);  // 10 ms, looped many times over
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_play(buffer, 0, 0, DSBPLAY_LOOPING), OK);
    SDL_Delay(200);
    uint32_t status = 0;
    ASSERT_EQ(buffer_get_status(buffer, &status), OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    ASSERT_EQ(buffer_stop(buffer), OK);
    ASSERT_EQ(buffer_get_status(buffer, &status), OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(sound_release(device), 0u);
}

TEST_F(Audio, TheMixReachesTheDeviceOnEveryChannel) {
    std::string path = ::testing::TempDir() + "cellstorm_disk_audio.raw";
    std::remove(path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    open_device();
    SoundBuffer* buffer = make_buffer(1103, 255);  // 0.1 s at the top of the range
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_set_volume(buffer, -600), OK);  // -6 dB: half the amplitude
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    ASSERT_TRUE(wait_until_silent(buffer, 5000));
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
    size_t loud = 0;
    for (int16_t value : samples) {
        loud += (value > 16000 && value < 16400) ? 1 : 0;
    }
    EXPECT_GE(loud, 8000u);
    EXPECT_LE(loud, 9800u);
}

}  // namespace
