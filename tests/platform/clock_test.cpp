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

TEST_F(VirtualClock, SleepAdvancesAndTheTickCountWraps) {
    sleep_ms(20);
    EXPECT_EQ(headless::now(), 20u);
    headless::set_time(0xFFFFFFFFull);
    EXPECT_EQ(tick_count(), 0xFFFFFFFFu);
    EXPECT_EQ(tick_count(), 0u);
    headless::set_system_millis(2417);
    EXPECT_EQ(system_time_millis(), 417);
}

// Each kind of busy-wait the game makes ends, because every poll lets a millisecond pass.
TEST_F(VirtualClock, SpinsOnTicksKeysAndEmptyQueuesEnd) {
    uint32_t start = tick_count();
    for (int polls = 0; tick_count() - start < 43; ++polls) {
        ASSERT_LT(polls, 100);
    }
    uint64_t before = headless::now();
    for (int polls = 0; async_key_state(VK_ESCAPE) >= 0; ++polls) {
        ASSERT_LT(polls, 100);
        if (polls == 50) {
            headless::set_key(VK_ESCAPE, true);
        }
    }
    EXPECT_EQ(headless::now() - before, 52u);
    validate_window(test_support::create_test_window());
    before = headless::now();
    Message message;
    while (!peek_message(&message)) {
        ASSERT_LT(headless::now() - before, 100u);
        if (headless::now() - before == 30) {
            post_message(headless::main_window(), WM_USER, 0, 0);
        }
    }
    EXPECT_EQ(headless::now() - before, 30u) << "a peek that finds a message costs nothing";
}

TEST_F(VirtualClock, WaitingForASoundToEndEnds) {
    SoundDevice* device =
        test_support::create_test_sound_device(test_support::create_test_window());
    SoundBuffer* buffer = test_support::create_test_sound(device, std::vector<uint8_t>(2205, 90));
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    uint32_t status = DSBSTATUS_PLAYING;
    for (int polls = 0; status != 0; ++polls) {
        ASSERT_EQ(buffer_get_status(buffer, &status), OK);
        ASSERT_LT(polls, 1000);
    }
    EXPECT_EQ(headless::now(), 200u) << "2,205 samples at 11,025 a second";
}

TEST_F(VirtualClock, PeekHookRunsBeforeTheQueueIsRead) {
    validate_window(test_support::create_test_window());
    int calls = 0;
    headless::set_peek_hook([&] {
        if (++calls == 2) {
            headless::set_key(VK_SPACE, true);
        }
    });
    Message message;
    EXPECT_FALSE(peek_message(&message));
    ASSERT_TRUE(peek_message(&message)) << "the key the hook pressed is seen by the same peek";
    EXPECT_EQ(message.message, WM_KEYDOWN);
}

}  // namespace
