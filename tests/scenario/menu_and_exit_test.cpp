// The whole program through WinMain: start-up, the menu's items and settings, and the way out by
// the exit item and the closing screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/level_art.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "graphics/bitmap_file.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"
#include "support/app_data.h"
#include "support/app_game.h"
#include "support/app_script.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;

namespace {

int Last_Volume(int id) {
    int value = 1;
    for (const hl::SoundEvent& event : hl::sound_events()) {
        if (event.kind == Kind::Volume && event.buffer == sound_slots[id].buffer) {
            value = event.value;
        }
    }
    return value;
}

// The settings walked by the keys: a key held for some menu frames, and the value it leaves.
struct Setting {
    int key;
    int frames;
    const int* value;
    int expected;
};

}  // namespace

TEST(WholeRun, StartUpMenuSettingsAndTheWayOut) {
    app_expect_in_child([] {
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([] {
            // The title for two seconds and its fade, then the menu with its looping music.
            EXPECT_GE(app_last_sound_event_time(sound_intro, Kind::Play) -
                          app_last_sound_event_time(sound_splash, Kind::Play),
                      2000 + 80 * 12);
            EXPECT_EQ(1, app_count_sound_events(sound_intro, Kind::Play, 1));
            EXPECT_TRUE(app_palette_is(hl::hardware_palette().data(), AppPicture::Menu));
            // The level art's palette is the one the menu keeps for play.
            EXPECT_TRUE(app_palette_is(game_palette_save, AppPicture::Background));
            EXPECT_EQ(0, menu_cursor);
        });
        script.hold(platform::VK_UP).then([] {
            EXPECT_EQ(0, menu_cursor);
            EXPECT_EQ(0, app_count_sound_events(sound_menu_up, Kind::Play));
        });
        script.hold(platform::VK_DOWN, 8).then([] {
            EXPECT_EQ(6, menu_cursor);
            EXPECT_EQ(6, app_count_sound_events(sound_menu_down, Kind::Play));
            EXPECT_EQ(44 * 44, app_count_screen_pixels(98, 393, 44, 44, APP_BUTTON_PIXEL + 6));
        });
        script.hold(platform::VK_UP, 5).then([] { EXPECT_EQ(1, menu_cursor); });
        const int down = platform::VK_DOWN, left = platform::VK_LEFT, right = platform::VK_RIGHT;
        const Setting settings[] = {{right, 20, &playfield_number, 15},
                                    {left, 20, &playfield_number, 0},
                                    {down, 1, &menu_cursor, 2},
                                    {right, 1, &game_type, 1},
                                    {right, 1, &game_type, 0},
                                    {left, 1, &game_type, 1},
                                    {left, 1, &game_type, 0},
                                    {down, 1, &menu_cursor, 3},
                                    {right, 12, &level, 9},
                                    {left, 12, &level, 0},
                                    {down, 1, &menu_cursor, 4},
                                    {left, 21, &music_volume, 0},
                                    {right, 21, &music_volume, 100},
                                    {down, 1, &menu_cursor, 5},
                                    {left, 1, &effects_volume, 95},
                                    {right, 2, &effects_volume, 100},
                                    {down, 1, &menu_cursor, 6}};
        for (const Setting& s : settings) {
            script.hold(s.key, s.frames).then([s] {
                EXPECT_EQ(s.expected, *s.value) << "after key " << s.key << " in " << menu_cursor;
                if (s.value == &music_volume) {
                    EXPECT_EQ(s.expected == 0 ? -3000 : 0, Last_Volume(sound_intro));
                } else if (s.value == &effects_volume && s.expected == 95) {
                    EXPECT_EQ(-150, Last_Volume(sound_menu_up));
                    EXPECT_EQ(0, Last_Volume(sound_intro));
                }
            });
        }

        // The exit item: its sound to the end, everything stopped, the screen faded to white.
        script.then([] { Press(platform::VK_RETURN); });
        script.when(State_Is(FLOW_EXIT), [] {
            Release(platform::VK_RETURN);
            EXPECT_GE(app_last_sound_event_time(sound_intro, Kind::Stop),
                      app_last_sound_event_time(sound_menu_up, Kind::Play) + 100);
            const auto palette = hl::hardware_palette();
            EXPECT_TRUE(std::all_of(palette.begin(), palette.end(), [](const auto& entry) {
                return entry.peRed == 255 && entry.peGreen == 255 && entry.peBlue == 255;
            })) << "faded to white";
        });
        script.when(State_Is(FLOW_CLOSING_SCREEN), [] {
            EXPECT_EQ(640 * 480, app_count_screen_pixels(0, 0, 640, 480, APP_CLOSING_PIXEL));
            EXPECT_TRUE(app_palette_is(hl::hardware_palette().data(), AppPicture::Closing));
            EXPECT_EQ(1, app_count_sound_events(sound_trail, Kind::Play, 0));
            Press(platform::VK_DOWN);
        });
        // It waits, whatever else is held, until Esc, Space or Enter.
        script.wait(After_Peeks(30)).then([] {
            EXPECT_EQ(FLOW_CLOSING_SCREEN, game_state);
            Release(platform::VK_DOWN);
            Press(platform::VK_SPACE);
        });
        script.when(State_Is(FLOW_SHUTDOWN), [] {
            EXPECT_EQ(0, hl::hardware_palette()[1].peRed);  // faded to black
            EXPECT_EQ(14, hl::hardware_palette()[1].peBlue);
            EXPECT_EQ(nullptr, block_images[3].buffer);
            EXPECT_EQ(nullptr, menu_background.buffer);
            EXPECT_EQ(nullptr, work_bitmap.buffer);  // the closing picture too
            // The next message ends the loop without reaching the window: it closes nothing.
            platform::post_message(hl::main_window(), platform::WM_USER, 1, 0);
            Release(platform::VK_SPACE);
        });
        EXPECT_EQ(0, script.run(app_make_data_dir(), 321));
        EXPECT_NE(nullptr, hl::main_window());
        EXPECT_TRUE(hl::cursor_visible());
        EXPECT_EQ(nullptr, hl::primary_pixels());  // the display was shut down
        EXPECT_FALSE(hl::audio_device_open());
    });
}
