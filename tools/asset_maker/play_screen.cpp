// The play screen: a framed dark well on the left, the counters' panel on the right.
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

void backdrop(Canvas& c) {
    c.gradient_rect(0, 0, 640, 452, Rgb{34, 30, 70}, Rgb{14, 12, 34});
    c.diagonal_bands(452, Rgb{60, 56, 110}, 0.12f);
    c.fill_rect(0, 452, 640, 28, Rgb{0, 0, 0});
    c.fill_rect(0, 452, 640, 1, Rgb{70, 70, 120});
    c.fill_rect(0, 453, 640, 1, Rgb{20, 20, 40});
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
    raised_plate(c, 338, 4, 298, 442, Rgb{88, 96, 140}, Rgb{44, 48, 82}, 4);
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

    caption("NEXT", 460, 328);
    raised_plate(c, 516, 292, 92, 92, Rgb{120, 130, 170}, Rgb{60, 66, 100}, 3);
    sunken_box(c, 522, 298, 80, 80, Rgb{8, 10, 22}, 2);
    c.fill_rect(530, 304, 64, 64, Rgb{8, 10, 22});

    sunken_box(c, 348, 396, 278, 40, Rgb{18, 18, 40}, 2);
    label(c, f.bold, "P  PAUSE", 13, 362, 402, Rgb{170, 180, 220}, LABEL_SHADOW);
    label(c, f.bold, "ESC  MENU", 13, 362, 418, Rgb{170, 180, 220}, LABEL_SHADOW);
    for (int i = 0; i < 4; ++i)
        draw_piece_block(c, 520 + i * 22, 408, 14, piece_colour(1 + i * 3));
    screw(c, 344, 10);
    screw(c, 629, 10);
    screw(c, 344, 439);
    screw(c, 629, 439);
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
    for (Rgb p : sheet.pixels)
        builder.add(p);
    builder.sample(screen);
    Palette palette = builder.build();
    return {Picture{"lv1BLK8.BMP", quantise(sheet, palette)},
            Picture{"lv1DS8.BMP", quantise(screen, palette)}};
}
