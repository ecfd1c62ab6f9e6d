// cellstorm_asset_maker OUTPUT_DIR FONT_DIR [ICON_DIR]: paints every picture and plays every
// sound of the game into OUTPUT_DIR, and the desktop's icons (cellstorm-SIZE.png) into ICON_DIR.
// The same bytes come out on every run.
#include <cstdio>
#include <exception>
#include <string>

#include "file_formats.h"
#include "icon.h"
#include "pictures.h"
#include "sounds.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR FONT_DIR [ICON_DIR]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    try {
        Fonts fonts(argv[2]);
        std::vector<Picture> pictures = make_play_pictures(fonts);
        for (Picture& p : make_menu_pictures(fonts))
            pictures.push_back(std::move(p));
        pictures.push_back(make_title_picture(fonts));
        pictures.push_back(make_closing_picture(fonts));
        for (const Picture& p : pictures)
            write_file(out + "/" + p.name, encode_bmp(p.image));
        for (const Sound& s : make_sounds())
            write_file(out + "/" + s.name, encode_voc(s.samples));
        write_icons(fonts, out, argc == 4 ? argv[3] : "");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "asset maker: %s\n", e.what());
        return 1;
    }
    return 0;
}
