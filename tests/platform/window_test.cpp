#include <gtest/gtest.h>

#include <vector>

#include "platform/keyboard.h"
#include "platform/window.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

std::vector<uint32_t>& received() {
    static std::vector<uint32_t> messages;
    return messages;
}

// Like the game's own procedure: quits on destroy, the rest to the default handling.
intptr_t recording_procedure(WindowHandle window, uint32_t message, uintptr_t wparam,
                             intptr_t lparam) {
    received().push_back(message);
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
        received().clear();
        window = test_support::create_test_window(recording_procedure);
        ASSERT_NE(window, nullptr);
    }

    // The game's loop shape; returns the exit code of WM_QUIT.
    int run_loop_until_quit() {
        Message message;
        for (int turns = 0; turns < 1000; ++turns) {
            if (peek_message(&message)) {
                if (message.message == WM_QUIT) {
                    return int(message.wparam);
                }
                translate_message(message);
                dispatch_message(message);
            }
        }
        ADD_FAILURE() << "the loop never saw WM_QUIT";
        return -1;
    }

    WindowHandle window = nullptr;
};

TEST_F(Window, OneWindowGetsCreateThenOnePaint) {
    EXPECT_EQ(received(), std::vector<uint32_t>{WM_CREATE});
    EXPECT_EQ(headless::main_window(), window);
    EXPECT_EQ(create_window(0, "TESTCLASS", "again", WS_POPUP, 0, 0, 640, 480), nullptr);
    Message message;
    ASSERT_TRUE(peek_message(&message));
    EXPECT_EQ(message.message, WM_PAINT);
    dispatch_message(message);  // the default handling validates
    EXPECT_FALSE(peek_message(&message));
}

TEST_F(Window, QuitComesAfterEverythingPostedInOrder) {
    validate_window(window);
    post_message(window, WM_USER, 1, 0);
    post_quit_message(7);
    post_message(nullptr, WM_TIMER, 2, 0);  // a thread message
    std::vector<uint32_t> order;
    Message message;
    while (peek_message(&message)) {
        order.push_back(message.message);
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{WM_USER, WM_TIMER, WM_QUIT}));
    EXPECT_EQ(message.wparam, 7u);
}

TEST_F(Window, CloseDestroysTheWindowAndTheLoopEndsWithCodeZero) {
    validate_window(window);
    post_message(window, WM_CLOSE, 0, 0);
    post_message(window, WM_USER, 0, 0);  // dies with the window
    EXPECT_EQ(run_loop_until_quit(), 0);
    EXPECT_EQ(received(), (std::vector<uint32_t>{WM_CREATE, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(headless::main_window(), nullptr);
    EXPECT_FALSE(post_message(window, WM_USER, 0, 0));
    EXPECT_EQ(dispatch_message({window, WM_USER, 0, 0}), 0);
}

TEST_F(Window, AltF4ClosesButF4AloneDoesNot) {
    validate_window(window);
    EXPECT_EQ(default_window_proc(window, WM_SYSKEYDOWN, uintptr_t(VK_F4), 1), 0);
    Message message;
    EXPECT_FALSE(peek_message(&message));
    headless::set_key(headless::VK_MENU, true);
    headless::set_key(VK_F4, true);
    EXPECT_EQ(run_loop_until_quit(), 0);
    EXPECT_EQ(received(), (std::vector<uint32_t>{WM_CREATE, WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE,
                                                 WM_DESTROY}));
}

TEST_F(Window, KeysBecomeKeyMessagesAndTranslateAddsTheCharacter) {
    validate_window(window);
    headless::set_key(VK_A, true);
    headless::set_key(VK_A, true);  // no change, no message
    headless::set_key(VK_A, false);
    std::vector<uint32_t> order;
    Message message;
    while (peek_message(&message)) {
        order.push_back(message.message);
        translate_message(message);
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_NE(message.lparam & (intptr_t(1) << 31), 0) << "transition bit of a release";
}

TEST_F(Window, CursorCounterWorksLikeShowCursor) {
    EXPECT_EQ(show_cursor(false), -1);
    EXPECT_EQ(show_cursor(false), -2);
    EXPECT_EQ(show_cursor(true), -1);
    EXPECT_FALSE(headless::cursor_visible());
    EXPECT_EQ(show_cursor(true), 0);
    EXPECT_TRUE(headless::cursor_visible());
}

}  // namespace
