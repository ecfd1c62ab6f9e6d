// Playback and recording at the seam with a joystick, which the whole-game run under Xvfb has
// none of: each poll reads its line, the stick rests where the recording says, and a recording
// made of the playback says the same again.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/input_poll.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/sdl2/input_session.h"

using namespace platform;

namespace {

TEST(InputSession, PlaybackFeedsEachPollWithItsJoystickAndARecordingOfItSaysTheSame) {
    const std::string lines = "2*down jx=65535\n- jx=40000 jb=4\n";
    Script script;
    std::string error;
    ASSERT_TRUE(
        parse_script("# seed 321\n# joystick 40000 32767\n" + lines, false, &script, &error))
        << error;
    sdl2::start_playback(script);
    const std::string path = "/tmp/cellstorm-session-" + std::to_string(getpid()) + ".txt";
    ASSERT_TRUE(sdl2::start_recording(path, "test", &error)) << error;
    EXPECT_EQ(system_time_millis(), 321);

    // The first poll looks for the joystick again and finds the recording's, at rest.
    ASSERT_TRUE(input_source_changed());
    JoyInfoEx info{};
    info.dwSize = sizeof(info);
    ASSERT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
    EXPECT_EQ(info.dwXpos, 40000u);
    const uint32_t expected_x[] = {65535, 65535, 40000};
    const bool expected_down[] = {true, true, false};
    for (int poll = 0; poll < 3; ++poll) {
        if (poll > 0) {
            EXPECT_FALSE(input_source_changed());
        }
        input_poll_begins();
        ASSERT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
        EXPECT_EQ(info.dwXpos, expected_x[poll]) << poll;
        EXPECT_EQ(info.dwButtons, poll == 2 ? 4u : 0u) << poll;
        EXPECT_EQ(async_key_state(VK_DOWN) < 0, expected_down[poll]) << poll;
        input_poll_ends();
    }
    // Run out: the devices are the player's again (no pad plugged in here: one at rest).
    EXPECT_TRUE(input_source_changed());
    ASSERT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
    EXPECT_EQ((std::vector<uint32_t>{info.dwXpos, info.dwYpos, info.dwButtons}),
              (std::vector<uint32_t>{32768, 32768, 0}));

    ASSERT_TRUE(sdl2::finish_recording("score=0"));
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    EXPECT_EQ(text.str(),
              "# test\n# seed 321\n# joystick 40000 32767\n" + lines + "# end polls=3 score=0\n");
}

}  // namespace
