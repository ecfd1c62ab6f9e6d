#include <gtest/gtest.h>

#include <vector>

#include "platform/keyboard.h"
#include "platform/window.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;
using Messages = std::vector<uint32_t>;

Messages received;

// Like the game's own procedure: quits on destroy, the rest to the default handling.
intptr_t recording_procedure(WindowHandle window, uint32_t message, uintptr_t wparam,
                             intptr_t lparam) {
    received.push_back(message);
    if (message == WM_DESTROY) {
        post_quit_message(0);
        return 0;
    }
    return default_window_proc(window, message, wparam, lparam);
}

class Window : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        received.clear();
        window = test_support::create_test_window(recording_procedure);
        ASSERT_NE(window, nullptr);
        drain();
    }

    // The game's loop until the queue is empty: the messages it peeked, WM_QUIT included.
    Messages drain() {
        Messages peeked;
        Message message;
        while (peeked.size() < 100 && peek_message(&message)) {
            peeked.push_back(message.message);
            last = message;
            translate_message(message);
            dispatch_message(message);
        }
        return peeked;
    }

    WindowHandle window = nullptr;
    Message last{};
};

TEST_F(Window, OneWindowGetsCreateThenOnePaintAndHidesTheCursor) {
    EXPECT_EQ(received, (Messages{WM_CREATE, WM_PAINT})) << "painted once: the default validates";
    EXPECT_EQ(headless::main_window(), window);
    EXPECT_EQ(create_window(0, "TESTCLASS", "again", WS_POPUP, 0, 0, 640, 480), nullptr);
    show_cursor(false);
    EXPECT_FALSE(headless::cursor_visible());
    show_cursor(true);
    EXPECT_TRUE(headless::cursor_visible());
}

TEST_F(Window, QuitComesAfterEverythingPostedInOrder) {
    post_message(window, WM_USER, 1, 0);
    post_quit_message(7);
    post_message(nullptr, WM_TIMER, 2, 0);  // a thread message
    EXPECT_EQ(drain(), (Messages{WM_USER, WM_TIMER, WM_QUIT}));
    EXPECT_EQ(last.wparam, 7u);
}

TEST_F(Window, CloseDestroysTheWindowAndTheLoopEndsWithCodeZero) {
    post_message(window, WM_CLOSE, 0, 0);
    post_message(window, WM_USER, 0, 0);  // dies with the window
    EXPECT_EQ(drain(), (Messages{WM_CLOSE, WM_QUIT}));
    EXPECT_EQ(last.wparam, 0u);
    EXPECT_EQ(received, (Messages{WM_CREATE, WM_PAINT, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(headless::main_window(), nullptr);
    EXPECT_FALSE(post_message(window, WM_USER, 0, 0));
    EXPECT_EQ(dispatch_message({window, WM_USER, 0, 0}), 0);
}

TEST_F(Window, AltF4ClosesButF4AloneDoesNot) {
    EXPECT_EQ(default_window_proc(window, WM_SYSKEYDOWN, uintptr_t(VK_F4), 1), 0);
    EXPECT_EQ(drain(), Messages{});
    headless::set_key(headless::VK_MENU, true);
    headless::set_key(VK_F4, true);
    drain();
    EXPECT_EQ(received,
              (Messages{WM_CREATE, WM_PAINT, WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(last.message, WM_QUIT);
}

TEST_F(Window, KeysAreHeldUntilReleasedAndPostTheirMessages) {
    headless::set_key(VK_A, true);
    headless::set_key(VK_A, true);  // no change, no message
    EXPECT_EQ(uint16_t(async_key_state(VK_A)), 0x8000);
    EXPECT_EQ(uint16_t(async_key_state(VK_A)), 0x8000) << "reading does not use it up";
    EXPECT_EQ(async_key_state(VK_LEFT), 0);
    EXPECT_EQ(async_key_state(-1), 0);
    EXPECT_EQ(async_key_state(100000), 0);
    headless::set_key(VK_A, false);
    EXPECT_EQ(async_key_state(VK_A), 0);
    EXPECT_EQ(drain(), (Messages{WM_KEYDOWN, WM_CHAR, WM_KEYUP})) << "translate adds the character";
    EXPECT_NE(last.lparam & (intptr_t(1) << 31), 0) << "transition bit of a release";
}

TEST_F(Window, PeekHookRunsBeforeTheQueueIsRead) {
    int calls = 0;
    headless::set_peek_hook([&] { headless::set_key(VK_SPACE, ++calls == 2); });
    Message message;
    EXPECT_FALSE(peek_message(&message));
    ASSERT_TRUE(peek_message(&message)) << "the key the hook pressed is seen by the same peek";
    EXPECT_EQ(message.message, WM_KEYDOWN);
}

}  // namespace
