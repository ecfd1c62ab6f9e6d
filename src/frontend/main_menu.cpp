#include "frontend/main_menu.h"

#include <cstring>

#include "common/game_state.h"
#include "frontend/menu_internal.h"
#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "graphics/transition.h"
#include "input/input_device.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"

int menu_first_call = 1;
int menu_cursor = 0;
BitmapImage menu_background;
BitmapImage menu_buttons[MENU_ITEM_COUNT];
PALETTEENTRY menu_palette[256];
PALETTEENTRY game_palette_save[256];

namespace {

constexpr const char* MENU_BACKGROUND_FILE = "CSCON8.BMP";
constexpr const char* MENU_BUTTONS_FILE = "XCNBUT8.BMP";
constexpr int BUTTON_SIZE = 44;
// The button sheet has four cells to a row.
constexpr int BUTTON_SHEET_COLUMNS = 4;

struct ButtonPosition {
    int x;
    int y;
};

// Top-left of each item's button; the lower four sit one pixel further left.
const ButtonPosition button_positions[MENU_ITEM_COUNT] = {
    {99, 112}, {99, 158}, {99, 205}, {98, 252}, {98, 298}, {98, 347}, {98, 393},
};

// Sounds play at 11,025 one-byte samples a second.
constexpr uint32_t SOUND_SAMPLES_PER_SECOND = 11025;
// A sound file is read up to this many bytes, so no buffer holds more samples.
constexpr uint32_t SOUND_MAX_SAMPLES = 640000;
// The block length counts the time-constant and pack bytes before the samples.
constexpr int32_t SOUND_BLOCK_OVERHEAD = 2;
// Grace beyond a sound's own length before the exit stops waiting for it.
constexpr uint32_t SOUND_END_GRACE_MS = 100;

// How long the sound in slot id plays, in milliseconds, from the block length its slot recorded
// (cut to what a sound file can hold); 0 for an id without a buffer.
uint32_t Sound_Length_Ms(int id) {
    if (id < 0 || id >= SOUND_SLOT_COUNT || sound_slots[id].buffer == nullptr) {
        return 0;
    }
    int32_t samples = sound_slots[id].length - SOUND_BLOCK_OVERHEAD;
    if (samples <= 0) {
        return 0;
    }
    uint32_t count = uint32_t(samples) < SOUND_MAX_SAMPLES ? uint32_t(samples) : SOUND_MAX_SAMPLES;
    return uint32_t(uint64_t(count) * 1000 / SOUND_SAMPLES_PER_SECOND);
}

// Waits while the sound reports that it plays, but never longer than its own length and a little:
// a missing or lost buffer, or a device that never reports the end, cannot hold the exit.
void Wait_For_Sound_End(int id) {
    uint32_t limit = Sound_Length_Ms(id) + SOUND_END_GRACE_MS;
    uint32_t start = platform::tick_count();
    for (;;) {
        int status = Get_Sound_Status(id);
        if (status <= 0 || (status & int(platform::DSBSTATUS_PLAYING)) == 0 ||
            (status & int(platform::DSBSTATUS_BUFFERLOST)) != 0) {
            return;
        }
        if (platform::tick_count() - start >= limit) {
            return;
        }
    }
}

// Loads both pictures; false as soon as one cannot be loaded.
bool Load_Menu_Pictures() {
    if (!Load_Bitmap_File(&work_bitmap, MENU_BACKGROUND_FILE)) {
        return false;
    }
    Create_Image(&menu_background, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    std::memcpy(menu_palette, work_bitmap.palette, sizeof(menu_palette));
    Load_Image(&work_bitmap, &menu_background, 0, 0, IMAGE_AT_PIXEL);
    Unload_Bitmap_File(&work_bitmap);

    if (!Load_Bitmap_File(&work_bitmap, MENU_BUTTONS_FILE)) {
        return false;
    }
    for (int item = 0; item < MENU_ITEM_COUNT; item++) {
        BitmapImage* button = &menu_buttons[item];
        Create_Image(button, 0, 0, BUTTON_SIZE, BUTTON_SIZE);
        Load_Image(&work_bitmap, button, item % BUTTON_SHEET_COLUMNS, item / BUTTON_SHEET_COLUMNS,
                   IMAGE_AT_CELL);
        button->x = button_positions[item].x;
        button->y = button_positions[item].y;
    }
    Unload_Bitmap_File(&work_bitmap);

    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);
    return true;
}

int Enter_Menu() {
    Save_Palette(game_palette_save);
    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);
    Set_Palette(menu_palette, 256);
    menu_cursor = 0;
    Stop_Sound(sound_song);
    Play_Sound(sound_intro, 0, 0, 0, 1);
    platform::sleep_ms(MENU_ENTER_SLEEP_MS);
    return 1;
}

