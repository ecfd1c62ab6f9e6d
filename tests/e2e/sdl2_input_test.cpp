// Keys and window events from SDL's queue as the game sees them: held state and window
// messages; the joystick in Windows units.
#include <SDL.h>

#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/sdl2/joystick_map.h"
#include "platform/sdl2/sdl2_backend.h"
#include "sdl2_fixture.h"

using namespace platform;
using sdl2_test::seen_messages;

namespace {

constexpr intptr_t kAltContext = intptr_t(1) << 29;
constexpr intptr_t kReleased = intptr_t(1) << 31;

void push_key(SDL_Scancode scancode, bool down, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void push_window_close() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(sdl2::game_window());
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    event = SDL_Event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

bool held(int key) {
    return async_key_state(key) < 0;
}

int count_of(uint32_t message) {
    int count = 0;
    for (const auto& seen : seen_messages()) {
        count += seen.message == message ? 1 : 0;
    }
    return count;
}

class Keys : public sdl2_test::Sdl2Window {};

TEST_F(Keys, GameKeysAreHeldBetweenDownAndUpAndReachTheWindow) {
    const struct {
        SDL_Scancode scancode;
        int key;
    } keys[] = {{SDL_SCANCODE_LEFT, VK_LEFT},
                {SDL_SCANCODE_RIGHT, VK_RIGHT},
                {SDL_SCANCODE_UP, VK_UP},
                {SDL_SCANCODE_DOWN, VK_DOWN},
                {SDL_SCANCODE_RETURN, VK_RETURN},
                {SDL_SCANCODE_KP_ENTER, VK_RETURN},
                {SDL_SCANCODE_SPACE, VK_SPACE},
                {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
                {SDL_SCANCODE_A, VK_A},
                {SDL_SCANCODE_S, VK_S},
                {SDL_SCANCODE_P, VK_P}};
    for (const auto& entry : keys) {
        drain_messages();
        EXPECT_FALSE(held(entry.key)) << entry.key;
        push_key(entry.scancode, true);
        drain_messages();
        EXPECT_TRUE(held(entry.key)) << entry.key;
        ASSERT_FALSE(seen_messages().empty());
        push_key(entry.scancode, false);
        drain_messages();
        EXPECT_FALSE(held(entry.key)) << entry.key;
    }
    EXPECT_EQ(count_of(WM_KEYDOWN), 11);
    EXPECT_EQ(count_of(WM_KEYUP), 11);
    EXPECT_EQ(async_key_state(0x7E), 0);
    EXPECT_EQ(async_key_state(-1), 0);
    EXPECT_EQ(async_key_state(1000), 0);
}

TEST_F(Keys, BothEntersHoldReturnUntilBothAreUp) {
    push_key(SDL_SCANCODE_RETURN, true);
    push_key(SDL_SCANCODE_KP_ENTER, true);
    push_key(SDL_SCANCODE_RETURN, false);
    drain_messages();
    EXPECT_TRUE(held(VK_RETURN));
    push_key(SDL_SCANCODE_KP_ENTER, false);
    drain_messages();
    EXPECT_FALSE(held(VK_RETURN));
}

TEST_F(Keys, KeyStateFollowsEventsEvenWhenNoMessageIsPeeked) {
    // The closing screen reads the keys in a loop of its own.
    push_key(SDL_SCANCODE_ESCAPE, true);
    SDL_Delay(10);
    EXPECT_TRUE(held(VK_ESCAPE));
    push_key(SDL_SCANCODE_ESCAPE, false);
    SDL_Delay(10);
    EXPECT_FALSE(held(VK_ESCAPE));
}

TEST_F(Keys, TapBetweenTwoSamplesReadsHeldOnce) {
    push_key(SDL_SCANCODE_DOWN, true);
    push_key(SDL_SCANCODE_DOWN, false);
    drain_messages();
    EXPECT_TRUE(held(VK_DOWN));
    EXPECT_FALSE(held(VK_DOWN));
    // Another key's query does not use it up.
    push_key(SDL_SCANCODE_UP, true);
    push_key(SDL_SCANCODE_UP, false);
    drain_messages();
    EXPECT_FALSE(held(VK_DOWN));
    EXPECT_TRUE(held(VK_UP));
}

TEST_F(Keys, TapReleaseMessageComesOnlyAfterThePressWasRead) {
    push_key(SDL_SCANCODE_ESCAPE, true);
    push_key(SDL_SCANCODE_ESCAPE, false);
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYDOWN), 1);
    EXPECT_EQ(count_of(WM_KEYUP), 0);
    // The shut-down state ends on the message after the read that saw Esc.
    EXPECT_TRUE(held(VK_ESCAPE));
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYUP), 1);
    EXPECT_EQ(seen_messages().back().message, WM_KEYUP);
}

TEST_F(Keys, TapFromBeforeALongWaitIsForgottenAndItsReleaseArrives) {
    push_key(SDL_SCANCODE_SPACE, true);
    push_key(SDL_SCANCODE_SPACE, false);
    drain_messages();
    SDL_Delay(400);
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYUP), 1);
    EXPECT_FALSE(held(VK_SPACE));
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYUP), 1);
}

