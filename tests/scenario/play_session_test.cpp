// A session of play through WinMain: a new game and its first frame, moves, a cleared row with
// its sparkle and a level-up, pause, Esc to the menu and back, a second game at the reached
// level that ends, and the way out.
#include <gtest/gtest.h>

#include <cstring>

#include "app/game_main.h"
#include "frontend/main_menu.h"
#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/play_screen.h"
#include "game/playfield_file.h"
#include "game/well.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "support/app_data.h"
#include "support/app_game.h"
#include "support/app_script.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;

namespace {

constexpr int BAR = 5;  // the four-long bar, lying flat in its box's row 2
constexpr int GAP_Y = WELL_SCREEN_Y + APP_LAYOUT_GAP_ROW * CELL_SIZE;

bool Is_Bar() {
    return std::memcmp(piece.body.grid, shape_table[BAR].grid, sizeof piece.body.grid) == 0;
}

bool Shows_Palette(AppPicture picture) {
    return app_palette_is(hl::hardware_palette().data(), picture);
}

// Sparkle dots of the current flash in the given columns of the gap row.
int Sparkle_Dots(int first_column, int columns) {
    const uint8_t* pair = &sparkle_colours[2 * flash_count];
    const int x = WELL_SCREEN_X + first_column * CELL_SIZE;
    const int w = columns * CELL_SIZE;
    return app_count_screen_pixels(x, GAP_Y, w, CELL_SIZE, pair[0]) +
           app_count_screen_pixels(x, GAP_Y, w, CELL_SIZE, pair[1]);
}

}  // namespace

