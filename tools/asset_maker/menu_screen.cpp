// The main menu: the items' names beside their button sockets, and slots for the values.
#include <algorithm>
#include <string>

#include "buttons.h"
#include "logo.h"
#include "pictures.h"
#include "widgets.h"

namespace {

struct MenuRow {
    const char* name;
    int button_x, button_y;
    int value_x, value_y;  // 0: the item shows no value
    const char* widest;    // the longest value the game writes there
};

const MenuRow ROWS[MENU_ITEMS] = {
    {"NEW GAME", 99, 112, 0, 0, ""},
    {"PLAYFIELD", 99, 158, 422, 173, "(16)"},
    {"GAME TYPE", 99, 205, 448, 220, "(Dorodo Veraviva!)"},
    {"LEVEL", 98, 252, 318, 268, "(10)"},
    {"MUSIC VOLUME", 98, 298, 546, 316, "(100%)"},
    {"EFFECTS VOLUME", 98, 347, 562, 364, "(100%)"},
    {"QUIT", 98, 393, 0, 0, ""},
};

const Rgb NAME{236, 226, 255};
const Rgb NAME_SHADOW{8, 4, 20};
const Rgb SLOT{10, 6, 18};

void backdrop(Canvas& c) {
    c.gradient_rect(0, 0, 640, 480, Rgb{40, 20, 70}, Rgb{8, 8, 30});
    c.diagonal_bands(480, Rgb{90, 60, 140}, 0.10f);
}

void row(Canvas& c, Fonts& f, const MenuRow& r, int item) {
    draw_menu_button(c, r.button_x, r.button_y, item, false);

    Mask name = f.bold.render(r.name, 19, false);
    const int centre_y = r.button_y + 22;
    const int name_x = 162, name_y = centre_y - name.baseline + 7;
    paint(c, name, name_x + 2, name_y + 2, NAME_SHADOW);
    paint(c, name, name_x, name_y, NAME);
    if (!r.value_x)
        return;

    // The game writes the value 16 px high with its top at value_y; the slot frames it.
    // Sized for the widest value at a generous 16 px em, whatever size the game's text is.
    Mask widest = f.bold.render(r.widest, 16, true);
    const int slot_x = r.value_x - 8;
    const int slot_w = std::min(628, r.value_x + widest.width + 12) - slot_x;
    sunken_box(c, slot_x, r.value_y - 5, slot_w, 27, SLOT, 2);
    // A dotted leader joins the name to its slot.
    const int dots_from = name_x + ink_width(name) + 10;
    for (int x = dots_from; x < slot_x - 6; x += 6) {
        c.fill_rect(x, centre_y + 2, 2, 2, Rgb{150, 120, 200});
        c.set(x + 2, centre_y + 4, Rgb{20, 10, 30});
    }
}

}  // namespace

std::vector<int> menu_glow_levels() {
    std::vector<int> levels;
    for (int v = 68; v <= 248; v += 10)
        levels.push_back(v);
    return levels;
}

Rgb menu_glow_colour(int v) {
    return Rgb{uint8_t(int(v * 0.95)), uint8_t(int(v * 0.5)), uint8_t(v)};
}

std::vector<Picture> make_menu_pictures(Fonts& fonts) {
    Canvas screen(640, 480);
    backdrop(screen);
    draw_chrome_text(screen, fonts.bold, "CELLSTORM", 60, 2, 320, 10, storm_chrome());
    raised_plate(screen, 64, 100, 572, 350, Rgb{70, 60, 120}, Rgb{30, 26, 60}, 4);
    // One recessed rack holds the unlit buttons; the game lights the chosen one over it.
    sunken_box(screen, 92, 106, 58, 338, SLOT, 3);
    for (int i = 0; i < MENU_ITEMS; ++i)
        row(screen, fonts, ROWS[i], i);
    screw(screen, 72, 108);
    screw(screen, 627, 108);
    screw(screen, 72, 441);
    screw(screen, 627, 441);
    label(screen, fonts.bold,
          "UP/DOWN  CHOOSE     LEFT/RIGHT  CHANGE     ENTER  SELECT     ESC  RESUME", 12, 56, 458,
          Rgb{190, 180, 230}, NAME_SHADOW);

    Canvas buttons = make_button_sheet();
    PaletteBuilder builder;
    // The game writes the values in the entry nearest to the glow; exact entries keep it true.
    for (int v : menu_glow_levels())
        builder.add(menu_glow_colour(v));
    // The ends of the full range too, so any glow from 64 to 255 finds a close entry.
    builder.add(menu_glow_colour(64));
    builder.add(menu_glow_colour(255));
    builder.sample(buttons, 8);
    builder.sample(screen);
    Palette palette = builder.build();
    return {Picture{"CSCON8.BMP", quantise(screen, palette)},
            Picture{"XCNBUT8.BMP", quantise(buttons, palette)}};
}