TEST_F(Keys, AltF4ClosesTheWindowTheWindowsWay) {
    push_key(SDL_SCANCODE_LALT, true, KMOD_LALT);
    push_key(SDL_SCANCODE_F4, true, KMOD_LALT);
    drain_messages();
    ASSERT_GE(count_of(WM_SYSKEYDOWN), 2);
    bool f4_with_alt = false;
    for (const auto& seen : seen_messages()) {
        f4_with_alt |= seen.message == WM_SYSKEYDOWN && seen.wparam == uintptr_t(VK_F4) &&
                       (seen.lparam & kAltContext) != 0;
    }
    EXPECT_TRUE(f4_with_alt);
    EXPECT_EQ(count_of(WM_CLOSE), 1);
    EXPECT_EQ(count_of(WM_DESTROY), 1);
    EXPECT_EQ(seen_messages().back().message, WM_QUIT);
    EXPECT_EQ(seen_messages().back().wparam, 0u);
    EXPECT_EQ(sdl2::game_window(), nullptr);
}

TEST_F(Keys, WindowManagerCloseIsOneCloseMessage) {
    push_window_close();
    drain_messages();
    EXPECT_EQ(count_of(WM_CLOSE), 1);
    EXPECT_EQ(count_of(WM_DESTROY), 1);
    EXPECT_EQ(count_of(WM_QUIT), 1);
}

TEST_F(Keys, AltEnterTogglesFullScreenAndIsNotAGameKey) {
    SDL_Window* window_before = sdl2::game_window();
    Uint32 before = SDL_GetWindowFlags(window_before) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    push_key(SDL_SCANCODE_LALT, true, KMOD_LALT);
    push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT, true);
    drain_messages();
    EXPECT_FALSE(held(VK_RETURN));
    Uint32 after = SDL_GetWindowFlags(window_before) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    EXPECT_NE(before, after);
    push_key(SDL_SCANCODE_RETURN, false);
    push_key(SDL_SCANCODE_LALT, false);
    drain_messages();
    for (const auto& seen : seen_messages()) {
        EXPECT_NE(seen.wparam, uintptr_t(VK_RETURN)) << seen.message;
    }
    // Released, Enter is a game key again.
    push_key(SDL_SCANCODE_RETURN, true);
    drain_messages();
    EXPECT_TRUE(held(VK_RETURN));
    push_key(SDL_SCANCODE_RETURN, false);
    drain_messages();
}

TEST_F(Keys, KeyUpMessageCarriesTheReleaseBits) {
    push_key(SDL_SCANCODE_P, true);
    drain_messages();
    EXPECT_TRUE(held(VK_P));
    push_key(SDL_SCANCODE_P, false);
    drain_messages();
    bool up_seen = false;
    for (const auto& seen : seen_messages()) {
        if (seen.message == WM_KEYUP) {
            up_seen = true;
            EXPECT_EQ(seen.wparam, uintptr_t(VK_P));
            EXPECT_NE(seen.lparam & kReleased, 0);
        }
    }
    EXPECT_TRUE(up_seen);
}

TEST(Joystick, GamepadStickAndDpadGiveTheAxesRestingInTheMiddle) {
    JoyInfoEx info{};
    sdl2::GamepadReading pad;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwXpos, 32768u);
    EXPECT_EQ(info.dwYpos, 32768u);
    EXPECT_EQ(info.dwButtons, 0u);
    pad.left_x = -32768;
    pad.left_y = 32767;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwXpos, 0u);
    EXPECT_EQ(info.dwYpos, 65535u);
    // The d-pad wins over the stick and goes all the way.
    pad.dpad_right = true;
    pad.dpad_up = true;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwXpos, 65535u);
    EXPECT_EQ(info.dwYpos, 0u);
}

TEST(Joystick, GamepadButtonsMapToTheGamesButtons) {
    JoyInfoEx info{};
    sdl2::GamepadReading pad;
    pad.a = true;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwButtons, 0x02u | 0x04u);
    EXPECT_EQ(info.dwButtonNumber, 2u);
    pad = {};
    pad.b = true;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwButtons, 0x01u);
    pad = {};
    pad.start = true;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwButtons, 0x08u);
    pad = {};
    pad.back = true;
    sdl2::map_gamepad(pad, &info);
    EXPECT_EQ(info.dwButtons, 0x10u);
}

TEST(Joystick, PlainJoystickAxesAndFirstFiveButtons) {
    JoyInfoEx info{};
    sdl2::JoystickReading stick;
    stick.axis_count = 1;
    stick.axis0 = 32767;
    stick.axis1 = -32768;  // no second axis: ignored
    stick.buttons[0] = true;
    stick.buttons[4] = true;
    sdl2::map_joystick(stick, &info);
    EXPECT_EQ(info.dwXpos, 65535u);
    EXPECT_EQ(info.dwYpos, 32768u);
    EXPECT_EQ(info.dwButtons, 0x01u | 0x10u);
}

TEST(Joystick, QueriesRefuseOtherIdsAndNullRecords) {
    JoyInfoEx info{};
    JoyCaps caps{};
    EXPECT_NE(joy_get_pos_ex(1, &info), JOYERR_NOERROR);
    EXPECT_NE(joy_get_pos_ex(JOYSTICKID1, nullptr), JOYERR_NOERROR);
    EXPECT_NE(joy_get_dev_caps(JOYSTICKID1, nullptr), JOYERR_NOERROR);
    // With a device the caps are the full axis range; without one both calls fail alike.
    uint32_t position = joy_get_pos_ex(JOYSTICKID1, &info);
    uint32_t capability = joy_get_dev_caps(JOYSTICKID1, &caps);
    EXPECT_EQ(position, capability);
    if (capability == JOYERR_NOERROR) {
        EXPECT_EQ(caps.wXmax, 65535u);
        EXPECT_EQ(caps.wYmax, 65535u);
    }
}

}  // namespace
