// The game flow driven call by call: each test runs in a forked child, so it starts from the
// globals of a fresh process.
#include <gtest/gtest.h>

#include <cstring>

#include "app/game_main.h"
#include "app/game_state.h"
#include "app/level_art.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/winmain.h"
#include "common/random.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "game/well.h"
#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "support/app_child.h"
#include "support/app_data.h"
#include "support/app_game.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;

namespace {

// Platform, window and display up, then the first call: start-up and one menu frame.
void Start_In_Menu(const AppDataSet& set = AppDataSet(), uint32_t millis = 417) {
    app_start_platform(app_make_data_dir(set), millis);
    ASSERT_TRUE(app_open_window_and_display());
    ASSERT_EQ(1, Game_Main());
    ASSERT_EQ(FLOW_MENU, game_state);
}

// As the menu's start item leaves it (the game's palette back); the next call sets the game up
// and plays its first frame.
void Start_Game(int layout = 2) {
    PALETTEENTRY game_palette[256];
    app_fill_palette(AppPicture::Background, game_palette);
    Set_Palette(game_palette, 256);
    playfield_number = layout;
    game_state = FLOW_NEW_GAME;
    ASSERT_EQ(1, Game_Main());
}

// Red text pixels where the pause text goes; the game's palette holds an exact red.
int Pause_Text_Pixels() {
    return app_count_screen_pixels(448, 432, 150, 24, APP_BACKGROUND_RED);
}

// The reference generator, to know what the next draws will be.
struct Reference {
    uint32_t state;
    int Next() {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    }
};

}  // namespace

TEST(GameFlow, FirstCallGivesStartValuesSeedsAndCutsTheArt) {
    app_expect_in_child([] {
        level = 7;
        music_volume = 35;
        effects_volume = 40;
        playfield_number = 3;
        game_type = GAME_XTREME;
        score = 99;
        level_lines = 4;
        Start_In_Menu(AppDataSet(), 417);
        EXPECT_EQ(0, level);
        EXPECT_EQ(100, music_volume);
        EXPECT_EQ(100, effects_volume);
        EXPECT_EQ(0, playfield_number);
        EXPECT_EQ(GAME_CLASSIC, game_type);
        EXPECT_EQ(0, score);
        EXPECT_EQ(0, level_lines);
        EXPECT_EQ(7, shape_count);

        // Seeded from the system time's millisecond field: the shapes drawn match that seed.
        const int shape = piece.shape;
        const int next = piece.next_shape;
        Random_Seed(417);
        Reset_Piece(&piece);
        EXPECT_EQ(shape, piece.shape);
        EXPECT_EQ(next, piece.next_shape);

        ASSERT_EQ(IMAGE_LOADED, block_images[31].state);
        EXPECT_EQ(APP_BLOCK_PIXEL + 31, block_images[31].buffer[0]);
        EXPECT_EQ(APP_BLOCK_PIXEL + 31, block_images[31].buffer[255]);
        EXPECT_EQ(APP_BLOCK_PIXEL + 8, block_images[8].buffer[0]);
        ASSERT_EQ(IMAGE_LOADED, play_background.state);
        EXPECT_EQ(APP_BACKGROUND_PIXEL, play_background.buffer[640 * 480 - 1]);
        EXPECT_EQ(nullptr, work_bitmap.buffer);
    });
}

TEST(GameFlow, TitleIsShownThenFadedAndMissingTitleIsSkipped) {
    app_expect_in_child([] {
        app_start_platform(app_make_data_dir(), 0);
        ASSERT_TRUE(app_open_window_and_display());
        EXPECT_EQ(1, Show_Title_Screen());
        EXPECT_EQ(640 * 480, app_count_screen_pixels(0, 0, 640, 480, APP_TITLE_PIXEL));
        const auto palette = hl::hardware_palette();
        EXPECT_EQ(250, palette[0].peRed);  // entry 0 keeps its colour
        EXPECT_EQ(10, palette[1].peRed);
        EXPECT_EQ(0, palette[200].peGreen);
        EXPECT_EQ(platform::PC_NOCOLLAPSE, palette[1].peFlags);
        EXPECT_EQ(nullptr, work_bitmap.buffer);
    });
    app_expect_in_child([] {
        AppDataSet set;
        set.pictures[int(AppPicture::Title)] = false;
        app_start_platform(app_make_data_dir(set), 0);
        ASSERT_TRUE(app_open_window_and_display());
        const uint64_t before = hl::now();
        EXPECT_EQ(0, Show_Title_Screen());
        EXPECT_LT(hl::now() - before, 100u);
        EXPECT_TRUE(hl::sound_events().empty());
    });
}

