// The title picture (a storm of falling cells) and the closing picture (the calm after it).
#include "blocks.h"
#include "logo.h"
#include "pictures.h"
#include "storm.h"
#include "widgets.h"

namespace {

void centred(Canvas& c, Font& font, const std::string& text, int em, int y, Rgb colour,
             Rgb shadow) {
    Mask m = font.render(text, em, false);
    int x = c.width / 2 - m.width / 2;
    paint(c, m, x + 2, y + 2, shadow);
    paint(c, m, x, y, colour);
}

Picture finish(const char* name, const Canvas& art) {
    PaletteBuilder builder;
    builder.sample(art);
    return Picture{name, quantise(art, builder.build())};
}

}  // namespace

Picture make_title_picture(Fonts& fonts) {
    Canvas art(640, 480);
    sky(art, Rgb{2, 2, 12}, Rgb{26, 14, 56}, Rgb{70, 26, 84}, 0.55f);
    clouds(art, -40, 230, Rgb{36, 30, 74}, 7);
    lightning(art, 80, 0, 300, 21, 0.9f);
    lightning(art, 560, 0, 260, 34, 0.7f);
    falling_cells(art, 120, 0, 420, Rgb{30, 18, 60}, 99);
    cell_pile(art, 56, 5, false);
    draw_chrome_text(art, fonts.bold, "CELLSTORM", 82, 1, 320, 128, storm_chrome());
    centred(art, fonts.serif_bold, "A STORM OF FALLING CELLS", 22, 250, Rgb{255, 214, 120},
            Rgb{10, 4, 20});
    label(art, fonts.bold, "VERSION 1.0", 11, 554, 8, Rgb{170, 160, 220}, Rgb{0, 0, 0});
    return finish("CSSPL8.BMP", art);
}

Picture make_closing_picture(Fonts& fonts) {
    Canvas art(640, 480);
    sky(art, Rgb{14, 16, 52}, Rgb{130, 70, 120}, Rgb{255, 170, 90}, 0.5f);
    art.disc(470, 400, 70, Rgb{255, 220, 140}, 0.35f);
    art.disc(470, 400, 52, Rgb{255, 236, 170});
    clouds(art, -30, 130, Rgb{70, 56, 120}, 12);
    falling_cells(art, 60, 60, 320, Rgb{120, 80, 130}, 42, 0.6f, 20, 620);
    falling_cells(art, 16, 240, 330, Rgb{120, 80, 130}, 43, 0.6f, 200, 440);
    cell_pile(art, 96, 8, true);
    draw_chrome_text(art, fonts.bold, "CELLSTORM", 44, 1, 320, 28, storm_chrome());
    draw_chrome_text(art, fonts.bold, "THANKS FOR PLAYING!", 46, 0, 320, 128, gold_chrome());
    centred(art, fonts.serif_bold, "The storm has passed.", 24, 210, Rgb{255, 244, 220},
            Rgb{40, 16, 40});
    centred(art, fonts.bold, "PRESS ENTER", 14, 290, Rgb{255, 240, 200}, Rgb{60, 24, 40});
    return finish("CSTRAIL8.BMP", art);
}
