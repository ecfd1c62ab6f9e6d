#include <gtest/gtest.h>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

class VirtualClock : public test_support::HeadlessTest {};

// Each kind of busy-wait the game makes ends, because every poll lets a millisecond pass. (The
// tick count's wrap is met by the frame clock's tests.)
TEST_F(VirtualClock, SpinsOnTicksKeysEmptyQueuesAndPlayingSoundsEnd) {
    sleep_ms(20);
    EXPECT_EQ(headless::now(), 20u) << "a sleep lets its time pass";
    uint32_t start = tick_count();
    for (int polls = 0; tick_count() - start < 43; ++polls) {
        ASSERT_LT(polls, 100);
    }
    uint64_t before = headless::now();
    for (int polls = 0; async_key_state(VK_ESCAPE) >= 0; ++polls) {
        ASSERT_LT(polls, 100);
        headless::set_key(VK_ESCAPE, polls == 50);
    }
    EXPECT_EQ(headless::now() - before, 52u);
    WindowHandle window = test_support::create_test_window();
    validate_window(window);
    before = headless::now();
    Message message;
    for (int polls = 0; !peek_message(&message); ++polls) {
        ASSERT_LT(polls, 100);
        if (polls == 29) {
            post_message(window, WM_USER, 0, 0);
        }
    }
    EXPECT_EQ(headless::now() - before, 30u) << "a peek that finds a message costs nothing";
    SoundBuffer* buffer = test_support::create_test_sound(
        test_support::create_test_sound_device(window), std::vector<uint8_t>(2205, 90));
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    before = headless::now();
    for (uint32_t status = DSBSTATUS_PLAYING; status != 0;) {
        ASSERT_EQ(buffer_get_status(buffer, &status), OK);
        ASSERT_LT(headless::now() - before, 1000u);
    }
    EXPECT_EQ(headless::now() - before, 200u) << "2,205 samples at 11,025 a second";
}

}  // namespace
