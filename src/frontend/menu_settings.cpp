// The five settings the menu edits: how Right and Left change them and how they are shown.
#include <cstdio>

#include "frontend/main_menu.h"
#include "frontend/menu_internal.h"
#include "game/line_clear.h"
#include "game/play_screen.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "sound/sound.h"

const char* const game_type_labels[2] = {"Classic", "Dorodo Veraviva!"};

namespace {

constexpr int LAST_PLAYFIELD = PLAYFIELD_COUNT - 1;
// The menu offers starting levels 0..9; play may have raised the level beyond.
constexpr int LAST_MENU_LEVEL = 9;
constexpr int VOLUME_STEP = 5;
constexpr int VOLUME_MAX = 100;

int Clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// Both volumes are applied on every press, also when already at a bound.
int Step_Volume(int volume, int direction) {
    return Clamp(volume + direction * VOLUME_STEP, 0, VOLUME_MAX);
}

}  // namespace

void Change_Menu_Setting(int item, int direction) {
    switch (item) {
        case MENU_ITEM_PLAYFIELD:
            playfield_number = Clamp(playfield_number + direction, 0, LAST_PLAYFIELD);
            break;
        case MENU_ITEM_GAME_TYPE:
            // Two types, so either direction flips between them.
            game_type += direction;
            if (game_type == 2) {
                game_type = 0;
            } else if (game_type == -1) {
                game_type = 1;
            }
            break;
        case MENU_ITEM_LEVEL:
            if (direction > 0) {
                level = level + 1 > LAST_MENU_LEVEL ? LAST_MENU_LEVEL : level + 1;
            } else {
                level = level - 1 < 0 ? 0 : level - 1;
            }
            break;
        case MENU_ITEM_MUSIC:
            music_volume = Step_Volume(music_volume, direction);
            Set_Music_Volume();
            break;
        case MENU_ITEM_EFFECTS:
            effects_volume = Step_Volume(effects_volume, direction);
            Set_Effects_Volume();
            break;
        default:
            break;
    }
}

bool Format_Menu_Value(int item) {
    switch (item) {
        case MENU_ITEM_PLAYFIELD:
            std::snprintf(text_buffer, sizeof(text_buffer), "(%lld)", playfield_number + 1LL);
            return true;
        case MENU_ITEM_GAME_TYPE:
            if (game_type < 0 || game_type > 1) {
                return false;
            }
            std::snprintf(text_buffer, sizeof(text_buffer), "(%s)", game_type_labels[game_type]);
            return true;
        case MENU_ITEM_LEVEL:
            std::snprintf(text_buffer, sizeof(text_buffer), "(%lld)", level + 1LL);
            return true;
        case MENU_ITEM_MUSIC:
            std::snprintf(text_buffer, sizeof(text_buffer), "(%d%%)", music_volume);
            return true;
        case MENU_ITEM_EFFECTS:
            std::snprintf(text_buffer, sizeof(text_buffer), "(%d%%)", effects_volume);
            return true;
        default:
            return false;
    }
}
