// The game flow driven call by call: each test runs in a forked child, so it starts from the
// globals of a fresh process.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/game_main.h"
#include "app/level_art.h"
#include "app/pictures.h"
#include "app/winmain.h"
#include "common/game_state.h"
#include "common/main_window.h"
#include "common/random.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "game/well.h"
#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "support/app_data.h"
#include "support/app_game.h"
#include "support/headless_fixture.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;

namespace {

// Platform, window and display up, then the first call: start-up and one menu frame.
void Start_In_Menu(const std::string& dir = app_make_data_dir(), uint32_t millis = 417) {
    app_start_platform(dir, millis);
    main_window = test_support::create_test_window(WindowProc);
    ASSERT_EQ(1, DD_Init(main_window));
    ASSERT_EQ(1, Game_Main());
    ASSERT_EQ(FLOW_MENU, game_state);
}

// As the menu's start item leaves it (the game's palette back), on a plain well; the next call
// sets the game up and plays its first frame.
void Start_Game() {
    Set_Palette(game_palette_save, 256);
    playfield_number = 2;
    game_state = FLOW_NEW_GAME;
    ASSERT_EQ(1, Game_Main());
}

}  // namespace

// Start-up's first call, the title, and the pictures that may be missing.
TEST(GameFlow, StartUpTitleAndLevelArt) {
    app_expect_in_child([] {
        const std::string dir = app_make_data_dir();
        level = music_volume = effects_volume = playfield_number = score = level_lines = 7;
        game_type = GAME_XTREME;
        Start_In_Menu(dir, 417);
        for (int value : {level, playfield_number, game_type, score, level_lines}) {
            EXPECT_EQ(0, value);
        }
        EXPECT_EQ(100, music_volume);
        EXPECT_EQ(100, effects_volume);
        EXPECT_EQ(7, shape_count);
        // Seeded from the system time's millisecond field: the shapes drawn match that seed.
        const Piece dealt = piece;
        Random_Seed(417);
        Reset_Piece(&piece);
        EXPECT_EQ(dealt.shape, piece.shape);
        EXPECT_EQ(dealt.next_shape, piece.next_shape);
        // Each block cut from its own cell of the sheet.
        for (int block : {1, 8, 31}) {
            ASSERT_EQ(IMAGE_LOADED, block_images[block].state);
            EXPECT_EQ(APP_BLOCK_PIXEL + block, block_images[block].buffer[0]);
            EXPECT_EQ(APP_BLOCK_PIXEL + block, block_images[block].buffer[255]);
        }
        EXPECT_EQ(APP_BACKGROUND_PIXEL, play_background.buffer[640 * 480 - 1]);

        EXPECT_EQ(1, Show_Title_Screen());
        EXPECT_EQ(640 * 480, app_count_screen_pixels(0, 0, 640, 480, APP_TITLE_PIXEL));
        const auto palette = hl::hardware_palette();
        EXPECT_EQ(250, palette[0].peRed);  // entry 0 keeps its colour
        EXPECT_EQ(10, palette[1].peRed);   // 250 less 80 steps of 3
        EXPECT_EQ(0, palette[200].peGreen);
        EXPECT_EQ(nullptr, work_bitmap.buffer);
        std::remove((dir + "/CSSPL8.BMP").c_str());
        const uint64_t before = hl::now();
        EXPECT_EQ(0, Show_Title_Screen());
        EXPECT_LT(hl::now() - before, 100u);

        // A name that does not fit the 80-byte buffer is refused, not cut to another file's.
        const std::string prefix(75, 'a');
        const std::string cut = (prefix + "BLK8.BMP").substr(0, 79);
        std::rename((dir + "/lv1BLK8.BMP").c_str(), (dir + "/" + cut).c_str());
        EXPECT_EQ(0, Load_Level_Art(prefix.c_str()));
        EXPECT_EQ(nullptr, block_images[0].buffer);
        EXPECT_EQ(nullptr, play_background.buffer);
    });
}

// At least 43 ms from the frame's start, also when the tick count wraps before the sleep ends
// or during the spin; a refused lock or device context loses only the drawing.
TEST(GameFlow, PlayFramesKeepTheirLengthAndSurviveRefusedDrawing) {
    app_expect_in_child([] {
        Start_In_Menu();
        Start_Game();
        for (uint64_t start :
             {uint64_t(100000), uint64_t(0xFFFFFFFFu) - 5, uint64_t(0xFFFFFFFFu) - 35}) {
            hl::set_time(start);
            ASSERT_EQ(1, Game_Main());
            EXPECT_GE(hl::now() - start, 43u) << "from " << start;
            EXPECT_LT(hl::now() - start, 60u) << "from " << start;
        }

        hl::fail(platform::backend::Step::SurfaceGetDC);
        hl::set_key('P', true);
        ASSERT_EQ(1, Game_Main());
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_PAUSED, game_state);
        EXPECT_EQ(0, app_count_screen_pixels(448, 432, 150, 24, APP_BACKGROUND_RED)) << "no text";
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

// In the frame in which the game ends the end wins, whatever is held; otherwise Esc beats P.
TEST(GameFlow, TheGameEndBeatsHeldKeysAndEscapeBeatsPause) {
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

        ASSERT_EQ(1, Game_Main());  // the two seconds' hold, then the menu
        Start_Game();               // its first frame sees both keys
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
            // A seed whose draws (the reference generator's) give the voice first in the
            // wanted frame.
            uint32_t seed = 0;
            for (;; ++seed) {
                uint32_t state = seed;
                auto next = [&state] {
                    state = state * 214013u + 2531011u;
                    return int((state >> 16) & 0x7FFF);
                };
                const bool first = next() % 5 == 1;
                if (wanted_frame == 3001 ? first : (!first && next() % 5 == 1)) {
                    break;
                }
            }
            Random_Seed(seed);
            voice_timer = 2999;
            for (int frame = 3000; frame <= wanted_frame; ++frame) {
                EXPECT_EQ(0, app_count_sound_events(sound_voice, Kind::Play)) << frame;
                ASSERT_EQ(1, Game_Main());
                ASSERT_EQ(PIECE_FALLING, piece.state);
            }
            EXPECT_EQ(1, app_count_sound_events(sound_voice, Kind::Play, 0));
            EXPECT_EQ(0, voice_timer);
        });
    }
}
