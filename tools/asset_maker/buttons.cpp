#include "buttons.h"

#include <cmath>

#include "blocks.h"
#include "widgets.h"

namespace {

const Rgb ICON_COLOURS[MENU_ITEMS] = {Rgb{80, 240, 100}, Rgb{80, 210, 255},  Rgb{170, 90, 255},
                                      Rgb{255, 190, 40}, Rgb{120, 190, 255}, Rgb{255, 228, 80},
                                      Rgb{255, 72, 60}};

// Unlit icons keep a hint of their colour so the menu still reads before anything is chosen.
Rgb dimmed(Rgb c) {
    return scale(mix(c, Rgb{110, 110, 130}, 0.55f), 0.5f);
}

bool play_triangle(float u, float v) {
    return u >= 15 && std::fabs(v - 22) <= (33 - u) * 11 / 18;
}

bool ring(float u, float v, float cx, float cy, float r, float width) {
    float d = std::hypot(u - cx, v - cy);
    return std::fabs(d - r) <= width / 2;
}

bool music_note(float u, float v) {
    auto head = [](float u, float v, float cx, float cy) {
        float a = -0.35f, du = u - cx, dv = v - cy;
        float x = du * std::cos(a) - dv * std::sin(a), y = du * std::sin(a) + dv * std::cos(a);
        return (x * x) / 25.0f + (y * y) / 12.0f <= 1.0f;
    };
    if (head(u, v, 15, 31) || head(u, v, 29, 28))
        return true;
    if (u >= 18.5f && u <= 21 && v >= 12 && v <= 31)
        return true;  // stems
    if (u >= 32.5f && u <= 35 && v >= 9 && v <= 28)
        return true;
    float beam_top = 12 - (u - 18.5f) * 3.0f / 16.5f;  // slanted beam
    return u >= 18.5f && u <= 35 && v >= beam_top && v <= beam_top + 4.5f;
}

bool speaker(float u, float v) {
    if (u >= 9 && u <= 15 && v >= 18 && v <= 26)
        return true;
    if (u >= 15 && u <= 22) {
        float half = 4 + (u - 15) * 6 / 7;
        if (std::fabs(v - 22) <= half)
            return true;
    }
    float angle = std::atan2(v - 22, u - 22);
    if (std::fabs(angle) > 0.8f)
        return false;
    return ring(u, v, 22, 22, 8.5f, 2.6f) || ring(u, v, 22, 22, 14.0f, 2.6f);
}

bool power(float u, float v) {
    float angle = std::atan2(u - 22, -(v - 24));  // 0 straight up
    if (ring(u, v, 22, 24, 11, 3.6f) && std::fabs(angle) > 0.62f)
        return true;
    return u >= 20.2f && u <= 23.8f && v >= 8 && v <= 23;
}

bool bars(float u, float v) {
    return (u >= 10 && u <= 16 && v >= 26 && v <= 34) ||
           (u >= 19 && u <= 25 && v >= 19 && v <= 34) || (u >= 28 && u <= 34 && v >= 11 && v <= 34);
}

bool well_walls(float u, float v) {
    bool outer = u >= 10 && u <= 34 && v >= 8 && v <= 35;
    bool hollow = u > 13.5f && u < 30.5f && v < 31.5f;
    return outer && !hollow;
}

template <class Inside>
void icon(Canvas& c, int x, int y, Rgb colour, Inside inside) {
    auto local = [&](float dx, float dy) {
        return [=](float fx, float fy) { return inside(fx - x - dx, fy - y - dy); };
    };
    fill_shape(c, x, y, x + BUTTON_SIZE, y + BUTTON_SIZE, Rgb{6, 6, 14}, local(1.5f, 1.5f));
    fill_shape(c, x, y, x + BUTTON_SIZE, y + BUTTON_SIZE, colour, local(0, 0));
}

void small_block(Canvas& c, int x, int y, int image, bool lit) {
    Rgb base = piece_colour(image);
    draw_piece_block(c, x, y, 8, lit ? base : dimmed(base));
}

}  // namespace

void draw_menu_button(Canvas& c, int x, int y, int item, bool lit) {
    if (lit)
        raised_plate(c, x, y, BUTTON_SIZE, BUTTON_SIZE, Rgb{150, 162, 214}, Rgb{62, 68, 116}, 3);
    else
        raised_plate(c, x, y, BUTTON_SIZE, BUTTON_SIZE, Rgb{58, 60, 90}, Rgb{30, 30, 52}, 3);
    const Rgb col = lit ? ICON_COLOURS[item] : dimmed(ICON_COLOURS[item]);
    switch (item) {
        case 0:
            icon(c, x, y, col, play_triangle);
            break;
        case 1:
            icon(c, x, y, col, well_walls);
            small_block(c, x + 14, y + 23, 1, lit);
            small_block(c, x + 22, y + 23, 4, lit);
            small_block(c, x + 22, y + 15, 4, lit);
            break;
        case 2:
            small_block(c, x + 10, y + 10, 6, lit);
            small_block(c, x + 18, y + 10, 6, lit);
            small_block(c, x + 26, y + 10, 6, lit);
            small_block(c, x + 18, y + 18, 6, lit);
            small_block(c, x + 12, y + 26, 2, lit);
            small_block(c, x + 20, y + 26, 11, lit);
            small_block(c, x + 28, y + 26, 11, lit);
            break;
        case 3:
            icon(c, x, y, col, bars);
            break;
        case 4:
            icon(c, x, y, col, music_note);
            break;
        case 5:
            icon(c, x, y, col, speaker);
            break;
        default:
            icon(c, x, y, col, power);
            break;
    }
}

Canvas make_button_sheet() {
    Canvas sheet(BUTTON_SHEET_WIDTH, BUTTON_SHEET_HEIGHT);
    for (int item = 0; item < MENU_ITEMS; ++item)
        draw_menu_button(sheet, (item % 4) * (BUTTON_SIZE + 1) + 1,
                         (item / 4) * (BUTTON_SIZE + 1) + 1, item, true);
    return sheet;
}