// Into play, a new game or the one that was left: clean pages and the game's palette back.
int Leave_For_Play(int next_state) {
    game_state = next_state;
    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);
    Set_Palette(game_palette_save, 256);
    Play_Sound(sound_menu_select, 0, 0, 0, 0);
    return 0;
}

// Out of the program: the up sound to its end, silence, and a fade to white.
int Leave_For_Exit() {
    Play_Sound(sound_menu_up, 0, 0, 0, 0);
    Wait_For_Sound_End(sound_menu_up);
    Stop_All_Sounds();
    game_state = FLOW_EXIT;
    Screen_Transition(SCREEN_WHITENESS, nullptr, 0);
    return 0;
}

int Menu_Frame() {
    input_device.Poll(&input_state);
    const uint32_t buttons = input_state.buttons;
    if ((buttons & INPUT_MENU) == 0) {
        menu_latch = 0;
    }
    // The Esc that opened the menu does not resume the game until it has been let go; with no
    // game to resume it points at the exit as long as it is held.
    const bool menu_pressed = (buttons & INPUT_MENU) != 0 && (menu_latch == 0 || !game_in_progress);

    // One action per frame, in this order of precedence.
    if (buttons & INPUT_UP) {
        menu_cursor--;
        if (menu_cursor < 0) {
            menu_cursor = 0;
        } else {
            Play_Sound(sound_menu_up, 0, 0, 0, 0);
        }
    } else if (buttons & INPUT_DOWN) {
        menu_cursor++;
        if (menu_cursor >= MENU_ITEM_COUNT) {
            menu_cursor = MENU_ITEM_COUNT - 1;
        } else {
            Play_Sound(sound_menu_down, 0, 0, 0, 0);
        }
    } else if (menu_pressed) {
        if (game_in_progress != 0) {
            menu_latch = 1;
            return Leave_For_Play(FLOW_PLAYING);
        }
        // Esc never leaves by itself: it only points at the exit.
        menu_cursor = MENU_ITEM_EXIT;
        Play_Sound(sound_menu_up, 0, 0, 0, 0);
    } else if (buttons & INPUT_SELECT) {
        if (menu_cursor == MENU_ITEM_NEW_GAME) {
            return Leave_For_Play(FLOW_NEW_GAME);
        }
        if (menu_cursor == MENU_ITEM_EXIT) {
            return Leave_For_Exit();
        }
    }

    // The value of the (possibly just selected) item, in the same frame.
    if (buttons & INPUT_RIGHT) {
        Change_Menu_Setting(menu_cursor, +1);
    } else if (buttons & INPUT_LEFT) {
        Change_Menu_Setting(menu_cursor, -1);
    }

    Draw_Menu_Frame();
    return 1;
}

}  // namespace

int Main_Menu(int mode) {
    if (menu_first_call == 1) {
        // Tried once per run: a missing picture stays missing, and the menu runs without it.
        menu_first_call = 0;
        if (!Load_Menu_Pictures()) {
            return 0;
        }
    }
    switch (mode) {
        case MENU_ENTER:
            return Enter_Menu();
        case MENU_FRAME:
            return Menu_Frame();
        default:
            return 1;
    }
}
