// The main menu on the headless platform: its pictures, palettes and music, what a frame shows,
// the keys, and the three ways out.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/level_art.h"
#include "common/game_state.h"
#include "common/main_window.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "graphics/back_buffer.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"
#include "support/app_data.h"
#include "support/bmp_file.h"
#include "support/graphics_fixture.h"
#include "support/screen_text.h"
#include "support/voc_file.h"
#include "support/voc_sound_state.h"

namespace {

namespace headless = platform::headless;
using Kind = headless::SoundEvent::Kind;
using namespace platform;  // the VK_ key codes

// The test background is all BG; its palette holds the value text's colour for glow v = 68 +
// 10 j at entry INK + j, everything else black. Sounds last 200 ms.
constexpr uint8_t BG = 11, INK = 150;
constexpr int SOUND_MS = 200;

class MainMenuTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        voc_reset_sound_state();
        main_window = window_;
        dir = make_bmp_scratch_dir();
        Write_Background();
        ASSERT_TRUE(app_write_picture(dir, AppPicture::Buttons));
        ASSERT_TRUE(write_game_sound_files(dir, 2205));
        headless::set_data_dirs({dir});
        ASSERT_EQ(DD_Init(window_), 1);
        ASSERT_EQ(Load_Game_Sounds(), 1);
        test_support::make_test_palette(game_palette, 3);
        Set_Palette(game_palette, 256);
        menu_first_call = 1;
        text_glow = 128;
        text_glow_step = 10;
        playfield_number = game_type = level = game_in_progress = 0;
        game_state = FLOW_MENU;
        headless::clear_sound_events();
    }
    void TearDown() override {
        Release_Game_Sounds();
        Free_Art_Images();
        DD_Shutdown();
        main_window = nullptr;
        voc_remove_scratch_dir(dir);
        GraphicsTest::TearDown();
    }
    void Write_Background() {
        std::vector<uint8_t> bytes =
            make_bmp_bytes(BmpLayout{640, 480}, std::vector<uint8_t>(640 * 480, BG));
        std::memset(&bytes[BMP_TEST_TABLE_OFFSET], 0, 1024);
        for (int v = 68; v <= 248; v += 10) {  // blue, green, red
            uint8_t* entry = &bytes[BMP_TEST_TABLE_OFFSET + 4 * (INK + (v - 68) / 10)];
            entry[0] = uint8_t(v);
            entry[1] = uint8_t(v / 2);
            entry[2] = uint8_t(v * 95 / 100);
        }
        ASSERT_TRUE(write_bmp_bytes(dir + "/CSCON8.BMP", bytes));
    }
    static int Frame(const std::vector<int>& keys = {}) {
        for (int key : keys)
            headless::set_key(key, true);
        int result = Main_Menu(MENU_FRAME);
        headless::release_all_keys();
        return result;
    }
    // Events of one kind for the sound with this id (value -1: any), and the time of the first.
    static int Events(int id, Kind kind, int value = -1, int64_t* first = nullptr) {
        int count = 0;
        for (const headless::SoundEvent& e : headless::sound_events()) {
            if (id >= 0 && e.buffer == sound_slots[id].buffer && e.kind == kind &&
                (value == -1 || e.value == value) && count++ == 0 && first)
                *first = int64_t(e.time);
        }
        return count;
    }
    static bool Showing(const PALETTEENTRY* palette) {
        return std::memcmp(headless::hardware_palette().data(), palette, 1024) == 0;
    }
    static std::string Value_Text(int x, int y, const char* text) {
        return screen_text_mismatch(headless::primary_pixels(), x, y, text,
                                    uint8_t(INK + (text_glow - 68) / 10));
    }
    PALETTEENTRY game_palette[256];
    std::string dir;
};

TEST_F(MainMenuTest, EntryLoadsThePicturesOnceAndSwapsThePalettes) {
    ASSERT_EQ(Main_Menu(MENU_ENTER), 1);
    const int xs[7] = {99, 99, 99, 98, 98, 98, 98}, ys[7] = {112, 158, 205, 252, 298, 347, 393};
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(menu_buttons[i].x == xs[i] && menu_buttons[i].y == ys[i]) << i;
        EXPECT_EQ(std::count(menu_buttons[i].buffer, menu_buttons[i].buffer + 44 * 44,
                             APP_BUTTON_PIXEL + i),
                  44 * 44);  // cell (i mod 4, i div 4)
    }
    EXPECT_EQ(std::memcmp(game_palette_save, game_palette, 1024), 0);
    EXPECT_TRUE(Showing(menu_palette));

    menu_first_call = 1;  // a missing picture fails the first call and is not tried again
    std::remove((dir + "/CSCON8.BMP").c_str());
    headless::clear_sound_events();
    EXPECT_EQ(Main_Menu(MENU_FRAME), 0);
    EXPECT_TRUE(headless::sound_events().empty());
    Write_Background();
    EXPECT_EQ(Frame({VK_DOWN}), 1);
}

