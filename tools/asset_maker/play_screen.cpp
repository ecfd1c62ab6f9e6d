// The play screen: a framed dark well on the left, the counters' panel on the right, and a
// black strip along the bottom where the game writes its banner and, when paused, its red
// pause text at (448, 432).
#include <algorithm>
#include <string>

#include "blocks.h"
#include "logo.h"
#include "pictures.h"
#include "widgets.h"

namespace {

constexpr int WELL_X = 32, WELL_Y = 16, WELL_W = 288, WELL_H = 416;
const Rgb LABEL{214, 226, 255};
const Rgb LABEL_SHADOW{6, 6, 16};
const Rgb LCD{0, 16, 0};
const Rgb KEY_FACE_TOP{226, 228, 240}, KEY_FACE_BOTTOM{160, 164, 188};
const Rgb KEY_INK{16, 16, 30};
// The strip's top edge: the pause text's box (about 130 x 16 at (448, 432)) lies wholly below
// it, with room to spare.
constexpr int STRIP_Y = 424;

void backdrop(Canvas& c) {
    c.gradient_rect(0, 0, 640, STRIP_Y, Rgb{34, 30, 70}, Rgb{14, 12, 34});
    c.diagonal_bands(STRIP_Y, Rgb{60, 56, 110}, 0.12f);
    c.fill_rect(0, STRIP_Y, 640, 480 - STRIP_Y, Rgb{0, 0, 0});
    c.fill_rect(0, STRIP_Y, 640, 1, Rgb{70, 70, 120});
    c.fill_rect(0, STRIP_Y + 1, 640, 1, Rgb{20, 20, 40});
}

// A key cap with its name, top-left at (x, y); returns its width.
int key_cap(Canvas& c, Fonts& f, const std::string& name, int x, int y) {
    Mask m = f.bold.render(name, 10, true);
    const int w = std::max(16, ink_width(m) + 8);
    raised_plate(c, x, y, w, 15, KEY_FACE_TOP, KEY_FACE_BOTTOM, 1);
    paint(c, m, x + (w - m.width) / 2, y + 8 - m.baseline + 4, KEY_INK);
    return w;
}

// What the keys do in play, one row each: caps on the left, what they do on the right.
void key_help(Canvas& c, Fonts& f) {
    sunken_box(c, 350, 312, 156, 100, Rgb{18, 18, 40}, 2);
    const Rgb words{170, 180, 220};
    const struct {
        const char* caps[2];
        const char* action;
    } rows[] = {{{"A", "S"}, "TURN"},
                {{"DOWN", nullptr}, "DROP"},
                {{"UP", nullptr}, "SLOW"},
                {{"P", nullptr}, "PAUSE"},
                {{"ESC", nullptr}, "MENU"}};
    for (int i = 0; i < 5; ++i) {
        const int y = 318 + 18 * i;
        int x = 358 + key_cap(c, f, rows[i].caps[0], 358, y);
        if (rows[i].caps[1] != nullptr) {
            label(c, f.bold, "/", 11, x + 3, y + 1, words, LABEL_SHADOW);
            key_cap(c, f, rows[i].caps[1], x + 13, y);
        }
        label(c, f.bold, rows[i].action, 11, 420, y + 1, words, LABEL_SHADOW);
    }
}

void well(Canvas& c) {
    raised_plate(c, WELL_X - 12, WELL_Y - 12, WELL_W + 24, WELL_H + 24, Rgb{120, 130, 170},
                 Rgb{60, 66, 100}, 4);
    sunken_box(c, WELL_X - 3, WELL_Y - 3, WELL_W + 6, WELL_H + 6, Rgb{8, 10, 22}, 3);
    c.gradient_rect(WELL_X, WELL_Y, WELL_W, WELL_H, Rgb{6, 8, 20}, Rgb{12, 14, 32});
    // Faint grid along the cell borders: a guide for the eye, nothing that reads as a block.
    for (int row = 0; row < 26; ++row)
        for (int col = 0; col < 18; ++col) {
            int x = WELL_X + col * 16, y = WELL_Y + row * 16;
            for (int k = 0; k < 16; ++k) {
                c.blend(x + 15, y + k, Rgb{40, 46, 90}, 0.35f);
                c.blend(x + k, y + 15, Rgb{40, 46, 90}, 0.35f);
            }
        }
    screw(c, WELL_X - 7, WELL_Y - 7);
    screw(c, WELL_X + WELL_W + 6, WELL_Y - 7);
    screw(c, WELL_X - 7, WELL_Y + WELL_H + 6);
    screw(c, WELL_X + WELL_W + 6, WELL_Y + WELL_H + 6);
}

// A recessed readout where the game writes a number at (text_x, text_y).
void readout(Canvas& c, int text_x, int text_y, int right) {
    sunken_box(c, text_x - 8, text_y - 5, right - (text_x - 8), 27, LCD, 2);
}

void panel(Canvas& c, Fonts& f) {
    raised_plate(c, 338, 4, 298, 416, Rgb{88, 96, 140}, Rgb{44, 48, 82}, 4);
    sunken_box(c, 348, 12, 278, 46, Rgb{10, 10, 26}, 2);
    ChromeStyle logo = storm_chrome();
    logo.bevel = 3;
    logo.rim_width = 2;
    logo.shadow_offset = 2;
    draw_chrome_text(c, f.bold, "CELLSTORM", 34, 0, 487, 14, logo);

    // Label caps sit level with the game's digits, which it draws 16 px high from the top.
    auto caption = [&](const std::string& s, int x, int y, int em = 15) {
        label(c, f.bold, s, em, x, y, LABEL, LABEL_SHADOW);
    };
    caption("SCORE", 352, 80);
    readout(c, 432, 80, 622);
    caption("LEVEL", 352, 150);
    readout(c, 430, 150, 500);

    // Column heads over the three tallies, centred on their readouts.
    const int tally_left[3] = {430, 504, 572}, tally_right[3] = {500, 568, 626};
    const char* heads[3] = {"3-ROW", "4-ROW", "6-ROW"};
    for (int i = 0; i < 3; ++i) {
        Mask m = f.bold.render(heads[i], 11, true);
        int x = (tally_left[i] + tally_right[i]) / 2 - m.width / 2;
        paint(c, m, x + 1, 189, LABEL_SHADOW);
        paint(c, m, x, 188, LABEL);
    }
    caption("CLEARS", 352, 214);
    readout(c, 438, 214, tally_right[0]);
    readout(c, 512, 214, tally_right[1]);
    readout(c, 580, 214, tally_right[2]);

    caption("LINES", 352, 280);
    readout(c, 420, 280, 502);

    raised_plate(c, 516, 292, 92, 92, Rgb{120, 130, 170}, Rgb{60, 66, 100}, 3);
    sunken_box(c, 522, 298, 80, 80, Rgb{8, 10, 22}, 2);
    c.fill_rect(530, 304, 64, 64, Rgb{8, 10, 22});
    Mask next = f.bold.render("NEXT", 15, true);
    caption("NEXT", 562 - ink_width(next) / 2, 390);

    key_help(c, f);
    screw(c, 344, 10);
    screw(c, 629, 10);
    screw(c, 344, 413);
    screw(c, 629, 413);
}

}  // namespace

