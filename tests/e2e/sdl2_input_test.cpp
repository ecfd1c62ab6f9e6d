// Keys and window events from SDL's queue as the game sees them: held state and window
// messages; the joystick in Windows units. Alt+F4 is left to the whole-game run that closes
// the real game with it.
#include <SDL.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/sdl2/joystick_map.h"
#include "platform/sdl2/keymap.h"
#include "platform/sdl2/sdl2_backend.h"
#include "sdl2_fixture.h"

using namespace platform;
using sdl2_test::seen_messages;

namespace {

// A key as SDL reports it: where it is (scancode) and what its label says on the layout in
// use (key code; by default the US layout's).
void push_key(SDL_Scancode scancode, bool down, Uint16 mod = KMOD_NONE, bool repeat = false,
              SDL_Keycode label = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = label != SDLK_UNKNOWN ? label : SDL_GetKeyFromScancode(scancode);
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

// Keys by their labels: the defaults, a layout where A and Q trade places, and a player's
// bindings, where the key that lost its action gives nothing; Alt+Enter and Alt+F4 stay.
TEST_F(Keys, BindingsByKeyLabelOnAnyLayout) {
    sdl2::Settings rebound = sdl2::default_settings();
    rebound.keys[8] = {"D", "Keypad 6"};  // turn clockwise
    rebound.keys[4] = {"Keypad Enter"};   // select
    rebound.keys[9] = {"Return"};         // pause
    const struct {
        bool rebind;
        SDL_Scancode where;
        SDL_Keycode label;
        Uint16 mod;
        int key;
    } cases[] = {
        {false, SDL_SCANCODE_A, SDLK_a, KMOD_NONE, VK_A},
        {false, SDL_SCANCODE_Q, SDLK_a, KMOD_NONE, VK_A},  // AZERTY: A sits where Q is
        {false, SDL_SCANCODE_A, SDLK_q, KMOD_NONE, 'Q'},
        {false, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_NONE, VK_RETURN},
        {false, SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT, VK_F4},
        {true, SDL_SCANCODE_D, SDLK_d, KMOD_NONE, VK_S},
        {true, SDL_SCANCODE_KP_6, SDLK_KP_6, KMOD_NONE, VK_S},
        {true, SDL_SCANCODE_S, SDLK_s, KMOD_NONE, 0},
        {true, SDL_SCANCODE_P, SDLK_p, KMOD_NONE, 0},
        {true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE, VK_P},
        {true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, VK_RETURN},
    };
    for (const auto& c : cases) {
        sdl2::set_key_bindings(c.rebind ? rebound : sdl2::default_settings());
        EXPECT_EQ(sdl2::virtual_key(c.label, c.where, c.mod != KMOD_NONE), c.key)
            << SDL_GetKeyName(c.label) << (c.rebind ? " rebound" : "");
    }
    // Through the event queue: the A label at Q's place holds the game's A key.
    sdl2::set_key_bindings(sdl2::default_settings());
    push_key(SDL_SCANCODE_Q, true, KMOD_NONE, false, SDLK_a);
    drain_messages();
    EXPECT_TRUE(held(VK_A));
    push_key(SDL_SCANCODE_Q, false, KMOD_NONE, false, SDLK_a);
    drain_messages();
    EXPECT_FALSE(held(VK_A));
}

TEST(Joystick, GamepadAndPlainJoystickInTheGamesUnits) {
    const PadBindings usual = sdl2::pad_bindings(sdl2::default_settings());
    sdl2::Settings settings = sdl2::default_settings();
    settings.pad_buttons[0] = {"x", "leftshoulder"};
    settings.pad_buttons[3] = {"x"};
    const PadBindings own = sdl2::pad_bindings(settings);
    auto pressing = [](std::initializer_list<SDL_GameControllerButton> buttons) {
        GamepadReading pad;
        for (SDL_GameControllerButton button : buttons) {
            pad.held[button] = true;
        }
        return pad;
    };
    GamepadReading stick;
    stick.left_x = -32768;
    stick.left_y = 32767;
    // The d-pad wins over the stick and goes all the way.
    GamepadReading dpad = stick;
    dpad.held[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] = dpad.held[SDL_CONTROLLER_BUTTON_DPAD_UP] = true;
    const struct {
        GamepadReading pad;
        const PadBindings* bindings;
        uint32_t x, y, buttons;
    } cases[] = {{{}, &usual, 32768, 32768, 0},
                 {stick, &usual, 0, 65535, 0},
                 {dpad, &usual, 65535, 0, 0},
                 {pressing({SDL_CONTROLLER_BUTTON_A}), &usual, 32768, 32768, 0x02 | 0x04},
                 {pressing({SDL_CONTROLLER_BUTTON_B}), &usual, 32768, 32768, 0x01},
                 {pressing({SDL_CONTROLLER_BUTTON_START}), &usual, 32768, 32768, 0x08},
                 {pressing({SDL_CONTROLLER_BUTTON_BACK}), &usual, 32768, 32768, 0x10},
                 {pressing({SDL_CONTROLLER_BUTTON_X}), &usual, 32768, 32768, 0},
                 {pressing({SDL_CONTROLLER_BUTTON_X}), &own, 32768, 32768, 0x01 | 0x08},
                 {pressing({SDL_CONTROLLER_BUTTON_LEFTSHOULDER}), &own, 32768, 32768, 0x01},
                 {pressing({SDL_CONTROLLER_BUTTON_B}), &own, 32768, 32768, 0}};
    JoyInfoEx info{};
    for (const auto& c : cases) {
        map_gamepad(c.pad, *c.bindings, &info);
        EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwYpos, info.dwButtons}),
                  (std::vector<uint32_t>{c.x, c.y, c.buttons}))
            << &c - cases;
    }
    JoystickReading plain;
    plain.axis_count = 1;
    plain.axis0 = 32767;
    plain.axis1 = -32768;  // no second axis: ignored
    plain.buttons[0] = plain.buttons[4] = true;
    map_joystick(plain, &info);
    EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwYpos, info.dwButtons}),
              (std::vector<uint32_t>{65535, 32768, 0x01 | 0x10}));
}

