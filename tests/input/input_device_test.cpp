#include "input/input_device.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/headless/control.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;

// The scripted joystick's default: axes 0..65535 resting at 32767, so a quarter range of 16383.
constexpr uint32_t REST = 32767;
constexpr uint32_t DEAD_ZONE = 65535 >> 2;

class InputDeviceTest : public test_support::HeadlessTest {
  protected:
    // Polls into input_state as the game does, checking what every poll promises.
    static InputState Poll(InputDevice& device) {
        input_state = InputState{-1, -1, 9, 9, 0xFFFFFFFF};
        EXPECT_EQ(device.Poll(&input_state), 1);
        EXPECT_EQ(input_state.reserved_1, 0);
        EXPECT_EQ(input_state.reserved_2, 0);
        return input_state;
    }

    static void Hold(std::initializer_list<int> keys) {
        headless::release_all_keys();
        for (int key : keys) {
            headless::set_key(key, true);
        }
    }

    static void Expect(const InputState& state, int32_t dx, int32_t dy, uint32_t buttons) {
        EXPECT_EQ(state.dx, dx);
        EXPECT_EQ(state.dy, dy);
        EXPECT_EQ(state.buttons, buttons);
    }
};

TEST_F(InputDeviceTest, KeysSetTheirBitsInEveryPoll) {
    InputDevice device;
    const struct {
        int key;
        uint32_t bit;
    } keys[] = {
        {platform::VK_P, INPUT_PAUSE},       {platform::VK_ESCAPE, INPUT_MENU},
        {platform::VK_S, INPUT_BUTTON_2},    {platform::VK_A, INPUT_BUTTON_1},
        {platform::VK_RETURN, INPUT_SELECT}, {platform::VK_SPACE, INPUT_SELECT},
    };
    for (const auto& entry : keys) {
        Hold({entry.key});
        for (int poll = 0; poll < 3; poll++) {
            Expect(Poll(device), 0, 0, entry.bit);
        }
    }
    Hold({platform::VK_LEFT, platform::VK_UP});
    Expect(Poll(device), -1, -1, INPUT_LEFT | INPUT_UP);
    // Down wins over Up and Right over Left.
    Hold({platform::VK_UP, platform::VK_DOWN, platform::VK_LEFT, platform::VK_RIGHT});
    Expect(Poll(device), 1, 1, INPUT_DOWN | INPUT_RIGHT);
    Hold({});
    Expect(Poll(device), 0, 0, 0);
}

TEST_F(InputDeviceTest, StickAndKeysAreSummedAndTheirBitsOred) {
    headless::set_joystick_present(true);
    InputDevice device;
    ASSERT_EQ(device.joystick_present, 1);

    headless::set_joystick_position(REST + 20000, REST + 20000, 0);
    Hold({platform::VK_RIGHT, platform::VK_DOWN});
    Expect(Poll(device), 2, 2, INPUT_RIGHT | INPUT_DOWN);

    headless::set_joystick_position(REST - 20000, REST - 20000, 0);
    Expect(Poll(device), 0, 0, INPUT_RIGHT | INPUT_LEFT | INPUT_DOWN | INPUT_UP);

    Hold({});
    const uint32_t expected[5] = {INPUT_BUTTON_1, INPUT_BUTTON_2, INPUT_SELECT, INPUT_PAUSE,
                                  INPUT_MENU};
    for (int button = 0; button < 5; button++) {
        headless::set_joystick_position(REST, REST, 1u << button);
        Expect(Poll(device), 0, 0, expected[button]);
    }
    headless::set_joystick_position(REST, REST, 0xFFE0);  // buttons past the fifth
    Expect(Poll(device), 0, 0, 0);
}

TEST_F(InputDeviceTest, DeflectionEqualToTheDeadZoneIsCentred) {
    headless::set_joystick_present(true);
    InputDevice device;
    EXPECT_EQ(device.dead_zone_x, int32_t(DEAD_ZONE));
    EXPECT_EQ(device.dead_zone_y, int32_t(DEAD_ZONE));
    const struct {
        uint32_t x, y;
        int32_t dx, dy;
        uint32_t buttons;
    } cases[] = {
        {REST + DEAD_ZONE, REST - DEAD_ZONE, 0, 0, 0},
        {REST - DEAD_ZONE, REST + DEAD_ZONE, 0, 0, 0},
        {REST + DEAD_ZONE + 1, REST, 1, 0, INPUT_RIGHT},
        {REST - DEAD_ZONE - 1, REST, -1, 0, INPUT_LEFT},
        {REST, REST + DEAD_ZONE + 1, 0, 1, INPUT_DOWN},
        {REST, REST - DEAD_ZONE - 1, 0, -1, INPUT_UP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        headless::set_joystick_position(c.x, c.y, 0);
        Expect(Poll(device), c.dx, c.dy, c.buttons);
    }
}

TEST_F(InputDeviceTest, RestPositionAndDeadZonesComeFromStartUp) {
    headless::set_joystick_present(true);
    headless::set_joystick_caps(platform::JoyCaps{1000, 3000, 0, 400, 5});
    headless::set_joystick_position(1200, 100, 0);
    InputDevice device;
    EXPECT_EQ(device.dead_zone_x, 500);
    EXPECT_EQ(device.dead_zone_y, 100);
    Expect(Poll(device), 0, 0, 0);  // far from the middle, but where it rested
    headless::set_joystick_position(1701, 201, 0);
    Expect(Poll(device), 1, 1, INPUT_RIGHT | INPUT_DOWN);

    // Without capabilities every deviation counts.
    headless::fail(Step::JoystickCaps);
    headless::set_joystick_position(REST, REST, 0);
    InputDevice uncapped;
    EXPECT_EQ(uncapped.dead_zone_x, 0);
    headless::set_joystick_position(REST + 1, REST - 1, 0);
    Expect(Poll(uncapped), 1, -1, INPUT_RIGHT | INPUT_UP);
}

TEST_F(InputDeviceTest, JoystickMissingAtStartUpIsNeverRead) {
    InputDevice device;
    EXPECT_EQ(device.joystick_present, 0);
    headless::set_joystick_present(true);
    headless::set_joystick_position(65535, 65535, 0x1F);
    Hold({platform::VK_RIGHT, platform::VK_DOWN});
    Expect(Poll(device), 1, 1, INPUT_RIGHT | INPUT_DOWN);
}

TEST_F(InputDeviceTest, SilentJoystickContributesNothingAndIsReadAgainLater) {
    headless::set_joystick_present(true);
    InputDevice device;
    headless::set_joystick_present(false);
    Hold({platform::VK_LEFT});
    Expect(Poll(device), -1, 0, INPUT_LEFT);

    headless::set_joystick_present(true);
    headless::set_joystick_position(65535, REST, 0x01);
    headless::fail(Step::JoystickPosition, 1);
    Expect(Poll(device), -1, 0, INPUT_LEFT);
    // Answering again, against the rest position measured at start-up.
    Expect(Poll(device), 0, 0, INPUT_LEFT | INPUT_RIGHT | INPUT_BUTTON_1);
}

TEST_F(InputDeviceTest, GlobalDeviceReadsTheKeyboard) {
    Hold({platform::VK_ESCAPE});
    input_device.Poll(&input_state);
    EXPECT_EQ(input_state.buttons & INPUT_MENU, INPUT_MENU);
}

}  // namespace
