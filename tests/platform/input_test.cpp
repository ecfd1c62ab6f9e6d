#include <gtest/gtest.h>

#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;

class Input : public test_support::HeadlessTest {
  protected:
    uint32_t read(JoyInfoEx* info, uint32_t size = sizeof(JoyInfoEx)) {
        *info = JoyInfoEx{};
        info->dwSize = size;
        info->dwFlags = JOY_RETURNALL;
        return joy_get_pos_ex(JOYSTICKID1, info);
    }
};

TEST_F(Input, KeysAreHeldUntilReleased) {
    headless::set_key(VK_LEFT, true);
    EXPECT_EQ(uint16_t(async_key_state(VK_LEFT)), 0x8000);
    EXPECT_EQ(uint16_t(async_key_state(VK_LEFT)), 0x8000) << "still held";
    EXPECT_EQ(async_key_state(VK_RIGHT), 0);
    headless::release_all_keys();
    EXPECT_EQ(async_key_state(VK_LEFT), 0);
    EXPECT_EQ(async_key_state(-1), 0);
}

TEST_F(Input, JoystickAbsentPresentAndFailingMidRun) {
    JoyInfoEx info;
    JoyCaps caps{};
    EXPECT_EQ(read(&info), JOYERR_UNPLUGGED);
    EXPECT_EQ(joy_get_dev_caps(JOYSTICKID1, &caps), JOYERR_UNPLUGGED);
    headless::set_joystick_present(true);
    ASSERT_EQ(read(&info), JOYERR_NOERROR);
    EXPECT_EQ(info.dwXpos, 32767u) << "at rest";
    headless::set_joystick_position(0, 65535, 0x1F);
    headless::set_joystick_caps({100, 900, 0, 500, 4});
    ASSERT_EQ(read(&info), JOYERR_NOERROR);
    EXPECT_EQ(info.dwYpos, 65535u);
    EXPECT_EQ(info.dwButtons, 0x1Fu);
    ASSERT_EQ(joy_get_dev_caps(JOYSTICKID1, &caps), JOYERR_NOERROR);
    EXPECT_EQ(caps.wXmin, 100u);
    EXPECT_EQ(read(&info, 40), JOYERR_PARMS) << "the record's size is checked";
    headless::fail(backend::Step::JoystickPosition, 2);
    EXPECT_EQ(read(&info), JOYERR_UNPLUGGED);
    EXPECT_EQ(read(&info), JOYERR_UNPLUGGED);
    EXPECT_EQ(read(&info), JOYERR_NOERROR) << "answers again";
}

}  // namespace
