#include "app_game.h"

#include "app/game_main.h"
#include "app/main_window.h"
#include "app/winmain.h"
#include "common/random.h"
#include "game/piece.h"
#include "game/shapes.h"
#include "graphics/display.h"
#include "sound/sound_slots.h"

using platform::headless::SoundEvent;

void app_start_platform(const std::string& data_dir, uint32_t millis) {
    platform::headless::reset();
    platform::headless::set_data_dirs({data_dir});
    platform::headless::set_system_millis(millis);
}

bool app_open_window_and_display() {
    platform::WindowClass window_class{};
    window_class.cbSize = 48;
    window_class.lpfnWndProc = WindowProc;
    window_class.lpszClassName = "DDWINCLASS";
    if (!platform::register_class(window_class)) {
        return false;
    }
    main_window =
        platform::create_window(platform::WS_EX_TOPMOST, "DDWINCLASS", "CELLSTORM",
                                platform::WS_POPUP | platform::WS_VISIBLE, 0, 0, 640, 480);
    return main_window != nullptr && DD_Init(main_window) == 1;
}

int app_run_game_until(const std::function<bool()>& done, int max_calls) {
    for (int calls = 1; calls <= max_calls; ++calls) {
        if (Game_Main() == 0) {
            return -1;
        }
        if (done()) {
            return calls;
        }
    }
    return max_calls;
}

const platform::SoundBuffer* app_sound_buffer(int id) {
    return id >= 0 && id < SOUND_SLOT_COUNT ? sound_slots[id].buffer : nullptr;
}

int app_count_sound_events(const platform::SoundBuffer* buffer, SoundEvent::Kind kind,
                           int32_t value) {
    int count = 0;
    for (const SoundEvent& event : platform::headless::sound_events()) {
        if (buffer != nullptr && event.buffer == buffer && event.kind == kind &&
            (value == -1 || event.value == value)) {
            ++count;
        }
    }
    return count;
}

int64_t app_last_sound_event_time(const platform::SoundBuffer* buffer, SoundEvent::Kind kind) {
    int64_t time = -1;
    for (const SoundEvent& event : platform::headless::sound_events()) {
        if (buffer != nullptr && event.buffer == buffer && event.kind == kind) {
            time = int64_t(event.time);
        }
    }
    return time;
}

// Start-up and a new game each reset the piece once; the first spawn plays the second reset's
// next shape. Nothing else draws from the generator before the first play frame.
int app_first_played_shape(uint32_t millis) {
    const Piece saved = piece;
    Random_Seed(millis % 1000);
    Set_Game_Type(GAME_CLASSIC);
    Reset_Piece(&piece);
    Reset_Piece(&piece);
    const int shape = piece.next_shape;
    piece = saved;
    return shape;
}

int app_seed_for_first_shape(int shape) {
    for (int millis = 0; millis < 1000; ++millis) {
        if (app_first_played_shape(uint32_t(millis)) == shape) {
            return millis;
        }
    }
    return -1;
}

int app_count_screen_pixels(int x, int y, int w, int h, uint8_t value) {
    const uint8_t* pixels = platform::headless::primary_pixels();
    int count = 0;
    for (int row = y; pixels != nullptr && row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            count += pixels[row * 640 + column] == value ? 1 : 0;
        }
    }
    return count;
}
