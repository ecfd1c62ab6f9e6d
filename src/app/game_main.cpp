#include "app/game_main.h"

#include "app/level_art.h"
#include "app/pictures.h"
#include "common/game_state.h"
#include "common/main_window.h"
#include "common/random.h"
#include "frontend/main_menu.h"
#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/play_screen.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "graphics/log.h"
#include "graphics/transition.h"
#include "input/input_device.h"
#include "platform/clock.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/video.h"
#include "sound/sound.h"

int pause_latch = 0;
int voice_timer = 0;

namespace {

constexpr uint32_t PLAY_FRAME_SLEEP_MS = 20;
constexpr uint32_t PLAY_FRAME_MIN_MS = 43;
constexpr uint32_t PAUSE_DEBOUNCE_MS = 100;
constexpr uint32_t GAME_ENDING_HOLD_MS = 2000;
constexpr uint32_t CLOSING_HOLD_MS = 1000;
constexpr int VOICE_THRESHOLD = 3000;
constexpr int SOUND_ONCE = 0;
constexpr int SOUND_LOOPING = 1;

void Zero_Game_Counters() {
    score = 0;
    lines_total = 0;
    clears_of_3 = 0;
    clears_of_4 = 0;
    clears_of_6 = 0;
    level_lines = 0;
}

void Startup() {
    Random_Seed(platform::system_time_millis());
    Load_Game_Sounds();
    Show_Title_Screen();
    level = 0;
    music_volume = 100;
    effects_volume = 100;
    playfield_number = 0;
    game_type = GAME_CLASSIC;
    Zero_Game_Counters();
    Set_Game_Type(game_type);
    Reset_Piece(&piece);
    Load_Level_Art("lv1");
    game_state = FLOW_MENU;
    Main_Menu(MENU_ENTER);
}

// KEPT: the level is not reset: a new game starts where the menu (or the last game) left it, so
// after a long game the next one starts fast unless the player lowers it in the menu.
void New_Game() {
    Load_Playfield(playfield_number);
    Set_Game_Type(game_type);
    Reset_Piece(&piece);
    Zero_Game_Counters();
    game_in_progress = 1;
    game_state = FLOW_PLAYING;
}

void Play_Frame() {
    const uint32_t frame_start = platform::tick_count();
    Voice_Timer_Tick();
    DD_Lock_Back_Surface();
    input_device.Poll(&input_state);
    // A key that left a state acts again only after it was seen up.
    if ((input_state.buttons & INPUT_MENU) == 0) {
        menu_latch = 0;
    }
    if ((input_state.buttons & INPUT_PAUSE) == 0) {
        pause_latch = 0;
    }
    Update_Play(&piece);
    // After a refused lock back_buffer is null: the drawing then writes nothing, but still takes
    // the sparkle's random draws, so the shapes that follow stay the same.
    Draw_Play_Screen(back_buffer);
    DD_Unlock_Back_Surface();
    DD_Flip();
    platform::sleep_ms(PLAY_FRAME_SLEEP_MS);
    // Measured from the frame's start, so the work counts; the unsigned difference survives the
    // tick count wrapping.
    while (platform::tick_count() - frame_start < PLAY_FRAME_MIN_MS) {
    }
    // A game that just ended stays ended: a held key must not make it resumable.
    if (game_state == FLOW_GAME_ENDING) {
        return;
    }
    // With both keys pressed the menu wins; the pause is ignored.
    if ((input_state.buttons & INPUT_MENU) != 0 && menu_latch == 0) {
        Main_Menu(MENU_ENTER);
        game_state = FLOW_MENU;
        menu_latch = 1;
    } else if ((input_state.buttons & INPUT_PAUSE) != 0 && pause_latch == 0) {
        game_state = FLOW_PAUSED;
        pause_latch = 1;
    }
}

void Draw_Pause_Text() {
    platform::DeviceContext* dc = nullptr;
    if (primary_surface == nullptr ||
        platform::surface_get_dc(primary_surface, &dc) != platform::OK || dc == nullptr) {
        return;
    }
    platform::set_text_color(dc, platform::rgb(255, 0, 0));
    platform::set_bk_mode(dc, platform::TRANSPARENT);
    platform::text_out(dc, 448, 432, "GAME PAUSED...", 14);
    platform::surface_release_dc(primary_surface, dc);
}

// The key that paused must be let go before a new press resumes.
// KEPT: while that key is still held the paused frames do not sleep; the loop spins until it is up.
void Paused_Frame() {
    input_device.Poll(&input_state);
    const bool pause_down = (input_state.buttons & INPUT_PAUSE) != 0;
    if (!pause_down) {
        pause_latch = 0;
        platform::sleep_ms(PAUSE_DEBOUNCE_MS);
    }
    if (pause_down && pause_latch == 0) {
        game_state = FLOW_PLAYING;
        // The press that resumed must be let go before it pauses again.
        pause_latch = 1;
        platform::sleep_ms(PAUSE_DEBOUNCE_MS);
    }
    Draw_Pause_Text();
}

void Menu_Frame() {
    if (Main_Menu(MENU_FRAME) <= 0) {
        Stop_Sound(sound_intro);
        if (game_state != FLOW_EXIT) {
            Play_Sound(sound_song, 0, 0, 0, SOUND_LOOPING);
        }
    }
    Log_Write("\ngame menu");
}

void Game_Ending() {
    platform::sleep_ms(GAME_ENDING_HOLD_MS);
    game_state = FLOW_MENU;
    game_in_progress = 0;
    Main_Menu(MENU_ENTER);
    Log_Write("\ngame ending");
}

// 0 when the closing picture is missing: the program then ends without a closing screen.
int Exit_State() {
    if (!Load_Bitmap_File(&work_bitmap, "CSTRAIL8.BMP")) {
        return 0;
    }
    Show_Picture();
    game_state = FLOW_CLOSING_SCREEN;
    Play_Sound(sound_trail, 0, 0, 0, SOUND_ONCE);
    platform::sleep_ms(CLOSING_HOLD_MS);
    Log_Write("\nin exit state");
    return 1;
}

bool Key_Down(int virtual_key) {
    return (platform::async_key_state(virtual_key) & 0x8000) != 0;
}

// Any joystick button held, read straight from the joystick: a player with only a gamepad
// can leave the closing picture too.
bool Joystick_Button_Down() {
    platform::JoyInfoEx info{};
    info.dwSize = sizeof info;
    info.dwFlags = platform::JOY_RETURNALL;
    return platform::joy_get_pos_ex(platform::JOYSTICKID1, &info) == platform::JOYERR_NOERROR &&
           info.dwButtons != 0;
}

// Read straight from the keyboard: Escape, then Space, then Enter; the first one down counts.
// Any joystick button counts too, so a player with only a gamepad can leave.
// KEPT: the wait frames neither sleep nor skip the log line: the loop spins until a key is down.
void Closing_Screen() {
    const bool key = Key_Down(platform::VK_ESCAPE) || Key_Down(platform::VK_SPACE) ||
                     Key_Down(platform::VK_RETURN);
    const bool button = !key && Joystick_Button_Down();
    if (key || button) {
        game_state = FLOW_SHUTDOWN;
        Screen_Transition(SCREEN_DARKNESS, nullptr, SCREEN_WIDTH);
        Stop_Sound(sound_trail);
        Free_Art_Images();
        Release_Game_Sounds();
        // The closing picture is on the screen no longer; its pixels go too.
        Unload_Bitmap_File(&work_bitmap);
        // The loop ends at the next message; a key's release is one, a joystick sends none.
        if (button) {
            platform::post_message(main_window, platform::WM_USER, 0, 0);
        }
    }
    Log_Write("\nIn order state");
}

}  // namespace

int Voice_Timer_Tick() {
    ++voice_timer;
    if (voice_timer <= VOICE_THRESHOLD) {
        return 1;
    }
    if (Random_Next() % 5 != 1) {
        return 1;
    }
    Play_Sound(sound_voice, 0, 0, 0, SOUND_ONCE);
    voice_timer = 0;
    return 1;
}

int Game_Main() {
    if (game_state == FLOW_STARTUP) {
        Startup();
    } else if (game_state == FLOW_NEW_GAME) {
        New_Game();
    }
    switch (game_state) {
        case FLOW_PLAYING:
            Play_Frame();
            break;
        case FLOW_PAUSED:
            Paused_Frame();
            break;
        case FLOW_MENU:
            Menu_Frame();
            break;
        case FLOW_GAME_ENDING:
            Game_Ending();
            break;
        case FLOW_EXIT:
            if (!Exit_State()) {
                return 0;
            }
            break;
        case FLOW_CLOSING_SCREEN:
            Closing_Screen();
            break;
        default:
            break;
    }
    return 1;
}
