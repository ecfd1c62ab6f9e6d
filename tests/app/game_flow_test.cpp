// The game flow driven call by call on the game's own data files, for what a recorded session
// cannot reach: the clock wrapping, refused drawing, the exit's hold, the voice's frame and a
// level-art name too long. Each test runs in a forked child, so it starts from the globals of a
// fresh process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/game_main.h"
#include "app/level_art.h"
#include "app/winmain.h"
#include "common/game_state.h"
#include "common/main_window.h"
#include "common/random.h"
#include "frontend/main_menu.h"
#include "game/piece.h"
#include "game/well.h"
#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "platform/common/key_taps.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"
#include "support/app_game.h"
#include "support/headless_fixture.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;

namespace {

// A tap during the menu's entry sleep must still be read by its first frame.
static_assert(platform::kTapMemoryMs > MENU_ENTER_SLEEP_MS);

// Platform, window and display up, then the first call: start-up and one menu frame.
void Start_In_Menu() {
    app_start_platform(CELLSTORM_BIN_DIR, 417);
    main_window = test_support::create_test_window(WindowProc);
    ASSERT_EQ(1, DD_Init(main_window));
    ASSERT_EQ(1, Game_Main());
    ASSERT_EQ(FLOW_MENU, game_state);
}

// As the menu's start item leaves it; the next call sets the game up and plays its first frame.
void Start_Game() {
    game_state = FLOW_NEW_GAME;
    ASSERT_EQ(1, Game_Main());
}

int Plays(int id, int32_t value = -1) {
    int count = 0;
    for (const hl::SoundEvent& event : hl::sound_events()) {
        count += event.buffer == sound_slots[id].buffer && event.kind == Kind::Play &&
                 (value == -1 || event.value == value);
    }
    return count;
}

}  // namespace

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
// The closing picture then stays a second before its keys are read.
TEST(GameFlow, TheGameEndBeatsHeldKeysEscapeBeatsPauseAndTheExitHolds) {
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

        // The exit item: the up sound to its end (120 ms), everything stopped; then the closing
        // picture with its sound, held a second.
        hl::release_all_keys();
        menu_cursor = MENU_ITEM_EXIT;
        hl::set_key(platform::VK_RETURN, true);
        hl::clear_sound_events();
        ASSERT_EQ(1, Game_Main());
        ASSERT_EQ(FLOW_EXIT, game_state);
        ASSERT_EQ(1, Plays(sound_menu_up));
        const uint64_t up = hl::sound_events().front().time;
        uint64_t stopped = 0;
        for (const hl::SoundEvent& event : hl::sound_events()) {
            stopped = event.kind == Kind::Stop && stopped == 0 ? event.time : stopped;
        }
        EXPECT_GE(stopped - up, 120u);
        EXPECT_LE(stopped - up, 230u);
        // Then 64 steps to white, every entry: each waits 12 ms, and each clock read costs one.
        EXPECT_EQ(hl::now() - stopped, 64 * 13u);
        const auto white = hl::hardware_palette();
        EXPECT_TRUE(std::all_of(white.begin(), white.end(), [](const auto& entry) {
            return entry.peRed == 255 && entry.peGreen == 255 && entry.peBlue == 255;
        }));
        hl::clear_sound_events();
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_CLOSING_SCREEN, game_state);
        ASSERT_EQ(1, Plays(sound_trail));
        EXPECT_EQ(1000u, hl::now() - hl::sound_events().back().time);

        // Space, still held: the closing picture fades to black, and its pixels and the art go.
        hl::set_key(platform::VK_SPACE, true);
        const uint64_t closing = hl::now();
        ASSERT_EQ(1, Game_Main());
        EXPECT_EQ(FLOW_SHUTDOWN, game_state);
        EXPECT_EQ(hl::now() - closing, 80 * 13u + 2);  // 80 steps to black
        const auto palette = hl::hardware_palette();
        EXPECT_TRUE(std::all_of(palette.begin() + 1, palette.end(), [](const auto& entry) {
            return entry.peRed < 16 && entry.peGreen < 16 && entry.peBlue < 16;
        }));
        EXPECT_EQ(nullptr, work_bitmap.buffer);
        EXPECT_EQ(nullptr, block_images[3].buffer);
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
                EXPECT_EQ(0, Plays(sound_voice)) << frame;
                ASSERT_EQ(1, Game_Main());
                ASSERT_EQ(PIECE_FALLING, piece.state);
            }
            EXPECT_EQ(1, Plays(sound_voice, 0));
            EXPECT_EQ(0, voice_timer);
        });
    }
}

// A level-art name that does not fit the 80-byte buffer is refused, not cut to another file's.
TEST(GameFlow, ALevelArtNameTooLongIsRefused) {
    app_expect_in_child([] {
        Start_In_Menu();
        const std::string prefix(75, 'a');
        const std::string cut = (prefix + "BLK8.BMP").substr(0, 79);
        const auto dir =
            std::filesystem::temp_directory_path() / ("cellstorm-art-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::copy_file(std::string(CELLSTORM_BIN_DIR) + "/lv1BLK8.BMP", dir / cut);
        hl::set_data_dirs({dir.string(), CELLSTORM_BIN_DIR});
        EXPECT_EQ(0, Load_Level_Art(prefix.c_str()));
        EXPECT_EQ(nullptr, block_images[0].buffer);
        EXPECT_EQ(1, Load_Level_Art("lv1"));
        EXPECT_NE(nullptr, block_images[0].buffer);
        std::filesystem::remove_all(dir);
    });
}
