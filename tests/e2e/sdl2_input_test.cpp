// Keys and window events from SDL's queue as the game sees them: held state and window
// messages; the joystick in Windows units. Alt+F4 is left to the whole-game run that closes
// the real game with it.
#include <SDL.h>

#include <algorithm>

#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/sdl2/joystick_map.h"
#include "platform/sdl2/sdl2_backend.h"
#include "sdl2_fixture.h"

using namespace platform;
using sdl2_test::seen_messages;

namespace {

void push_key(SDL_Scancode scancode, bool down, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void tap(SDL_Scancode scancode) {
    push_key(scancode, true);
    push_key(scancode, false);
}

bool held(int key) {
    return async_key_state(key) < 0;
}

int count_of(uint32_t message) {
    return int(std::count_if(seen_messages().begin(), seen_messages().end(),
                             [=](const sdl2_test::Seen& seen) { return seen.message == message; }));
}

class Keys : public sdl2_test::Sdl2Window {};

TEST_F(Keys, GameKeysAreHeldBetweenDownAndUpAndReachTheWindow) {
    const SDL_Scancode scancodes[] = {
        SDL_SCANCODE_LEFT,   SDL_SCANCODE_RIGHT,    SDL_SCANCODE_UP,    SDL_SCANCODE_DOWN,
        SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE,
        SDL_SCANCODE_A,      SDL_SCANCODE_S,        SDL_SCANCODE_P};
    const int keys[] = {VK_LEFT,  VK_RIGHT,  VK_UP, VK_DOWN, VK_RETURN, VK_RETURN,
                        VK_SPACE, VK_ESCAPE, VK_A,  VK_S,    VK_P};
    for (size_t i = 0; i < std::size(keys); ++i) {
        const int key = keys[i];
        EXPECT_FALSE(held(key)) << key;
        push_key(scancodes[i], true);
        drain_messages();
        EXPECT_TRUE(held(key)) << key;
        push_key(scancodes[i], false);
        drain_messages();
        EXPECT_FALSE(held(key)) << key;
        const sdl2_test::Seen& up = seen_messages().back();
        EXPECT_EQ(up.message, WM_KEYUP);
        EXPECT_EQ(up.wparam, uintptr_t(key));
        EXPECT_NE(up.lparam & (intptr_t(1) << 31), 0) << "the release bit";
    }
    EXPECT_EQ(count_of(WM_KEYDOWN), 11);
    EXPECT_EQ(count_of(WM_KEYUP), 11);
    for (int other : {0x7E, -1, 1000}) {
        EXPECT_EQ(async_key_state(other), 0);
    }
    // Either Enter holds Return until both are up.
    push_key(SDL_SCANCODE_RETURN, true);
    push_key(SDL_SCANCODE_KP_ENTER, true);
    push_key(SDL_SCANCODE_RETURN, false);
    drain_messages();
    EXPECT_TRUE(held(VK_RETURN));
    push_key(SDL_SCANCODE_KP_ENTER, false);
    drain_messages();
    EXPECT_FALSE(held(VK_RETURN));
}

// A tap between two samples of the keys reads as held once; its release message comes only
// after that read, since the shut-down state ends on the message after the read that saw Esc.
TEST_F(Keys, TapBetweenTwoSamplesReadsHeldOnceAndItsReleaseFollowsTheRead) {
    tap(SDL_SCANCODE_ESCAPE);
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYDOWN), 1);
    EXPECT_EQ(count_of(WM_KEYUP), 0);
    tap(SDL_SCANCODE_UP);
    drain_messages();
    EXPECT_TRUE(held(VK_ESCAPE));
    EXPECT_FALSE(held(VK_ESCAPE));
    EXPECT_TRUE(held(VK_UP)) << "another key's query does not use it up";
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYUP), 2);
    EXPECT_EQ(seen_messages().back().message, WM_KEYUP);
}