TEST(GameFlow, LevelArtLoadsRefusesAndFrees) {
    app_expect_in_child([] {
        const std::string dir = app_make_data_dir();
        app_start_platform(dir, 0);
        ASSERT_TRUE(app_open_window_and_display());
        ASSERT_EQ(1, Load_Level_Art("lv1"));
        EXPECT_TRUE(app_palette_is(hl::hardware_palette().data(), AppPicture::Background));

        // A name that does not fit the 80-byte buffer is refused, not cut to another file's.
        const std::string prefix(75, 'a');
        const std::string cut = (prefix + "BLK8.BMP").substr(0, 79);
        std::rename((dir + "/lv1BLK8.BMP").c_str(), (dir + "/" + cut).c_str());
        EXPECT_EQ(0, Load_Level_Art(prefix.c_str()));
        EXPECT_EQ(nullptr, block_images[0].buffer);
        EXPECT_EQ(nullptr, play_background.buffer);

        // Without the background the blocks stay and the palette is not touched.
        std::rename((dir + "/" + cut).c_str(), (dir + "/lv1BLK8.BMP").c_str());
        std::remove((dir + "/lv1DS8.BMP").c_str());
        const uint64_t palette_sets = hl::palette_set_count();
        EXPECT_EQ(0, Load_Level_Art("lv1"));
        EXPECT_EQ(IMAGE_LOADED, block_images[5].state);
        EXPECT_EQ(nullptr, play_background.buffer);
        EXPECT_EQ(palette_sets, hl::palette_set_count());

        Create_Image(&menu_background, 0, 0, 4, 4);
        Create_Image(&menu_buttons[6], 0, 0, 4, 4);
        EXPECT_EQ(1, Free_Art_Images());
        EXPECT_EQ(nullptr, block_images[5].buffer);
        EXPECT_EQ(nullptr, menu_background.buffer);
        EXPECT_EQ(nullptr, menu_buttons[6].buffer);
    });
}

TEST(GameFlow, NewGameSetsUpAndPlaysItsFirstFrameInTheSameCall) {
    app_expect_in_child([] {
        Start_In_Menu();
        level = 12;  // as a finished game may leave it
        score = 5;
        clears_of_4 = 2;
        Start_Game(0);
        EXPECT_EQ(FLOW_PLAYING, game_state);
        EXPECT_EQ(1, game_in_progress);
        EXPECT_EQ(PIECE_FALLING, piece.state);
        EXPECT_EQ(12, level);
        EXPECT_EQ(14, piece.speed);
        EXPECT_EQ(0, score);
        EXPECT_EQ(0, clears_of_4);
        EXPECT_EQ(1, voice_timer);
    });
}

TEST(GameFlow, PlayFrameLastsAtLeast43msAlsoAcrossATickWrap) {
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        // Wraps before the sleep ends, and during the spin.
        for (uint64_t start :
             {uint64_t(100000), uint64_t(0xFFFFFFFFu) - 5, uint64_t(0xFFFFFFFFu) - 35}) {
            hl::set_time(start);
            ASSERT_EQ(1, Game_Main());
            const uint64_t took = hl::now() - start;
            EXPECT_GE(took, 43u) << "from " << start;
            EXPECT_LT(took, 60u) << "from " << start;
        }
    });
}

