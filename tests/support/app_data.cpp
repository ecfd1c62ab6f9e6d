#include "app_data.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "support/voc_file.h"

namespace {

constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;
constexpr int BLOCK = 16;
constexpr int BUTTON = 44;
constexpr int SHEET_BLOCKS_W = 8 * (BLOCK + 1);  // a one-pixel gutter before every cell
constexpr int SHEET_BLOCKS_H = 4 * (BLOCK + 1);  // 68
constexpr int SHEET_BUTTONS_W = 184;             // 4 cells of 45, rounded up to 4 bytes
constexpr int SHEET_BUTTONS_H = 2 * (BUTTON + 1) + 1;

struct PictureShape {
    int width;
    int height;
};

PictureShape Shape_Of(AppPicture picture) {
    switch (picture) {
        case AppPicture::Blocks:
            return {SHEET_BLOCKS_W, SHEET_BLOCKS_H};
        case AppPicture::Buttons:
            return {SHEET_BUTTONS_W, SHEET_BUTTONS_H};
        default:
            return {SCREEN_W, SCREEN_H};
    }
}

// Fills the cells of a sheet with first + cell number, leaving the one-pixel frames at 0.
void Fill_Cells(std::vector<uint8_t>& pixels, int width, int cell, int columns, int count,
                uint8_t first) {
    for (int i = 0; i < count; ++i) {
        const int left = (i % columns) * (cell + 1) + 1;
        const int top = (i / columns) * (cell + 1) + 1;
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                pixels[size_t(top + y) * size_t(width) + size_t(left + x)] = uint8_t(first + i);
            }
        }
    }
}

std::vector<uint8_t> Pixels_Of(AppPicture picture) {
    const PictureShape shape = Shape_Of(picture);
    std::vector<uint8_t> pixels(size_t(shape.width) * size_t(shape.height), 0);
    switch (picture) {
        case AppPicture::Title:
            std::fill(pixels.begin(), pixels.end(), APP_TITLE_PIXEL);
            break;
        case AppPicture::Background:
            std::fill(pixels.begin(), pixels.end(), APP_BACKGROUND_PIXEL);
            break;
        case AppPicture::Menu:
            std::fill(pixels.begin(), pixels.end(), APP_MENU_PIXEL);
            break;
        case AppPicture::Closing:
            std::fill(pixels.begin(), pixels.end(), APP_CLOSING_PIXEL);
            break;
        case AppPicture::Blocks:
            Fill_Cells(pixels, shape.width, BLOCK, 8, 32, APP_BLOCK_PIXEL);
            break;
        case AppPicture::Buttons:
            Fill_Cells(pixels, shape.width, BUTTON, 4, 7, APP_BUTTON_PIXEL);
            break;
    }
    return pixels;
}

bool Write_Bytes(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool Write_Bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return Write_Bytes(path, std::string(bytes.begin(), bytes.end()));
}

// Little-endian, `size` bytes.
void Put(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(uint8_t(value >> (8 * i)));
    }
}

// One row of a layout: walls '1' at both sides, `inside` for columns 1..16.
std::string Layout_Row(char inside) {
    return "1" + std::string(16, inside) + "1\n";
}

std::string Layout_Text(int number) {
    std::string text;
    for (int row = 0; row < 25; ++row) {
        if (number == 2 && row > 3) {
            text += std::string(18, '3') + "\n";
        } else if (number == 1 && row == APP_LAYOUT_GAP_ROW) {
            text += "1333333....3333331\n";
        } else {
            text += Layout_Row('.');
        }
    }
    return text + std::string(18, '2') + "\n";
}

}  // namespace

const char* app_picture_file(AppPicture picture) {
    switch (picture) {
        case AppPicture::Title:
            return "CSSPL8.BMP";
        case AppPicture::Blocks:
            return "lv1BLK8.BMP";
        case AppPicture::Background:
            return "lv1DS8.BMP";
        case AppPicture::Menu:
            return "CSCON8.BMP";
        case AppPicture::Buttons:
            return "XCNBUT8.BMP";
        case AppPicture::Closing:
            return "CSTRAIL8.BMP";
    }
    return "";
}

