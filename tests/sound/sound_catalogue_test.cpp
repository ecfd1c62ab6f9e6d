#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/headless/control.h"
#include "sound/sound_slots.h"
#include "support/headless_fixture.h"
#include "support/voc_file.h"
#include "support/voc_sound_state.h"

namespace {

namespace headless = platform::headless;
using Kind = headless::SoundEvent::Kind;
using platform::backend::Step;

int* const catalogue[12] = {&sound_menu_up, &sound_menu_down, &sound_menu_select, &sound_intro,
                            &sound_line,    &sound_lock,      &sound_next_level,  &sound_loser,
                            &sound_song,    &sound_voice,     &sound_trail,       &sound_splash};

// 1,103 samples: a tenth of a second.
constexpr size_t SAMPLES = 1103;

class SoundCatalogueTest : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        voc_reset_sound_state();
        dir = voc_make_scratch_dir();
        headless::set_data_dirs({dir});
        main_window = test_support::create_test_window();
        ASSERT_TRUE(write_game_sound_files(dir, SAMPLES));
    }
    void TearDown() override {
        Release_Game_Sounds();
        main_window = nullptr;
        voc_remove_scratch_dir(dir);
        HeadlessTest::TearDown();
    }

    // Events of one kind, as (buffer, value) pairs.
    static std::vector<std::pair<const platform::SoundBuffer*, int32_t>> Events(Kind kind) {
        std::vector<std::pair<const platform::SoundBuffer*, int32_t>> found;
        for (const headless::SoundEvent& event : headless::sound_events()) {
            if (event.kind == kind) {
                found.emplace_back(event.buffer, event.value);
            }
        }
        return found;
    }

    static const platform::SoundBuffer* Buffer(int id) { return sound_slots[id].buffer; }

    std::string dir;
};

TEST_F(SoundCatalogueTest, AllFilesLoadIntoSlotsInCatalogueOrder) {
    EXPECT_EQ(Load_Game_Sounds(), 1);
    for (int row = 0; row < 12; row++) {
        EXPECT_EQ(*catalogue[row], row);
        EXPECT_NE(Buffer(row), nullptr);
    }
    // New buffers are at full level: the first-start 100 % is applied to nothing.
    EXPECT_TRUE(Events(Kind::Volume).empty());
}

TEST_F(SoundCatalogueTest, MissingFileLeavesItsSoundSilentAndTheRestLoaded) {
    std::remove((dir + "/XSLOCK.VOC").c_str());
    EXPECT_EQ(Load_Game_Sounds(), -1);
    EXPECT_EQ(sound_lock, -1);
    EXPECT_EQ(sound_line, 4);
    EXPECT_EQ(sound_next_level, 5);
    EXPECT_EQ(sound_splash, 10);

    headless::clear_sound_events();
    for (int id : {sound_lock, 16, -7}) {
        EXPECT_EQ(Play_Sound(id, 0, 0, 0, 0), 1);
        EXPECT_EQ(Stop_Sound(id), 1);
        EXPECT_EQ(Get_Sound_Status(id), -1);
    }
    EXPECT_TRUE(headless::sound_events().empty());
    EXPECT_EQ(Get_Sound_Status(11), -1);  // a slot that was never filled
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

TEST_F(SoundCatalogueTest, PlayingAgainRestartsFromTheBeginning) {
    ASSERT_EQ(Load_Game_Sounds(), 1);
    ASSERT_EQ(Play_Sound(sound_lock, 0, 0, 0, 0), 1);
    headless::advance(60);
    headless::clear_sound_events();
    ASSERT_EQ(Play_Sound(sound_lock, 0, 0, 0, 0), 1);
    auto rewinds = Events(Kind::SetPosition);
    ASSERT_EQ(rewinds.size(), 1u);
    EXPECT_EQ(rewinds[0].second, 0);

    // A whole tenth of a second again from the restart, not what was left of the first play.
    headless::advance(90);
    EXPECT_EQ(Get_Sound_Status(sound_lock), 1);
    headless::advance(20);
    EXPECT_EQ(Get_Sound_Status(sound_lock), 0);
}

TEST_F(SoundCatalogueTest, StatusReportsPlayingAndLooping) {
    ASSERT_EQ(Load_Game_Sounds(), 1);
    EXPECT_EQ(Get_Sound_Status(sound_intro), 0);
    Play_Sound(sound_intro, 0, 0, 0, 1);
    Play_Sound(sound_line, 0, 0, 0, 0);
    headless::advance(500);
    EXPECT_EQ(Get_Sound_Status(sound_intro), 5);
    EXPECT_EQ(Get_Sound_Status(sound_line), 0);

    headless::fail(Step::SoundBufferPlay, 1);
    EXPECT_EQ(Play_Sound(sound_line, 0, 0, 0, 0), 0);
    headless::fail(Step::SoundBufferSetPosition, 1);
    EXPECT_EQ(Play_Sound(sound_line, 0, 0, 0, 0), 0);
    EXPECT_EQ(Get_Sound_Status(sound_line), 0);
}

TEST_F(SoundCatalogueTest, StopRewindsPlayingAndStoppedSounds) {
    ASSERT_EQ(Load_Game_Sounds(), 1);
    headless::clear_sound_events();
    EXPECT_EQ(Stop_Sound(sound_song), 1);
    auto rewinds = Events(Kind::SetPosition);
    ASSERT_EQ(rewinds.size(), 1u);
    EXPECT_EQ(rewinds[0], std::make_pair(Buffer(sound_song), 0));

    Play_Sound(sound_song, 0, 0, 0, 1);
    Play_Sound(sound_intro, 0, 0, 0, 1);
    EXPECT_EQ(Stop_All_Sounds(), 1);
    EXPECT_EQ(Get_Sound_Status(sound_song), 0);
    EXPECT_EQ(Get_Sound_Status(sound_intro), 0);
    EXPECT_EQ(Events(Kind::Stop).size(), 1u + 12u);
}

TEST_F(SoundCatalogueTest, EachVolumeGroupTouchesOnlyItsOwnSounds) {
    ASSERT_EQ(Load_Game_Sounds(), 1);
    headless::clear_sound_events();
    effects_volume = 95;
    EXPECT_EQ(Set_Effects_Volume(), 1);
    std::vector<std::pair<const platform::SoundBuffer*, int32_t>> expected;
    for (int id : {sound_menu_up, sound_menu_down, sound_menu_select, sound_line, sound_lock,
                   sound_next_level, sound_loser}) {
        expected.emplace_back(Buffer(id), -150);
    }
    EXPECT_EQ(Events(Kind::Volume), expected);

    headless::clear_sound_events();
    music_volume = 0;
    EXPECT_EQ(Set_Music_Volume(), 1);
    expected.clear();
    for (int id : {sound_intro, sound_song, sound_voice}) {
        expected.emplace_back(Buffer(id), -3000);
    }
    EXPECT_EQ(Events(Kind::Volume), expected);
}

}  // namespace
