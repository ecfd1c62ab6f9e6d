// The menu's keys: moving the cursor, changing the settings, and the three ways out (a new game,
// back to the game in progress, and the exit with its bounded wait for the up sound).
#include <gtest/gtest.h>

#include <cstring>

#include "app/game_state.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "menu_fixture.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"

namespace {

namespace headless = platform::headless;
using Kind = headless::SoundEvent::Kind;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_UP;

bool Hardware_Palette_Is(const PALETTEENTRY* palette) {
    return std::memcmp(headless::hardware_palette().data(), palette, 256 * sizeof(PALETTEENTRY)) ==
           0;
}

int Plays() {
    int plays = 0;
    for (const headless::SoundEvent& event : headless::sound_events()) {
        plays += event.kind == Kind::Play;
    }
    return plays;
}

// Time of the first event of this kind for the sound with this id, or -1.
int64_t First_Event_Time(int id, Kind kind) {
    for (const headless::SoundEvent& event : headless::sound_events()) {
        if (event.buffer == sound_slots[id].buffer && event.kind == kind) {
            return int64_t(event.time);
        }
    }
    return -1;
}

class MenuInputTest : public MainMenuTest {
  protected:
    void SetUp() override {
        MainMenuTest::SetUp();
        ASSERT_EQ(Main_Menu(MENU_ENTER), 1);
        headless::clear_sound_events();
    }
};

TEST_F(MenuInputTest, CursorStopsSilentlyAtBothEnds) {
    EXPECT_EQ(Frame({VK_UP}), 1);
    EXPECT_EQ(menu_cursor, 0);
    EXPECT_EQ(Plays(), 0);
    for (int item = 1; item <= 6; ++item) {
        Frame({VK_DOWN});
        EXPECT_EQ(menu_cursor, item);
    }
    EXPECT_EQ(Sound_Events(sound_menu_down, Kind::Play), 6);
    Frame({VK_DOWN});
    EXPECT_EQ(menu_cursor, 6);
    EXPECT_EQ(Sound_Events(sound_menu_down, Kind::Play), 6);
    Frame({VK_UP});
    EXPECT_EQ(menu_cursor, 5);
    EXPECT_EQ(Sound_Events(sound_menu_up, Kind::Play), 1);
}

TEST_F(MenuInputTest, PlayfieldAndLevelStayInsideTheirRanges) {
    menu_cursor = 1;
    for (int i = 0; i < 20; ++i) {
        Frame({VK_RIGHT});
    }
    EXPECT_EQ(playfield_number, 15);
    Frame({VK_LEFT});
    EXPECT_EQ(playfield_number, 14);
    for (int i = 0; i < 20; ++i) {
        Frame({VK_LEFT});
    }
    EXPECT_EQ(playfield_number, 0);

    menu_cursor = 3;
    for (int i = 0; i < 12; ++i) {
        Frame({VK_RIGHT});
    }
    EXPECT_EQ(level, 9);
    level = 12;  // reached in play
    Frame({VK_LEFT});
    EXPECT_EQ(level, 11);
    Frame({VK_RIGHT});
    EXPECT_EQ(level, 9);
    level = 0;
    Frame({VK_LEFT});
    EXPECT_EQ(level, 0);
    EXPECT_EQ(Plays(), 0);  // a change of value is silent
}

TEST_F(MenuInputTest, GameTypeFlipsBothWays) {
    menu_cursor = 2;
    Frame({VK_RIGHT});
    EXPECT_EQ(game_type, GAME_XTREME);
    Frame({VK_RIGHT});
    EXPECT_EQ(game_type, GAME_CLASSIC);
    Frame({VK_LEFT});
    EXPECT_EQ(game_type, GAME_XTREME);
    Frame({VK_LEFT});
    EXPECT_EQ(game_type, GAME_CLASSIC);
}

TEST_F(MenuInputTest, VolumesAreAppliedOnEveryPressEvenAtTheirBounds) {
    menu_cursor = 4;
    Frame({VK_RIGHT});
    EXPECT_EQ(music_volume, 100);
    EXPECT_EQ(Sound_Events(sound_intro, Kind::Volume, 0), 1);
    EXPECT_EQ(Sound_Events(sound_menu_up, Kind::Volume), 0);  // effects untouched
    Frame({VK_LEFT});
    EXPECT_EQ(music_volume, 95);
    EXPECT_EQ(Sound_Events(sound_song, Kind::Volume, -150), 1);
    for (int i = 0; i < 25; ++i) {
        Frame({VK_LEFT});
    }
    EXPECT_EQ(music_volume, 0);
    EXPECT_EQ(Sound_Events(sound_voice, Kind::Volume, -3000), 7);  // reached, then 6 more

    menu_cursor = 5;
    Frame({VK_LEFT});
    EXPECT_EQ(effects_volume, 95);
    EXPECT_EQ(Sound_Events(sound_lock, Kind::Volume, -150), 1);
    effects_volume = 100;
    Frame({VK_RIGHT});
    EXPECT_EQ(Sound_Events(sound_menu_down, Kind::Volume, 0), 1);
    EXPECT_EQ(Sound_Events(sound_intro, Kind::Volume), 27);  // music only from item 4
    EXPECT_EQ(Plays(), 0);
}

TEST_F(MenuInputTest, StartAndExitItemsIgnoreRightAndLeft) {
    for (int item : {0, 6}) {
        menu_cursor = item;
        Frame({VK_RIGHT});
        Frame({VK_LEFT});
    }
    EXPECT_EQ(playfield_number, 0);
    EXPECT_EQ(game_type, 0);
    EXPECT_EQ(level, 0);
    EXPECT_TRUE(headless::sound_events().empty());
}

TEST_F(MenuInputTest, UpAndRightInOneFrameChangeTheNewItem) {
    menu_cursor = 2;
    Frame({VK_UP, VK_RIGHT});
    EXPECT_EQ(menu_cursor, 1);
    EXPECT_EQ(playfield_number, 1);
    EXPECT_EQ(game_type, GAME_CLASSIC);
}

TEST_F(MenuInputTest, EscWithoutAGameJumpsToTheExitAndNeverLeaves) {
    for (int press = 1; press <= 2; ++press) {
        EXPECT_EQ(Frame({VK_ESCAPE}), 1);
        EXPECT_EQ(menu_cursor, 6);
        EXPECT_EQ(Sound_Events(sound_menu_up, Kind::Play), press);
        EXPECT_EQ(game_state, FLOW_MENU);
    }
}

TEST_F(MenuInputTest, EscWithAGameInProgressResumesIt) {
    game_in_progress = 1;
    menu_cursor = 3;
    EXPECT_EQ(Frame({VK_ESCAPE, VK_RIGHT}), 0);
    EXPECT_EQ(game_state, FLOW_PLAYING);
    EXPECT_EQ(level, 0);  // left before the value step
    EXPECT_TRUE(Hardware_Palette_Is(game_palette));
    EXPECT_EQ(Sound_Events(sound_menu_select, Kind::Play), 1);
    const uint8_t* screen = headless::primary_pixels();
    for (int i = 0; i < 640 * 480; ++i) {
        ASSERT_EQ(screen[i], 0) << i;
    }
}

TEST_F(MenuInputTest, SelectStartsANewGameOnlyFromTheFirstItem) {
    for (int item = 1; item <= 5; ++item) {
        menu_cursor = item;
        EXPECT_EQ(Frame({VK_RETURN}), 1) << item;
    }
    EXPECT_EQ(game_state, FLOW_MENU);
    EXPECT_EQ(Plays(), 0);

    menu_cursor = 0;
    EXPECT_EQ(Frame({VK_SPACE}), 0);
    EXPECT_EQ(game_state, FLOW_NEW_GAME);
    EXPECT_TRUE(Hardware_Palette_Is(game_palette));
    EXPECT_EQ(Sound_Events(sound_menu_select, Kind::Play), 1);
}

TEST_F(MenuInputTest, ExitSoundsTheUpSoundToItsEndThenSilenceAndWhite) {
    menu_cursor = 6;
    const uint64_t pressed = headless::now();
    EXPECT_EQ(Frame({VK_RETURN}), 0);
    EXPECT_EQ(game_state, FLOW_EXIT);

    const int64_t played = First_Event_Time(sound_menu_up, Kind::Play);
    const int64_t stopped = First_Event_Time(sound_menu_up, Kind::Stop);
    ASSERT_GE(played, int64_t(pressed));
    EXPECT_GE(stopped - played, int64_t(MENU_SOUND_MS));
    EXPECT_LE(stopped - played, int64_t(MENU_SOUND_MS + 100));
    for (int id = 0; id < 12; ++id) {
        EXPECT_EQ(Sound_Events(id, Kind::Stop), 1) << id;
    }
    EXPECT_EQ(First_Event_Time(sound_intro, Kind::Stop), stopped);  // all stopped together
    for (const PALETTEENTRY& entry : headless::hardware_palette()) {
        ASSERT_EQ(entry.peRed + entry.peGreen + entry.peBlue, 3 * 255);
    }
}

TEST_F(MenuInputTest, ExitWaitEndsAtTheSoundsLengthWhenTheEndNeverComes) {
    // The slot claims a sound of 50 ms while its buffer plays for 200: the wait gives up at the
    // claimed length and a little, with the sound still playing.
    sound_slots[sound_menu_up].length = 2 + 551;
    menu_cursor = 6;
    Frame({VK_RETURN});
    const int64_t played = First_Event_Time(sound_menu_up, Kind::Play);
    const int64_t stopped = First_Event_Time(sound_menu_up, Kind::Stop);
    EXPECT_GE(stopped - played, 150);
    EXPECT_LT(stopped - played, int64_t(MENU_SOUND_MS));
    EXPECT_EQ(game_state, FLOW_EXIT);
}

TEST_F(MenuInputTest, ExitDoesNotWaitForASilentUpSound) {
    const int silent = sound_menu_up;
    sound_menu_up = -1;
    menu_cursor = 6;
    const uint64_t pressed = headless::now();
    EXPECT_EQ(Frame({VK_RETURN}), 0);
    EXPECT_EQ(game_state, FLOW_EXIT);
    const int64_t stopped = First_Event_Time(sound_intro, Kind::Stop);
    EXPECT_LT(stopped - int64_t(pressed), 20);
    sound_menu_up = silent;
}

TEST_F(MenuInputTest, OtherModesDoNothing) {
    EXPECT_EQ(Main_Menu(2), 1);
    EXPECT_EQ(Main_Menu(-1), 1);
    EXPECT_TRUE(headless::sound_events().empty());
    EXPECT_EQ(game_state, FLOW_MENU);
}

}  // namespace