AppRgb app_picture_colour(AppPicture picture, int index) {
    const uint8_t i = uint8_t(index);
    switch (picture) {
        case AppPicture::Title:
            return {250, i, 0};
        case AppPicture::Blocks:
            return {0, 0, i};
        case AppPicture::Background:
            if (index == APP_BACKGROUND_RED) {
                return {255, 0, 0};
            }
            if (index == APP_BACKGROUND_GREEN) {
                return {0, 255, 0};
            }
            return {i, uint8_t(255 - i), 128};
        case AppPicture::Menu:
            return {i, i, uint8_t(255 - i)};
        case AppPicture::Buttons:
            return {1, 2, i};
        case AppPicture::Closing:
            return {128, i, uint8_t(255 - i)};
    }
    return {0, 0, 0};
}

void app_fill_palette(AppPicture picture, platform::PaletteEntry* palette) {
    for (int i = 0; i < 256; ++i) {
        const AppRgb colour = app_picture_colour(picture, i);
        palette[i] = {colour.red, colour.green, colour.blue, platform::PC_NOCOLLAPSE};
    }
}

bool app_palette_is(const platform::PaletteEntry* palette, AppPicture picture) {
    for (int i = 0; i < 256; ++i) {
        const AppRgb colour = app_picture_colour(picture, i);
        if (palette[i].peRed != colour.red || palette[i].peGreen != colour.green ||
            palette[i].peBlue != colour.blue || palette[i].peFlags != platform::PC_NOCOLLAPSE) {
            return false;
        }
    }
    return true;
}

bool app_write_picture(const std::string& dir, AppPicture picture) {
    const PictureShape shape = Shape_Of(picture);
    const std::vector<uint8_t> pixels = Pixels_Of(picture);
    // The standard layout: both headers, 256 colours, rows bottom-up padded to four bytes.
    const uint32_t stride = (uint32_t(shape.width) + 3) & ~3u;
    const uint32_t image_size = stride * uint32_t(shape.height);
    const uint32_t off_bits = 54 + 256 * 4;
    std::vector<uint8_t> bytes;
    Put(bytes, 0x4D42, 2);
    Put(bytes, off_bits + image_size, 4);
    Put(bytes, 0, 4);
    Put(bytes, off_bits, 4);
    Put(bytes, 40, 4);
    Put(bytes, uint32_t(shape.width), 4);
    Put(bytes, uint32_t(shape.height), 4);
    Put(bytes, 1, 2);
    Put(bytes, 8, 2);
    Put(bytes, 0, 4);
    Put(bytes, image_size, 4);
    Put(bytes, 2835, 4);
    Put(bytes, 2835, 4);
    Put(bytes, 256, 4);
    Put(bytes, 0, 4);
    for (int i = 0; i < 256; ++i) {
        const AppRgb colour = app_picture_colour(picture, i);
        bytes.insert(bytes.end(), {colour.blue, colour.green, colour.red, 0});
    }
    for (int row = shape.height - 1; row >= 0; --row) {
        const uint8_t* line = pixels.data() + size_t(row) * size_t(shape.width);
        bytes.insert(bytes.end(), line, line + shape.width);
        bytes.insert(bytes.end(), stride - uint32_t(shape.width), 0);
    }
    return Write_Bytes(dir + "/" + app_picture_file(picture), bytes);
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
    if (set.sounds) {
        write_game_sound_files(dir, set.sound_samples);
    }
    if (set.layouts) {
        for (int number = 1; number <= 16; ++number) {
            Write_Bytes(dir + "/playf" + std::to_string(number) + ".xpf", Layout_Text(number));
        }
    }
    return dir;
}