// With nothing plugged in the joystick is there and at rest, so the game keeps reading it; a
// pad plugged in later is read within a fifth of a second, and at rest again once pulled out.
TEST(Joystick, AbsentPadReadsAtRestAndOnePluggedInLaterIsUsed) {
    JoyInfoEx info{};
    JoyCaps caps{};
    ASSERT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
    EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwYpos, info.dwButtons}),
              (std::vector<uint32_t>{32768, 32768, 0}));
    ASSERT_EQ(joy_get_dev_caps(JOYSTICKID1, &caps), JOYERR_NOERROR);
    EXPECT_EQ((std::vector<uint32_t>{caps.wXmin, caps.wXmax, caps.wNumButtons}),
              (std::vector<uint32_t>{0, 65535, 5}));

    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* plugged = SDL_JoystickOpen(index);
    ASSERT_NE(plugged, nullptr) << SDL_GetError();
    SDL_JoystickSetVirtualButton(plugged, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualAxis(plugged, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_Delay(250);  // an absent pad is looked for five times a second
    ASSERT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
    EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwButtons}),
              (std::vector<uint32_t>{65535, 0x08}));
    SDL_JoystickClose(plugged);
    SDL_JoystickDetachVirtual(index);
    ASSERT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
    EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwButtons}),
              (std::vector<uint32_t>{32768, 0}));
}

TEST(Joystick, QueriesRefuseOtherIdsAndNullRecords) {
    JoyInfoEx info{};
    EXPECT_NE(joy_get_pos_ex(1, &info), JOYERR_NOERROR);
    EXPECT_NE(joy_get_dev_caps(2, nullptr), JOYERR_NOERROR);
    EXPECT_NE(joy_get_pos_ex(JOYSTICKID1, nullptr), JOYERR_NOERROR);
    EXPECT_NE(joy_get_dev_caps(JOYSTICKID1, nullptr), JOYERR_NOERROR);
}

}  // namespace