TEST_F(Keys, TapFromBeforeALongWaitIsForgottenAndItsReleaseArrives) {
    tap(SDL_SCANCODE_SPACE);
    drain_messages();
    SDL_Delay(400);
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYUP), 1);
    EXPECT_FALSE(held(VK_SPACE));
    drain_messages();
    EXPECT_EQ(count_of(WM_KEYUP), 1);
}

TEST_F(Keys, WindowManagerCloseWithItsQuitIsOneCloseMessage) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(sdl2::game_window());
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    event = SDL_Event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    drain_messages();
    EXPECT_EQ(count_of(WM_CLOSE), 1);
    EXPECT_EQ(count_of(WM_DESTROY), 1);
    EXPECT_EQ(seen_messages().back().message, WM_QUIT);
    EXPECT_EQ(seen_messages().back().wparam, 0u) << "exit code 0";
    EXPECT_EQ(sdl2::game_window(), nullptr);
}

TEST_F(Keys, AltEnterTogglesFullScreenAndIsNotAGameKey) {
    auto fullscreen = [] {
        return SDL_GetWindowFlags(sdl2::game_window()) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    };
    Uint32 before = fullscreen();
    push_key(SDL_SCANCODE_LALT, true, KMOD_LALT);
    push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT, true);
    drain_messages();
    EXPECT_FALSE(held(VK_RETURN));
    EXPECT_NE(fullscreen(), before) << "toggled once, not again by the repeat";
    push_key(SDL_SCANCODE_RETURN, false);
    push_key(SDL_SCANCODE_LALT, false);
    drain_messages();
    for (const auto& seen : seen_messages()) {
        EXPECT_NE(seen.wparam, uintptr_t(VK_RETURN)) << seen.message;
    }
    push_key(SDL_SCANCODE_RETURN, true);
    drain_messages();
    EXPECT_TRUE(held(VK_RETURN)) << "released, Enter is a game key again";
}

TEST(Joystick, GamepadAndPlainJoystickInTheGamesUnits) {
    sdl2::GamepadReading rest, stick, dpad, a, b, start, back;
    stick.left_x = -32768;
    stick.left_y = 32767;
    dpad = stick;  // the d-pad wins over the stick and goes all the way
    dpad.dpad_right = dpad.dpad_up = true;
    a.a = b.b = start.start = back.back = true;
    const struct {
        sdl2::GamepadReading pad;
        uint32_t x, y, buttons;
    } cases[] = {{rest, 32768, 32768, 0},   {stick, 0, 65535, 0},
                 {dpad, 65535, 0, 0},       {a, 32768, 32768, 0x02 | 0x04},
                 {b, 32768, 32768, 0x01},   {start, 32768, 32768, 0x08},
                 {back, 32768, 32768, 0x10}};
    JoyInfoEx info{};
    for (const auto& c : cases) {
        sdl2::map_gamepad(c.pad, &info);
        EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwYpos, info.dwButtons}),
                  (std::vector<uint32_t>{c.x, c.y, c.buttons}))
            << &c - cases;
    }
    sdl2::JoystickReading plain;
    plain.axis_count = 1;
    plain.axis0 = 32767;
    plain.axis1 = -32768;  // no second axis: ignored
    plain.buttons[0] = plain.buttons[4] = true;
    sdl2::map_joystick(plain, &info);
    EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwYpos, info.dwButtons}),
              (std::vector<uint32_t>{65535, 32768, 0x01 | 0x10}));
}

TEST(Joystick, QueriesRefuseOtherIdsAndNullRecords) {
    JoyInfoEx info{};
    EXPECT_NE(joy_get_pos_ex(1, &info), JOYERR_NOERROR);
    EXPECT_NE(joy_get_pos_ex(JOYSTICKID1, nullptr), JOYERR_NOERROR);
    EXPECT_NE(joy_get_dev_caps(JOYSTICKID1, nullptr), JOYERR_NOERROR);
}

}  // namespace
