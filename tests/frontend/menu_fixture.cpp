#include "menu_fixture.h"

#include <cstring>
#include <vector>

#include "app/game_state.h"
#include "app/main_window.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "graphics/back_buffer.h"
#include "input/input_device.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"
#include "support/app_data.h"
#include "support/bmp_file.h"
#include "support/voc_file.h"
#include "support/voc_sound_state.h"

namespace headless = platform::headless;

void MainMenuTest::SetUp() {
    GraphicsTest::SetUp();
    voc_reset_sound_state();
    main_window = window_;
    dir = make_bmp_scratch_dir();
    Write_Menu_Background();
    ASSERT_TRUE(app_write_picture(dir, AppPicture::Buttons));
    ASSERT_TRUE(write_game_sound_files(dir, MENU_SOUND_SAMPLES));
    headless::set_data_dirs({dir});

    ASSERT_EQ(DD_Init(window_), 1);
    ASSERT_EQ(Load_Game_Sounds(), 1);
    test_support::make_test_palette(game_palette, 3);
    Set_Palette(game_palette, 256);
    headless::clear_sound_events();

    menu_first_call = 1;
    menu_cursor = 0;
    Destroy_Image(&menu_background);
    for (BitmapImage& button : menu_buttons) {
        Destroy_Image(&button);
    }
    std::memset(menu_palette, 0, sizeof(menu_palette));
    std::memset(game_palette_save, 0, sizeof(game_palette_save));
    text_glow = 128;
    text_glow_step = 10;

    playfield_number = 0;
    game_type = 0;
    level = 0;
    game_in_progress = 0;
    game_state = FLOW_MENU;
    headless::release_all_keys();
    input_state = InputState{};
}

void MainMenuTest::TearDown() {
    Release_Game_Sounds();
    Destroy_Image(&menu_background);
    for (BitmapImage& button : menu_buttons) {
        Destroy_Image(&button);
    }
    DD_Shutdown();
    main_window = nullptr;
    voc_remove_scratch_dir(dir);
    GraphicsTest::TearDown();
}

void MainMenuTest::Write_Menu_Background() {
    BmpLayout layout;
    layout.width = 640;
    layout.rows = 480;
    std::vector<uint8_t> bytes =
        make_bmp_bytes(layout, std::vector<uint8_t>(640 * 480, MENU_BACKGROUND_PIXEL));
    std::memset(bytes.data() + BMP_TEST_TABLE_OFFSET, 0, 256 * 4);
    for (int j = 0; j <= 18; ++j) {
        int v = 68 + 10 * j;
        uint8_t* entry = bytes.data() + BMP_TEST_TABLE_OFFSET + (MENU_GLOW_ENTRY + j) * 4;
        entry[0] = uint8_t(v);             // blue
        entry[1] = uint8_t(v / 2);         // green
        entry[2] = uint8_t(v * 95 / 100);  // red
    }
    ASSERT_TRUE(write_bmp_bytes(dir + "/CSCON8.BMP", bytes));
}

int MainMenuTest::Frame(std::initializer_list<int> keys) {
    for (int key : keys) {
        headless::set_key(key, true);
    }
    int result = Main_Menu(MENU_FRAME);
    headless::release_all_keys();
    return result;
}

int MainMenuTest::Sound_Events(int id, headless::SoundEvent::Kind kind, int value) {
    if (id < 0 || id >= SOUND_SLOT_COUNT || sound_slots[id].buffer == nullptr) {
        return 0;
    }
    int count = 0;
    for (const headless::SoundEvent& event : headless::sound_events()) {
        if (event.buffer == sound_slots[id].buffer && event.kind == kind &&
            (value == -1 || event.value == value)) {
            count++;
        }
    }
    return count;
}

uint8_t MainMenuTest::Glow_Ink(int v) {
    return uint8_t(MENU_GLOW_ENTRY + (v - 68) / 10);
}