std::vector<Picture> make_play_pictures(Fonts& fonts) {
    Canvas sheet = make_block_sheet();
    Canvas screen(640, 480);
    backdrop(screen);
    well(screen);
    panel(screen, fonts);
    for (int i = 0; i < 4; ++i)
        screw(screen, 10, 30 + i * 120);

    PaletteBuilder builder;
    const Rgb sparkle[6] = {Rgb{255, 255, 255}, Rgb{255, 250, 120}, Rgb{140, 255, 255},
                            Rgb{190, 210, 255}, Rgb{255, 200, 80},  Rgb{255, 150, 255}};
    for (int i = 0; i < 6; ++i)
        builder.fix(SPARKLE_INDICES[i], sparkle[i]);
    // The banner pulses through (0, g, 0) in steps of 2; the counters are pure green.
    for (int g = 2; g <= 102; g += 2)
        builder.add(Rgb{0, uint8_t(g), 0});
    builder.add(Rgb{0, 255, 0});
    builder.add(Rgb{255, 0, 0});  // the pause text
    for (Rgb p : sheet.pixels)
        builder.add(p);
    builder.sample(screen);
    Palette palette = builder.build();
    return {Picture{"lv1BLK8.BMP", quantise(sheet, palette)},
            Picture{"lv1DS8.BMP", quantise(screen, palette)}};
}
