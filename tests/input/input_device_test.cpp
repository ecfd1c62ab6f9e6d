#include "input/input_device.h"

#include <gtest/gtest.h>

#include "platform/headless/control.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;
using namespace platform;  // the VK_ key codes

// The scripted joystick's default: axes 0..65535 resting at 32767, so a quarter range of 16383.
constexpr uint32_t REST = 32767;
constexpr uint32_t DEAD = 65535 >> 2;

// One poll: the stick (x, y, button mask), up to two keys held (0: none), and what it gives.
struct Case {
    uint32_t x, y, stick_buttons;
    int key_1, key_2;
    int32_t dx, dy;
    uint32_t buttons;
};

class InputDeviceTest : public test_support::HeadlessTest {
  protected:
    // Polls as the game does, checking also the two leading fields every poll clears.
    static void Expect(InputDevice& device, const Case& c) {
        SCOPED_TRACE(testing::Message()
                     << c.x << "," << c.y << " keys " << c.key_1 << "," << c.key_2);
        headless::set_joystick_position(c.x, c.y, c.stick_buttons);
        headless::release_all_keys();
        for (int key : {c.key_1, c.key_2}) {
            headless::set_key(key, key != 0);
        }
        input_state = InputState{-1, -1, 9, 9, 0xFFFFFFFF};
        EXPECT_EQ(device.Poll(&input_state), 1);
        EXPECT_EQ(input_state.reserved_1, 0);
        EXPECT_EQ(input_state.reserved_2, 0);
        EXPECT_EQ(input_state.dx, c.dx);
        EXPECT_EQ(input_state.dy, c.dy);
        EXPECT_EQ(input_state.buttons, c.buttons);
    }
};

TEST_F(InputDeviceTest, KeysAloneAndWithTheStickAreSummedAndTheirBitsOred) {
    InputDevice keyboard_only;
    headless::set_joystick_present(true);
    InputDevice device;
    const Case keys[] = {
        {REST, REST, 0, VK_P, 0, 0, 0, INPUT_PAUSE},
        {REST, REST, 0, VK_P, 0, 0, 0, INPUT_PAUSE},  // held: set again in every poll
        {REST, REST, 0, VK_ESCAPE, 0, 0, 0, INPUT_MENU},
        {REST, REST, 0, VK_S, 0, 0, 0, INPUT_BUTTON_2},
        {REST, REST, 0, VK_A, 0, 0, 0, INPUT_BUTTON_1},
        {REST, REST, 0, VK_RETURN, 0, 0, 0, INPUT_SELECT},
        {REST, REST, 0, VK_SPACE, 0, 0, 0, INPUT_SELECT},
        {REST, REST, 0, VK_LEFT, VK_UP, -1, -1, INPUT_LEFT | INPUT_UP},
        {REST, REST, 0, VK_UP, VK_DOWN, 0, 1, INPUT_DOWN},  // Down wins over Up
        {REST, REST, 0, VK_LEFT, VK_RIGHT, 1, 0, INPUT_RIGHT},
        {REST, REST, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : keys) {
        Expect(keyboard_only, c);
        Expect(device, c);
    }
    const Case stick[] = {
        {REST + 20000, REST + 20000, 0, VK_RIGHT, VK_DOWN, 2, 2, INPUT_RIGHT | INPUT_DOWN},
        {REST - 20000, REST - 20000, 0, VK_RIGHT, VK_DOWN, 0, 0,
         INPUT_RIGHT | INPUT_LEFT | INPUT_DOWN | INPUT_UP},
        {REST, REST, 1, 0, 0, 0, 0, INPUT_BUTTON_1},
        {REST, REST, 2, 0, 0, 0, 0, INPUT_BUTTON_2},
        {REST, REST, 4, 0, 0, 0, 0, INPUT_SELECT},
        {REST, REST, 8, 0, 0, 0, 0, INPUT_PAUSE},
        {REST, REST, 16, 0, 0, 0, 0, INPUT_MENU},
        {REST, REST, 0xFFE0, 0, 0, 0, 0, 0},  // buttons past the fifth
        // A deflection equal to the dead zone is centred; one more counts.
        {REST + DEAD, REST - DEAD, 0, 0, 0, 0, 0, 0},
        {REST - DEAD, REST + DEAD, 0, 0, 0, 0, 0, 0},
        {REST + DEAD + 1, REST, 0, 0, 0, 1, 0, INPUT_RIGHT},
        {REST - DEAD - 1, REST, 0, 0, 0, -1, 0, INPUT_LEFT},
        {REST, REST + DEAD + 1, 0, 0, 0, 0, 1, INPUT_DOWN},
        {REST, REST - DEAD - 1, 0, 0, 0, 0, -1, INPUT_UP},
    };
    for (const Case& c : stick) {
        Expect(device, c);
    }
    // The joystick missing at start-up is never read, and keys stay at +-1.
    Expect(keyboard_only, {65535, 65535, 0x1F, VK_RIGHT, VK_DOWN, 1, 1, INPUT_RIGHT | INPUT_DOWN});
}

TEST_F(InputDeviceTest, RestPositionAndDeadZonesComeFromStartUp) {
    headless::set_joystick_present(true);
    headless::set_joystick_caps(platform::JoyCaps{1000, 3000, 0, 400, 5});
    headless::set_joystick_position(1200, 100, 0);
    InputDevice device;
    Expect(device, {1200, 100, 0, 0, 0, 0, 0, 0});  // far from the middle, but where it rested
    Expect(device, {1700, 200, 0, 0, 0, 0, 0, 0});  // dead zones of 500 and 100
    Expect(device, {1701, 201, 0, 0, 0, 1, 1, INPUT_RIGHT | INPUT_DOWN});

    // Without capabilities every deviation counts.
    headless::fail(Step::JoystickCaps);
    headless::set_joystick_position(REST, REST, 0);
    InputDevice uncapped;
    Expect(uncapped, {REST + 1, REST - 1, 0, 0, 0, 1, -1, INPUT_RIGHT | INPUT_UP});
}

TEST_F(InputDeviceTest, SilentJoystickContributesNothingAndIsReadAgainLater) {
    headless::set_joystick_present(true);
    InputDevice device;
    headless::set_joystick_present(false);
    Expect(device, {65535, REST, 1, VK_LEFT, 0, -1, 0, INPUT_LEFT});
    headless::set_joystick_present(true);
    headless::fail(Step::JoystickPosition, 1);
    Expect(device, {65535, REST, 1, VK_LEFT, 0, -1, 0, INPUT_LEFT});
    // Answering again, against the rest position measured at start-up.
    Expect(device, {65535, REST, 1, VK_LEFT, 0, 0, 0, INPUT_LEFT | INPUT_RIGHT | INPUT_BUTTON_1});
}

}  // namespace
