#include "app_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/bmp_file.h"
#include "support/voc_file.h"

namespace {

struct PictureKind {
    const char* file;
    int width;
    int rows;
    uint8_t fill;
    int cell;  // sheets: cells of cell x cell pixels behind one-pixel frames of 0
    int columns;
    int cells;
    uint8_t first_cell;
};

const PictureKind PICTURES[APP_PICTURE_COUNT] = {
    {"CSSPL8.BMP", 640, 480, APP_TITLE_PIXEL, 0, 0, 0, 0},
    {"lv1BLK8.BMP", 136, 68, 0, 16, 8, 32, APP_BLOCK_PIXEL},
    {"lv1DS8.BMP", 640, 480, APP_BACKGROUND_PIXEL, 0, 0, 0, 0},
    {"CSCON8.BMP", 640, 480, APP_MENU_PIXEL, 0, 0, 0, 0},
    {"XCNBUT8.BMP", 184, 91, 0, 44, 4, 7, APP_BUTTON_PIXEL},
    {"CSTRAIL8.BMP", 640, 480, APP_CLOSING_PIXEL, 0, 0, 0, 0},
};

BmpColour Colour_Of(AppPicture picture, int index) {
    const uint8_t i = uint8_t(index);
    const uint8_t j = uint8_t(255 - index);
    switch (picture) {
        case AppPicture::Title:
            return {250, i, 0};
        case AppPicture::Blocks:
            return {0, 0, i};
        case AppPicture::Background:
            return index == APP_BACKGROUND_RED ? BmpColour{255, 0, 0} : BmpColour{i, j, 128};
        case AppPicture::Menu:
            return {i, i, j};
        case AppPicture::Buttons:
            return {1, 2, i};
        case AppPicture::Closing:
            break;
    }
    return {128, i, j};
}

// Walls at both sides; see the header for what each layout holds.
std::string Layout_Text(int number) {
    std::string text;
    for (int row = 0; row < 25; ++row) {
        if (number == 2 && row > 3) {
            text += std::string(18, '3') + "\n";
        } else {
            text += row == APP_LAYOUT_GAP_ROW && number == 1 ? "1333333....3333331\n"
                                                             : "1" + std::string(16, '.') + "1\n";
        }
    }
    return text + std::string(18, '2') + "\n";
}

}  // namespace

bool app_palette_is(const platform::PaletteEntry* palette, AppPicture picture) {
    for (int i = 0; i < 256; ++i) {
        const BmpColour colour = Colour_Of(picture, i);
        if (palette[i].peRed != colour.red || palette[i].peGreen != colour.green ||
            palette[i].peBlue != colour.blue || palette[i].peFlags != platform::PC_NOCOLLAPSE) {
            return false;
        }
    }
    return true;
}

bool app_write_picture(const std::string& dir, AppPicture picture) {
    const PictureKind& kind = PICTURES[int(picture)];
    BmpLayout layout;
    layout.width = kind.width;
    layout.rows = kind.rows;
    std::vector<uint8_t> pixels(size_t(kind.width) * size_t(kind.rows), kind.fill);
    for (int i = 0; i < kind.cells; ++i) {
        const int left = (i % kind.columns) * (kind.cell + 1) + 1;
        const int top = (i / kind.columns) * (kind.cell + 1) + 1;
        for (int y = top; y < top + kind.cell; ++y) {
            for (int x = left; x < left + kind.cell; ++x) {
                pixels[size_t(y) * size_t(kind.width) + size_t(x)] = uint8_t(kind.first_cell + i);
            }
        }
    }
    std::vector<uint8_t> bytes = make_bmp_bytes(layout, pixels);
    const size_t table = 14 + bytes[14];  // after both headers
    for (int i = 0; i < 256; ++i) {       // the picture's own colours, blue first
        const BmpColour colour = Colour_Of(picture, i);
        uint8_t* entry = &bytes[table + 4 * size_t(i)];
        entry[0] = colour.blue;
        entry[1] = colour.green;
        entry[2] = colour.red;
    }
    return write_bmp_bytes(dir + "/" + kind.file, bytes);
}

std::string app_scratch_root(int pid) {
    const char* base = std::getenv("TMPDIR");
    return std::string(base != nullptr ? base : "/tmp") + "/cellstorm-app-" + std::to_string(pid);
}

std::string app_make_data_dir(const AppDataSet& set) {
    const std::string root = app_scratch_root(getpid());
    mkdir(root.c_str(), 0700);
    std::string dir = root + "/data-XXXXXX";
    if (mkdtemp(dir.data()) == nullptr) {
        return "";
    }
    for (int p = 0; p < APP_PICTURE_COUNT; ++p) {
        if (set.pictures[p]) {
            app_write_picture(dir, AppPicture(p));
        }
    }
    write_game_sound_files(dir, 1103);  // a tenth of a second each
    for (int number = 1; number <= 16; ++number) {
        std::ofstream(dir + "/playf" + std::to_string(number) + ".xpf") << Layout_Text(number);
    }
    return dir;
}