TEST(GameFlow, PauseTogglesThroughTheLatchAndWritesItsText) {
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        hl::set_key('P', true);
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PAUSED, game_state);
        EXPECT_EQ(1, pause_latch);
        EXPECT_EQ(0, Pause_Text_Pixels());

        // Held: still paused, the text shows, and these frames do not sleep.
        const uint64_t before = hl::now();
        ASSERT_EQ(1, Game_Main());
        EXPECT_LT(hl::now() - before, 20u);
        EXPECT_EQ(FLOW_PAUSED, game_state);
        EXPECT_EQ(1, pause_latch);
        EXPECT_GT(Pause_Text_Pixels(), 20);

        hl::set_key('P', false);
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PAUSED, game_state);
        EXPECT_EQ(0, pause_latch);

        const int y = piece.y;
        hl::set_key('P', true);
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PLAYING, game_state);
        EXPECT_EQ(y, piece.y);
        // Still held at the next play frame: paused again.
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PAUSED, game_state);
        EXPECT_NE(y, piece.y);
    });
}

TEST(GameFlow, RefusedDeviceContextOrLockOnlyLosesTheDrawing) {
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        hl::fail(platform::backend::Step::SurfaceGetDC);
        hl::set_key('P', true);
        ASSERT_EQ(1, Game_Main());
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PAUSED, game_state);
        EXPECT_EQ(0, Pause_Text_Pixels());
        hl::set_key('P', false);
        hl::clear_faults();

        game_state = FLOW_PLAYING;
        hl::fail(platform::backend::Step::SurfaceLock);
        const uint64_t flips = hl::flip_count();
        const int y = piece.y;
        for (int frame = 0; frame < 3; ++frame) {
            ASSERT_EQ(1, Game_Main());
        }
        EXPECT_EQ(FLOW_PLAYING, game_state);
        EXPECT_GT(piece.y, y);  // the rules ran on
        EXPECT_EQ(flips + 3, hl::flip_count());
        EXPECT_EQ(nullptr, back_buffer);
    });
}

TEST(GameFlow, EscapeEntersTheMenuAndAHeldEscapeResumesAtOnce) {
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        const platform::SoundBuffer* song = app_sound_buffer(sound_song);
        const platform::SoundBuffer* intro = app_sound_buffer(sound_intro);
        hl::set_key(platform::VK_ESCAPE, true);
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_MENU, game_state);
        EXPECT_EQ(1, game_in_progress);
        EXPECT_EQ(2, app_count_sound_events(intro, Kind::Play, 1));
        const int y = piece.y;
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PLAYING, game_state);
        EXPECT_EQ(y, piece.y);
        EXPECT_EQ(1, app_count_sound_events(song, Kind::Play, 1));
        EXPECT_GT(app_last_sound_event_time(intro, Kind::Stop),
                  app_last_sound_event_time(intro, Kind::Play));
    });
}

// The frame in which the game ends keeps its end whatever keys are held; Esc beats P.
TEST(GameFlow, GameEndWinsOverHeldKeysAndEscapeBeatsPause) {
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        hl::set_key(platform::VK_ESCAPE, true);
        hl::set_key('P', true);
        for (int row = 0; row < 4; ++row) {
            for (int column = 1; column < WELL_COLUMNS - 1; ++column) {
                well[row][column].value = CELL_WALL;
            }
        }
        piece.state = PIECE_SPAWN;
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_GAME_ENDING, game_state);
        EXPECT_EQ(0, pause_latch);
        EXPECT_EQ(1, game_in_progress);

        const uint64_t before = hl::now();
        ASSERT_EQ(1, Game_Main());
        EXPECT_GE(hl::now() - before, 2000u);
        EXPECT_EQ(FLOW_MENU, game_state);
        EXPECT_EQ(0, game_in_progress);
    });
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        hl::set_key(platform::VK_ESCAPE, true);
        hl::set_key('P', true);
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_MENU, game_state);
        EXPECT_EQ(0, pause_latch);
    });
}

// The voice can first sound in the 3001st play frame, on that frame's first draw.
TEST(GameFlow, VoiceComesFromTheDrawOfFrame3001On) {
    for (int wanted_frame : {3001, 3002}) {
        app_expect_in_child([wanted_frame] {
            Start_In_Menu();
            Start_Game();
            const platform::SoundBuffer* voice = app_sound_buffer(sound_voice);
            // A seed whose draws give the voice first in the wanted frame.
            uint32_t seed = 0;
            for (;; ++seed) {
                Reference r{seed};
                const bool first = r.Next() % 5 == 1;
                if (wanted_frame == 3001 ? first : (!first && r.Next() % 5 == 1)) {
                    break;
                }
            }
            Random_Seed(seed);
            voice_timer = 2999;
            for (int frame = 3000; frame <= wanted_frame; ++frame) {
                EXPECT_EQ(0, app_count_sound_events(voice, Kind::Play)) << frame;
                ASSERT_EQ(1, Game_Main());
                ASSERT_EQ(PIECE_FALLING, piece.state);
            }
            EXPECT_EQ(1, app_count_sound_events(voice, Kind::Play, 0));
            EXPECT_EQ(0, voice_timer);
        });
    }
}