TEST(WholeRun, PlaySessionFromFirstFrameToSecondGameOver) {
    app_expect_in_child([] {
        const int seed = app_seed_for_first_shape(BAR);
        ASSERT_GE(seed, 0);
        uint64_t flips = 0, ended_at = 0;
        int sparkle_frames = 0, kept_score = 0, menu_up_plays = 0;
        Piece kept{};
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([] { Press(platform::VK_RETURN); });
        script.when(State_Is(FLOW_NEW_GAME), [&] {
            Release(platform::VK_RETURN);
            flips = hl::flip_count();
        });
        // The call that sets the game up also plays its first frame.
        script.when(State_Is(FLOW_PLAYING), [&] {
            EXPECT_EQ(flips + 1, hl::flip_count());
            EXPECT_EQ(PIECE_FALLING, piece.state);
            EXPECT_EQ(BAR, piece.shape);
            EXPECT_EQ(1, game_in_progress);
            EXPECT_EQ(1, voice_timer);
            EXPECT_TRUE(Shows_Palette(AppPicture::Background));
            EXPECT_EQ(1, app_count_sound_events(sound_song, Kind::Play, 1));
            EXPECT_GT(app_last_sound_event_time(sound_intro, Kind::Stop),
                      app_last_sound_event_time(sound_intro, Kind::Play));
        });

        // Moves and turns.
        script.hold(platform::VK_LEFT).then([] { EXPECT_EQ(SPAWN_X - CELL_SIZE, piece.x); });
        script.then([] { Press(platform::VK_RIGHT); });
        script.when([] { return piece.x == SPAWN_X; }, [] { Release(platform::VK_RIGHT); });
        script.hold('S').then([] { EXPECT_FALSE(Is_Bar()); });
        script.when([] { return rotate_delay == 0; }, [] { Press('A'); });
        script.when(Is_Bar, [] { Release('A'); });

        // The bar fills the gap of row 24; nine rows counted before make it the tenth.
        script.then([] {
            level_lines = 9;
            Press(platform::VK_DOWN);
        });
        script.when([] { return clear_phase != CLEAR_NONE; },
                    [&] {
                        Release(platform::VK_DOWN);
                        EXPECT_EQ(1, lines_total);
                        ASSERT_EQ(1, full_row_count);
                        EXPECT_EQ(APP_LAYOUT_GAP_ROW, full_rows[0]);
                        flips = hl::flip_count();
                    });
        // Each frame of the clearing, looked at once: dots only in the cells that were the bar's.
        script
            .during([] { return clear_phase == CLEAR_NONE; },
                    [&] {
                        if (hl::flip_count() == flips || clear_phase != CLEAR_FLASH) {
                            flips = hl::flip_count();
                            return;
                        }
                        flips = hl::flip_count();
                        EXPECT_EQ(0, Sparkle_Dots(1, 6) + Sparkle_Dots(11, 6));
                        if (flash_tick < 2) {
                            EXPECT_GT(Sparkle_Dots(7, 4), 0);
                            ++sparkle_frames;
                        } else {
                            EXPECT_EQ(0, Sparkle_Dots(7, 4));
                        }
                    })
            .then([&] {
                EXPECT_EQ(6, sparkle_frames);
                EXPECT_EQ(1, level);
                EXPECT_EQ(0, level_lines);
                EXPECT_GT(score, 0);
                EXPECT_EQ(1, app_count_sound_events(sound_next_level, Kind::Play));
                EXPECT_EQ(CELL_EMPTY, well[APP_LAYOUT_GAP_ROW][8].value);
                EXPECT_TRUE(Is_Fixed_Cell(well[APP_LAYOUT_GAP_ROW][3].value));
            });

        // Pause, held: the play screen stays and the text shows; a new press after a release
        // resumes.
        script.then([] { Press('P'); });
        script.when(State_Is(FLOW_PAUSED), [&] { flips = hl::flip_count(); });
        script.wait(After_Peeks(10)).then([&] {
            EXPECT_EQ(FLOW_PAUSED, game_state);
            EXPECT_EQ(1, pause_latch);
            EXPECT_EQ(flips, hl::flip_count());
            EXPECT_GT(app_count_screen_pixels(448, 432, 150, 24, APP_BACKGROUND_RED), 0);
            Release('P');
        });
        script.when([] { return pause_latch == 0; },
                    [] {
                        EXPECT_EQ(FLOW_PAUSED, game_state);
                        Press('P');
                    });
        script.when(State_Is(FLOW_PLAYING), [] { Release('P'); });

        // Esc leaves the game as it is; still held at the menu's first frame, it takes the game
        // up again.
        script.then([] { Press(platform::VK_ESCAPE); });
        script.when(State_Is(FLOW_MENU), [&] {
            kept = piece;
            kept_score = score;
            EXPECT_EQ(2, app_count_sound_events(sound_intro, Kind::Play, 1));
            EXPECT_GT(app_last_sound_event_time(sound_song, Kind::Stop),
                      app_last_sound_event_time(sound_song, Kind::Play));
        });
        script.then([&] {
            Release(platform::VK_ESCAPE);
            EXPECT_EQ(FLOW_PLAYING, game_state);
            EXPECT_EQ(0, std::memcmp(&kept, &piece, sizeof piece));
            EXPECT_EQ(kept_score, score);
            EXPECT_TRUE(Shows_Palette(AppPicture::Background));
            EXPECT_EQ(2, app_count_sound_events(sound_song, Kind::Play, 1));
            EXPECT_LE(app_last_sound_event_time(sound_song, Kind::SetPosition),
                      app_last_sound_event_time(sound_song, Kind::Play));
        });

        // A second game on the choked layout, at the level the first one reached; it ends, and
        // Esc no longer resumes.
        script.hold(platform::VK_ESCAPE).then([] {
            EXPECT_EQ(FLOW_MENU, game_state);
            EXPECT_TRUE(Shows_Palette(AppPicture::Menu));
        });
        script.hold(platform::VK_DOWN).hold(platform::VK_RIGHT).hold(platform::VK_UP).then([] {
            EXPECT_EQ(APP_LAYOUT_CHOKED, playfield_number);
            Press(platform::VK_RETURN);
        });
        script.when(State_Is(FLOW_NEW_GAME), [] { Release(platform::VK_RETURN); });
        script.when(State_Is(FLOW_PLAYING), [] {
            EXPECT_EQ(1, level);
            EXPECT_EQ(3, piece.speed);
            EXPECT_EQ(0, score + lines_total + level_lines);
        });
        script.when(State_Is(FLOW_GAME_ENDING), [&] {
            ended_at = hl::now();
            EXPECT_EQ(PIECE_BLOCKED, piece.state);
        });
        script.when(State_Is(FLOW_MENU), [&] {
            EXPECT_GE(hl::now() - ended_at, 2000u);
            EXPECT_EQ(0, game_in_progress);
            EXPECT_EQ(4, app_count_sound_events(sound_intro, Kind::Play, 1));
            menu_up_plays = app_count_sound_events(sound_menu_up, Kind::Play);
        });
        script.hold(platform::VK_ESCAPE).then([&] {
            EXPECT_EQ(FLOW_MENU, game_state);
            EXPECT_EQ(MENU_ITEM_EXIT, menu_cursor);
            EXPECT_EQ(menu_up_plays + 1, app_count_sound_events(sound_menu_up, Kind::Play));
        });

        // The exit item, and Enter still held leaves the closing screen.
        script.then([] { Press(platform::VK_RETURN); });
        script.when(State_Is(FLOW_SHUTDOWN), [] { Release(platform::VK_RETURN); });
        EXPECT_EQ(0, script.run(app_make_data_dir(), uint32_t(seed)));
    });
}
