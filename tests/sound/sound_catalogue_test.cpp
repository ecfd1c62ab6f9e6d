#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "sound/sound_slots.h"
#include "sound_fixture.h"
#include "support/voc_file.h"

namespace {

namespace headless = platform::headless;
using Kind = headless::SoundEvent::Kind;
using platform::backend::Step;
using Events = std::vector<std::pair<const platform::SoundBuffer*, int32_t>>;

int* const catalogue[12] = {&sound_menu_up, &sound_menu_down, &sound_menu_select, &sound_intro,
                            &sound_line,    &sound_lock,      &sound_next_level,  &sound_loser,
                            &sound_song,    &sound_voice,     &sound_trail,       &sound_splash};

class SoundCatalogueTest : public SoundTest {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_TRUE(write_game_sound_files(dir, 1103));  // a tenth of a second each
    }
    // Events of one kind, as (buffer, value) pairs.
    static Events Of(Kind kind) {
        Events found;
        for (const headless::SoundEvent& event : headless::sound_events()) {
            if (event.kind == kind) {
                found.emplace_back(event.buffer, event.value);
            }
        }
        return found;
    }
    static Events Each(std::initializer_list<int> ids, int32_t value) {
        Events events;
        for (int id : ids) {
            events.emplace_back(sound_slots[id].buffer, value);
        }
        return events;
    }
};

TEST_F(SoundCatalogueTest, AllFilesLoadInOrderAndEachVolumeGroupTouchesOnlyItsOwnSounds) {
    EXPECT_EQ(Load_Game_Sounds(), 1);
    for (int row = 0; row < 12; row++) {
        EXPECT_EQ(*catalogue[row], row);
        EXPECT_NE(sound_slots[row].buffer, nullptr);
    }
    EXPECT_TRUE(Of(Kind::Volume).empty());  // the first-start 100 % is applied to nothing
    effects_volume = 95;
    EXPECT_EQ(Set_Effects_Volume(), 1);
    EXPECT_EQ(Of(Kind::Volume), Each({sound_menu_up, sound_menu_down, sound_menu_select, sound_line,
                                      sound_lock, sound_next_level, sound_loser},
                                     -150));
    headless::clear_sound_events();
    music_volume = 0;
    EXPECT_EQ(Set_Music_Volume(), 1);
    EXPECT_EQ(Of(Kind::Volume), Each({sound_intro, sound_song, sound_voice}, -3000));
}

TEST_F(SoundCatalogueTest, MissingFileLeavesItsSoundSilentAndTheRestLoaded) {
    std::remove((dir + "/XSLOCK.VOC").c_str());
    EXPECT_EQ(Load_Game_Sounds(), -1);
    EXPECT_EQ(sound_lock, -1);
    EXPECT_EQ(sound_line, 4);
    EXPECT_EQ(sound_next_level, 5);
    EXPECT_EQ(sound_splash, 10);

    headless::clear_sound_events();
    for (int id : {sound_lock, 16, -7, 11}) {  // 11: a slot that was never filled
        EXPECT_EQ(Play_Sound(id, 0, 0, 0, 0), 1);
        EXPECT_EQ(Stop_Sound(id), 1);
        EXPECT_EQ(Get_Sound_Status(id), -1);
    }
    EXPECT_TRUE(headless::sound_events().empty());
}

TEST_F(SoundCatalogueTest, WithoutADeviceEverySoundIsSilent) {
    headless::fail(Step::SoundCreate);
    EXPECT_EQ(Load_Game_Sounds(), -1);
    for (int* id : catalogue) {
        EXPECT_EQ(*id, -1);
        EXPECT_EQ(Play_Sound(*id, 0, 0, 0, 1), 1);
    }
    effects_volume = 50;
    EXPECT_EQ(Set_Effects_Volume(), 1);
    EXPECT_EQ(Stop_All_Sounds(), 1);
    EXPECT_TRUE(headless::sound_events().empty());
}

TEST_F(SoundCatalogueTest, PlayRestartsStatusShowsLoopsAndStopRewinds) {
    ASSERT_EQ(Load_Game_Sounds(), 1);
    ASSERT_EQ(Play_Sound(sound_lock, 0, 0, 0, 0), 1);
    ASSERT_EQ(Play_Sound(sound_intro, 0, 0, 0, 1), 1);
    headless::advance(60);
    headless::clear_sound_events();
    ASSERT_EQ(Play_Sound(sound_lock, 0, 0, 0, 0), 1);
    EXPECT_EQ(Of(Kind::SetPosition), Each({sound_lock}, 0));
    // A whole tenth of a second again from the restart, not what was left of the first play.
    headless::advance(90);
    EXPECT_EQ(Get_Sound_Status(sound_lock), 1);
    headless::advance(20);
    EXPECT_EQ(Get_Sound_Status(sound_lock), 0);
    EXPECT_EQ(Get_Sound_Status(sound_intro), 5);

    // Stopping a stopped sound still rewinds it.
    headless::clear_sound_events();
    EXPECT_EQ(Stop_Sound(sound_song), 1);
    EXPECT_EQ(Of(Kind::SetPosition), Each({sound_song}, 0));
    EXPECT_EQ(Stop_All_Sounds(), 1);
    EXPECT_EQ(Get_Sound_Status(sound_intro), 0);
}

}  // namespace
