// The whole program through WinMain: start-up, the menu's items and settings, and the way out by
// the exit item and the closing screen.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/winmain.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "graphics/bitmap_file.h"
#include "platform/keyboard.h"
#include "scenario_steps.h"
#include "sound/sound.h"
#include "support/app_child.h"
#include "support/app_data.h"
#include "support/app_game.h"
#include "support/app_script.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;
using namespace scenario;

namespace {

struct Sounds {
    const platform::SoundBuffer* menu_up = nullptr;
    const platform::SoundBuffer* menu_down = nullptr;
    const platform::SoundBuffer* intro = nullptr;
    const platform::SoundBuffer* splash = nullptr;
    const platform::SoundBuffer* trail = nullptr;
};

int Last_Volume(const platform::SoundBuffer* buffer) {
    int value = 1;
    for (const hl::SoundEvent& event : hl::sound_events()) {
        if (event.buffer == buffer && event.kind == Kind::Volume) {
            value = event.value;
        }
    }
    return value;
}

bool Palette_All_White() {
    for (const platform::PaletteEntry& entry : hl::hardware_palette()) {
        if (entry.peRed != 255 || entry.peGreen != 255 || entry.peBlue != 255) {
            return false;
        }
    }
    return true;
}

// Holds the key for `frames` menu frames, then checks the setting.
void Step_Setting(AppScript& script, int key, int frames, const int* setting, int expected) {
    script.hold(key, frames).then([setting, expected, key] {
        EXPECT_EQ(expected, *setting) << "after key " << key;
    });
}

}  // namespace

TEST(WholeRun, StartUpMenuSettingsAndTheWayOut) {
    app_expect_in_child([] {
        app_start_platform(app_make_data_dir(), 321);
        Sounds s;
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([&s] {
            s = {app_sound_buffer(sound_menu_up), app_sound_buffer(sound_menu_down),
                 app_sound_buffer(sound_intro), app_sound_buffer(sound_splash),
                 app_sound_buffer(sound_trail)};
            // The title for two seconds and its fade, then the menu with its looping music.
            EXPECT_GE(app_last_sound_event_time(s.intro, Kind::Play) -
                          app_last_sound_event_time(s.splash, Kind::Play),
                      2000 + 80 * 12);
            EXPECT_EQ(1, app_count_sound_events(s.intro, Kind::Play, 1));
            EXPECT_TRUE(app_palette_is(hl::hardware_palette().data(), AppPicture::Menu));
            // The level art's palette is the one the menu keeps for play.
            EXPECT_TRUE(app_palette_is(game_palette_save, AppPicture::Background));
            EXPECT_EQ(0, menu_cursor);
        });
        script.hold(platform::VK_UP).then([&s] {
            EXPECT_EQ(0, menu_cursor);
            EXPECT_EQ(0, app_count_sound_events(s.menu_up, Kind::Play));
        });
        script.hold(platform::VK_DOWN, 8).then([&s] {
            EXPECT_EQ(6, menu_cursor);
            EXPECT_EQ(6, app_count_sound_events(s.menu_down, Kind::Play));
            EXPECT_EQ(44 * 44, app_count_screen_pixels(98, 393, 44, 44, APP_BUTTON_PIXEL + 6));
        });
        script.hold(platform::VK_UP, 5).then([] { EXPECT_EQ(1, menu_cursor); });
        Step_Setting(script, platform::VK_RIGHT, 20, &playfield_number, 15);
        Step_Setting(script, platform::VK_LEFT, 20, &playfield_number, 0);
        script.hold(platform::VK_DOWN);
        Step_Setting(script, platform::VK_RIGHT, 1, &game_type, 1);
        Step_Setting(script, platform::VK_RIGHT, 1, &game_type, 0);
        Step_Setting(script, platform::VK_LEFT, 1, &game_type, 1);
        Step_Setting(script, platform::VK_LEFT, 1, &game_type, 0);
        script.hold(platform::VK_DOWN);
        Step_Setting(script, platform::VK_RIGHT, 12, &level, 9);
        Step_Setting(script, platform::VK_LEFT, 12, &level, 0);
        script.hold(platform::VK_DOWN);
        Step_Setting(script, platform::VK_LEFT, 21, &music_volume, 0);
        script.then([&s] { EXPECT_EQ(-3000, Last_Volume(s.intro)); });
        Step_Setting(script, platform::VK_RIGHT, 21, &music_volume, 100);
        script.then([&s] { EXPECT_EQ(0, Last_Volume(s.intro)); });
        script.hold(platform::VK_DOWN);
        Step_Setting(script, platform::VK_LEFT, 1, &effects_volume, 95);
        script.then([&s] {
            EXPECT_EQ(-150, Last_Volume(s.menu_up));
            EXPECT_EQ(0, Last_Volume(s.intro));
        });
        Step_Setting(script, platform::VK_RIGHT, 2, &effects_volume, 100);
        script.hold(platform::VK_DOWN).then([] { EXPECT_EQ(6, menu_cursor); });

        // The exit item: its sound to the end, everything stopped, the screen faded to white.
        script.then([] { Press(platform::VK_RETURN); });
        script.when(State_Is(FLOW_EXIT), [&s] {
            Release(platform::VK_RETURN);
            EXPECT_GE(app_last_sound_event_time(s.intro, Kind::Stop),
                      app_last_sound_event_time(s.menu_up, Kind::Play) + 100);
            EXPECT_TRUE(Palette_All_White());
        });
        script.when(State_Is(FLOW_CLOSING_SCREEN), [&s] {
            EXPECT_EQ(640 * 480, app_count_screen_pixels(0, 0, 640, 480, APP_CLOSING_PIXEL));
            EXPECT_TRUE(app_palette_is(hl::hardware_palette().data(), AppPicture::Closing));
            EXPECT_EQ(1, app_count_sound_events(s.trail, Kind::Play, 0));
        });
        // It waits, whatever else is held, until Esc, Space or Enter.
        script.then([] { Press(platform::VK_DOWN); });
        script.wait(After_Peeks(30)).then([] {
            EXPECT_EQ(FLOW_CLOSING_SCREEN, game_state);
            Release(platform::VK_DOWN);
            Press(platform::VK_SPACE);
        });
        script.when(State_Is(FLOW_SHUTDOWN), [] {
            EXPECT_EQ(0, hl::hardware_palette()[1].peRed);  // faded to black
            EXPECT_EQ(14, hl::hardware_palette()[1].peBlue);
            Release(platform::VK_SPACE);
        });
        script.install();

        int instance = 0;
        EXPECT_EQ(0, WinMain(&instance, nullptr, nullptr, 0));
        EXPECT_EQ(0u, script.remaining());
        EXPECT_EQ(&instance, app_instance);
        EXPECT_TRUE(hl::cursor_visible());
        EXPECT_EQ(nullptr, hl::primary_pixels());  // the display was shut down
        EXPECT_FALSE(hl::audio_device_open());
        EXPECT_EQ(nullptr, work_bitmap.buffer);
        EXPECT_EQ(nullptr, menu_background.buffer);
    });
}