TEST(GameFlow, ClosingScreenWaitsForItsKeysThenReleasesEverything) {
    for (int key : {platform::VK_ESCAPE, platform::VK_SPACE, platform::VK_RETURN}) {
        app_expect_in_child([key] {
            Start_In_Menu();
            const platform::SoundBuffer* trail = app_sound_buffer(sound_trail);
            game_state = FLOW_EXIT;
            const uint64_t before = hl::now();
            ASSERT_EQ(1, Game_Main());
            EXPECT_GE(hl::now() - before, 1000u);
            EXPECT_EQ(FLOW_CLOSING_SCREEN, game_state);
            EXPECT_EQ(640 * 480, app_count_screen_pixels(0, 0, 640, 480, APP_CLOSING_PIXEL));
            EXPECT_TRUE(app_palette_is(hl::hardware_palette().data(), AppPicture::Closing));
            EXPECT_EQ(1, app_count_sound_events(trail, Kind::Play, 0));

            hl::set_key('A', true);
            for (int frame = 0; frame < 5; ++frame) {
                ASSERT_EQ(1, Game_Main());
            }
            EXPECT_EQ(FLOW_CLOSING_SCREEN, game_state);

            hl::set_key(key, true);
            ASSERT_EQ(1, Game_Main());
            EXPECT_EQ(FLOW_SHUTDOWN, game_state);
            EXPECT_EQ(0, hl::hardware_palette()[1].peRed);    // 128 faded to black
            EXPECT_EQ(14, hl::hardware_palette()[1].peBlue);  // 254 less 80 steps of 3
            EXPECT_GE(app_count_sound_events(trail, Kind::Stop), 1);
            EXPECT_EQ(nullptr, block_images[3].buffer);
            EXPECT_EQ(nullptr, menu_background.buffer);
            EXPECT_FALSE(hl::audio_device_open());
            EXPECT_EQ(nullptr, work_bitmap.buffer);  // the closing picture too
            ASSERT_EQ(1, Game_Main());
            EXPECT_EQ(FLOW_SHUTDOWN, game_state);
        });
    }
}

TEST(GameFlow, MissingClosingPictureEndsTheLoop) {
    app_expect_in_child([] {
        AppDataSet set;
        set.pictures[int(AppPicture::Closing)] = false;
        Start_In_Menu(set);
        const platform::SoundBuffer* trail = app_sound_buffer(sound_trail);
        game_state = FLOW_EXIT;
        EXPECT_EQ(0, Game_Main());
        EXPECT_EQ(0, app_count_sound_events(trail, Kind::Play));
    });
}

TEST(GameFlow, WindowProcSwallowsInputAndPaintsNothing) {
    app_expect_in_child([] {
        app_start_platform(app_make_data_dir());
        ASSERT_TRUE(app_open_window_and_display());
        const uint64_t shown = hl::primary_change_count();
        for (uint32_t message : {platform::WM_CREATE, platform::WM_PAINT, platform::WM_KEYDOWN,
                                 platform::WM_KEYUP, platform::WM_TIMER, platform::WM_MOUSEMOVE}) {
            EXPECT_EQ(0, WindowProc(main_window, message, platform::VK_ESCAPE, 0)) << message;
        }
        EXPECT_EQ(0, WindowProc(main_window, platform::WM_USER, 2, 0));
        platform::Message message{};
        EXPECT_FALSE(platform::peek_message(&message)) << message.message;
        EXPECT_EQ(shown, hl::primary_change_count());

        EXPECT_EQ(0, WindowProc(main_window, platform::WM_USER, 1, 0));
        ASSERT_TRUE(platform::peek_message(&message));
        EXPECT_EQ(platform::WM_CLOSE, message.message);
    });
}
