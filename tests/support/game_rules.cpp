#include "support/game_rules.h"

#include <cstring>

#include "common/game_state.h"
#include "common/main_window.h"
#include "common/random.h"
#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/well.h"
#include "input/input_device.h"
#include "platform/headless/control.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"
#include "support/headless_fixture.h"
#include "support/voc_sound_state.h"

void Reset_Game_Rules() {
    well = Walled_Well();
    piece = Piece{};
    clear_phase = full_row_count = flash_tick = flash_count = 0;
    std::memset(full_rows, 0, sizeof full_rows);
    score = level = lines_total = level_lines = clears_of_3 = clears_of_4 = clears_of_6 = 0;
    rotate_delay = move_repeat = last_dx = 0;
    input_state = InputState{};
    game_state = FLOW_PLAYING;
    menu_latch = 0;
    game_type = GAME_CLASSIC;
    Set_Game_Type(GAME_CLASSIC);
    playfield_number = 0;
    Random_Seed(1);
}

std::string Well_Row(int row) {
    std::string text;
    for (const Cell& cell : well[row]) {
        const int v = cell.value;
        text += v == 0 ? '.' : v > 0 && v < 16 ? char('a' + v - 1) : v < 32 ? char(v + 32) : '!';
    }
    return text;
}

void Set_Well_Rows(int top_row, std::initializer_list<const char*> rows) {
    for (const char* text : rows) {
        for (int column = 0; column < WELL_COLUMNS && text[column] != '\0'; column++) {
            const char ch = text[column];
            well[top_row][column].value = ch == '.' ? 0 : ch >= 'a' ? ch - 'a' + 1 : ch - 32;
        }
        top_row++;
    }
}

void Fill_Well(int value) {
    for (auto& row : well) {
        for (Cell& cell : row) {
            cell.value = value;
        }
    }
}

void Empty_Well() {
    for (int row = 0; row < WELL_ROWS - 1; row++) {
        for (int column = 1; column < WELL_COLUMNS - 1; column++) {
            well[row][column].value = CELL_EMPTY;
        }
    }
}

void Place_Piece(int shape, int x, int y, int state) {
    piece.shape = shape;
    piece.body = shape_table[shape];
    piece.x = x;
    piece.y = y;
    piece.state = state;
}

void RulesTest::SetUp() {
    Reset_Game_Rules();
    platform::headless::reset();
    voc_reset_sound_state();
    main_window = test_support::create_test_window();
    platform::headless::set_data_dirs({CELLSTORM_BIN_DIR});  // the game's own sounds
    ASSERT_EQ(Load_Game_Sounds(), 1);
    platform::headless::clear_sound_events();
}

void RulesTest::TearDown() {
    Release_Game_Sounds();
    main_window = nullptr;
    platform::headless::reset();
    voc_reset_sound_state();
}

int Sound_Plays(int id) {
    int plays = 0;
    for (const platform::headless::SoundEvent& event : platform::headless::sound_events()) {
        plays += event.kind == platform::headless::SoundEvent::Kind::Play &&
                 sound_slots[id].buffer != nullptr && event.buffer == sound_slots[id].buffer;
    }
    return plays;
}
