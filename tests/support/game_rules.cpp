#include "support/game_rules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/game_state.h"
#include "app/main_window.h"
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
#include "support/voc_file.h"
#include "support/voc_sound_state.h"

void Reset_Game_Rules() {
    Reset_Well();
    piece = Piece{};
    clear_phase = CLEAR_NONE;
    std::memset(full_rows, 0, sizeof full_rows);
    full_row_count = 0;
    flash_tick = 0;
    flash_count = 0;
    score = 0;
    level = 0;
    lines_total = 0;
    level_lines = 0;
    clears_of_3 = 0;
    clears_of_4 = 0;
    clears_of_6 = 0;
    rotate_delay = 0;
    move_repeat = 0;
    last_dx = 0;
    input_state = InputState{};
    game_state = FLOW_PLAYING;
    game_type = GAME_CLASSIC;
    Set_Game_Type(GAME_CLASSIC);
    playfield_number = 0;
    Random_Seed(1);
}

void Set_Well_Rows(int top_row, std::initializer_list<const char*> rows) {
    int row = top_row;
    for (const char* text : rows) {
        for (int column = 0; column < WELL_COLUMNS && text[column] != '\0'; column++) {
            if (text[column] == '.') {
                well[row][column].value = CELL_EMPTY;
            } else if (text[column] == '#') {
                well[row][column].value = 1;
            } else if (text[column] == 'X') {
                well[row][column].value = 17;
            }
        }
        row++;
    }
}

void Fill_Row(int row, int value) {
    for (Cell& cell : well[row]) {
        cell.value = value;
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

bool Write_Text_File(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::string Make_Scratch_Directory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "cellstorm-game-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    return made == nullptr ? std::string() : std::string(made);
}

void Remove_Scratch_Directory(const std::string& path) {
    if (!path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}

bool Load_Test_Sounds(const std::string& dir) {
    platform::headless::reset();
    voc_reset_sound_state();
    main_window = test_support::create_test_window();
    if (!write_game_sound_files(dir, 64)) {
        return false;
    }
    platform::headless::set_data_dirs({dir});
    bool loaded = Load_Game_Sounds() == 1;
    platform::headless::clear_sound_events();
    return loaded;
}

void Release_Test_Sounds() {
    Release_Game_Sounds();
    main_window = nullptr;
    platform::headless::reset();
    voc_reset_sound_state();
}

int Sound_Plays(int id) {
    if (id < 0 || id >= SOUND_SLOT_COUNT || sound_slots[id].buffer == nullptr) {
        return 0;
    }
    int plays = 0;
    for (const platform::headless::SoundEvent& event : platform::headless::sound_events()) {
        if (event.kind == platform::headless::SoundEvent::Kind::Play &&
            event.buffer == sound_slots[id].buffer) {
            plays++;
        }
    }
    return plays;
}

void Clear_Sound_Plays() {
    platform::headless::clear_sound_events();
}