TEST_F(MainMenuTest, FrameShowsTheSelectedButtonItsValueAndTheGlow) {
    Main_Menu(MENU_ENTER);
    playfield_number = 15;
    game_type = 1;
    level = 12;  // raised by play beyond the menu's range
    music_volume = 35;
    effects_volume = 0;
    const char* texts[7] = {"", "(16)", "(Dorodo Veraviva!)", "(13)", "(35%)", "(0%)", ""};
    const int xs[7] = {0, 422, 448, 318, 546, 562, 0}, ys[7] = {0, 173, 220, 268, 316, 364, 0};
    for (int item = 0; item < 7; ++item) {
        menu_cursor = item;
        Frame();
        const uint8_t* screen = headless::primary_pixels();
        EXPECT_EQ(screen[(menu_buttons[item].y + 43) * 640 + menu_buttons[item].x],
                  APP_BUTTON_PIXEL + item);
        int stray = int(640 * 480 - std::count(screen, screen + 640 * 480, BG)) - 44 * 44;
        if (texts[item][0] == '\0')
            EXPECT_EQ(stray, 0) << item;  // no other button, no text
        else
            EXPECT_EQ(Value_Text(xs[item], ys[item], texts[item]), "") << item;
    }
    // From 138: up to 248 twice, down to 68 twice, up again; it goes on after a new entry.
    const int glows[] = {148, 158, 168, 178, 188, 198, 208, 218, 228, 238, 248,
                         248, 238, 228, 218, 208, 198, 188, 178, 168, 158, 148,
                         138, 128, 118, 108, 98,  88,  78,  68,  68,  78,  88};
    menu_cursor = 2;
    text_glow = 138;
    for (int glow : glows) {
        if (glow == 68) {
            Main_Menu(MENU_ENTER);
            menu_cursor = 2;
        }
        Frame();
        ASSERT_EQ(text_glow, glow);
        ASSERT_EQ(Value_Text(448, 220, "(Dorodo Veraviva!)"), "");
    }
    EXPECT_EQ(menu_palette[INK + 18].peRed, 235);  // 95 %, 50 %, 100 % of 248, truncated
    headless::fail(backend::Step::SurfaceGetDC);
    Frame();
    EXPECT_EQ(text_glow, 88);  // no text, and the glow waits
}

// The whole-program menu test walks every setting to its bounds; these are the finer points.
TEST_F(MainMenuTest, TheItemSelectedChangesInTheSameFrameAndVolumesAreSetAtTheBoundToo) {
    Main_Menu(MENU_ENTER);
    menu_cursor = 6;
    Frame({VK_DOWN});  // no step past item 6, and no sound
    Frame({VK_UP, VK_RIGHT});
    Frame({VK_UP, VK_RIGHT});
    EXPECT_EQ(effects_volume + music_volume, 200);
    EXPECT_EQ(Events(sound_menu_select, Kind::Volume, 0), 1);
    EXPECT_EQ(Events(sound_song, Kind::Volume, 0), 1);
    EXPECT_EQ(Events(sound_lock, Kind::Volume), 1);  // effects only from item 5
    level = 12;                                      // raised by play beyond the menu's range
    Frame({VK_UP, VK_RIGHT});
    EXPECT_EQ(level, 9);
    EXPECT_EQ(Events(sound_menu_down, Kind::Play), 0);
    EXPECT_EQ(Events(sound_menu_up, Kind::Play), 3);  // value changes are silent
}

TEST_F(MainMenuTest, EnterStartsOnlyFromItemZeroEscResumesOnlyAGameInProgress) {
    Main_Menu(MENU_ENTER);
    menu_cursor = 3;
    EXPECT_EQ(Frame({VK_RETURN}) + Frame({VK_ESCAPE}), 2);  // Esc alone only points at the exit
    EXPECT_EQ(menu_cursor, 6);
    game_in_progress = 1;
    EXPECT_EQ(Frame({VK_ESCAPE}), 0);
    EXPECT_EQ(game_state, FLOW_PLAYING);
    EXPECT_TRUE(Showing(game_palette));
    Main_Menu(MENU_ENTER);
    EXPECT_EQ(Frame({VK_SPACE}), 0);
    EXPECT_EQ(game_state, FLOW_NEW_GAME);
    EXPECT_EQ(Events(sound_menu_select, Kind::Play), 2);
}

TEST_F(MainMenuTest, ExitWaitsForTheUpSoundAtMostItsLengthThenStopsAll) {
    Main_Menu(MENU_ENTER);
    const int claimed_ms[3] = {SOUND_MS, 50, -1};  // as loaded; a slot claiming less; silent
    for (int claim : claimed_ms) {
        headless::clear_sound_events();
        if (claim == 50)
            sound_slots[sound_menu_up].length = 2 + 551;
        if (claim == -1)
            sound_menu_up = -1;
        const int64_t pressed = int64_t(headless::now());
        menu_cursor = 6;
        game_state = FLOW_MENU;
        EXPECT_EQ(Frame({VK_RETURN}), 0);
        EXPECT_EQ(game_state, FLOW_EXIT);
        int64_t stopped = 0;
        for (int id = 0; id < 12; ++id)
            EXPECT_EQ(Events(id, Kind::Stop), 1) << id;  // every sound stopped
        Events(sound_intro, Kind::Stop, -1, &stopped);
        EXPECT_GE(stopped - pressed, claim < 0 ? 0 : claim) << claim;
        EXPECT_LE(stopped - pressed, claim < 0 ? 10 : claim + 110) << claim;
    }
}

}  // namespace
