// One menu frame on the screen: the background, the selected item's button and its value text,
// whose colour glows up and down from frame to frame.
#include <cstring>

#include "frontend/main_menu.h"
#include "frontend/menu_internal.h"
#include "game/play_screen.h"
#include "graphics/back_buffer.h"
#include "graphics/display.h"
#include "platform/clock.h"
#include "platform/video.h"

int text_glow = 128;
int text_glow_step = 10;

namespace {

constexpr int GLOW_LOW = 64;
constexpr int GLOW_HIGH = 255;
constexpr uint32_t MENU_FRAME_SLEEP_MS = 100;

struct TextPosition {
    int x;
    int y;
};

// Where each item's value is written; start and exit show none.
const TextPosition value_positions[MENU_ITEM_COUNT] = {
    {0, 0}, {422, 173}, {448, 220}, {318, 268}, {546, 316}, {562, 364}, {0, 0},
};

// Past either end the step turns and the glow goes back to the previous frame's value, so each
// end value shows on two frames in a row.
void Advance_Glow() {
    text_glow += text_glow_step;
    if (text_glow > GLOW_HIGH || text_glow < GLOW_LOW) {
        text_glow_step = -text_glow_step;
        text_glow += text_glow_step;
    }
}

uint8_t Channel(int value) {
    return uint8_t(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// A violet that brightens with the glow: red 95 %, green 50 %, blue 100 %, each truncated.
platform::ColorRef Glow_Colour(int v) {
    return platform::rgb(Channel(v * 95 / 100), Channel(v / 2), Channel(v));
}

void Draw_Value_Text() {
    platform::DeviceContext* dc = nullptr;
    if (back_surface == nullptr || platform::surface_get_dc(back_surface, &dc) != platform::OK ||
        dc == nullptr) {
        return;  // no text this frame, and the glow waits
    }
    Advance_Glow();
    platform::set_text_color(dc, Glow_Colour(text_glow));
    platform::set_bk_mode(dc, platform::TRANSPARENT);
    if (menu_cursor >= 0 && menu_cursor < MENU_ITEM_COUNT && Format_Menu_Value(menu_cursor)) {
        const TextPosition& at = value_positions[menu_cursor];
        platform::text_out(dc, at.x, at.y, text_buffer, int(std::strlen(text_buffer)));
    }
    platform::surface_release_dc(back_surface, dc);
}

}  // namespace

void Draw_Menu_Frame() {
    DD_Lock_Back_Surface();
    Draw_Image(back_buffer, &menu_background);
    if (menu_cursor >= 0 && menu_cursor < MENU_ITEM_COUNT) {
        Draw_Image(back_buffer, &menu_buttons[menu_cursor]);
    }
    DD_Unlock_Back_Surface();

    Draw_Value_Text();

    DD_Flip();
    platform::sleep_ms(MENU_FRAME_SLEEP_MS);
}
